#include "landingjoltshakersettings.h"

#include "defaultcurvetables.h"
#include "sharedcurvedescriptors.h"

LandingJoltShakerSettings::LandingJoltShakerSettings()
{
    LandingJoltShakerSettings::setDefaults();
}

void LandingJoltShakerSettings::setDefaults()
{
    ShakerWithDualCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To250);
    curve2.setPoints(linearCurve0To10);
}

void LandingJoltShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void LandingJoltShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& LandingJoltShakerSettings::curve1Descriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on speed"),
        QStringLiteral("Speed (km/h)"), QStringLiteral("Strength (%)"),
        0.0f, 250.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}

const CurveDescriptor& LandingJoltShakerSettings::curve2Descriptor()
{
    return descendSpeedCurveDescriptor();
}
