#include "vortexstateshakersettings.h"

#include "defaultcurvetables.h"
#include "sharedcurvedescriptors.h"

VortexStateShakerSettings::VortexStateShakerSettings()
{
    VortexStateShakerSettings::setDefaults();
}

void VortexStateShakerSettings::setDefaults()
{
    ShakerWithDualCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(descendAngleCurve0To90);
    curve2.setPoints(linearCurve0To10);
}

void VortexStateShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void VortexStateShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& VortexStateShakerSettings::curve1Descriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on descend angle"),
        QStringLiteral("Descend angle (degrees)"), QStringLiteral("Strength (%)"),
        0.0f, 90.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}

const CurveDescriptor& VortexStateShakerSettings::curve2Descriptor()
{
    return descendSpeedCurveDescriptor();
}
