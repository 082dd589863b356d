#include "aoashakersettings.h"

#include "defaultcurvetables.h"
#include "sharedcurvedescriptors.h"

AoAShakerSettings::AoAShakerSettings()
{
    AoAShakerSettings::setDefaults();
}

void AoAShakerSettings::setDefaults()
{
    ShakerWithDualCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To500);
    curve2.setPoints(aoaOnsetCurve0To30);
}

void AoAShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void AoAShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& AoAShakerSettings::curve1Descriptor()
{
    return shakerSpeedCurveDescriptor();
}

const CurveDescriptor& AoAShakerSettings::curve2Descriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on AoA"),
        QStringLiteral("AoA (degrees)"), QStringLiteral("Strength (%)"),
        0.0f, 30.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
