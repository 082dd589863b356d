#include "axisforces.h"

void AxisForces::registerMetaType()
{
    qRegisterMetaType<AxisForces>("AxisForces");
}
