#include "telemetrysourcekey.h"

QString telemetrySourceKey(int source)
{
    switch (source) {
    case 1:
        return QStringLiteral("DCS");
    case 2:
        return QStringLiteral("IL2 SHTURMOVIK");
    case 3:
        return QStringLiteral("MSFS");
    case 4:
        return QStringLiteral("WARTHUNDER");
    case 5:
        return QStringLiteral("CONDOR2");
    case 6:
        return QStringLiteral("XPLANE");
    default:
        return QStringLiteral("DISABLED");
    }
}
