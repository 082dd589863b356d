#include "gearlock.h"

bool isGearLockChange(qint32 previousGear, qint32 gear)
{
    const bool reachedDown = previousGear <= 99 && gear == 100;
    const bool leftUp = previousGear == 0 && gear > 0;
    const bool leftDown = previousGear == 100 && gear < 100;
    const bool reachedUp = previousGear > 0 && gear == 0;
    return reachedDown || leftUp || leftDown || reachedUp;
}
