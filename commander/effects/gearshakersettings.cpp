#include "gearshakersettings.h"

#include "defaultcurvetables.h"
#include "sharedcurvedescriptors.h"

GearShakerSettings::GearShakerSettings()
{
    GearShakerSettings::setDefaults();
}

void GearShakerSettings::setDefaults()
{
    ShakerWithDualCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To500);
    curve2.setPoints(identityCurve0To100);
}

void GearShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void GearShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& GearShakerSettings::curve1Descriptor()
{
    return shakerSpeedCurveDescriptor();
}

const CurveDescriptor& GearShakerSettings::curve2Descriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on gear state"),
        QStringLiteral("Gear (%)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
