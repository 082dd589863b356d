#include "sharedcurvedescriptors.h"

const CurveDescriptor& shakerSpeedCurveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on speed"),
        QStringLiteral("Speed (km/h)"), QStringLiteral("Strength (%)"),
        0.0f, 500.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}

const CurveDescriptor& descendSpeedCurveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on descend speed"),
        QStringLiteral("Descend speed (m/s)"), QStringLiteral("Strength (%)"),
        0.0f, 10.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
