#include "flapsshakersettings.h"

#include "defaultcurvetables.h"
#include "sharedcurvedescriptors.h"

FlapsShakerSettings::FlapsShakerSettings()
{
    FlapsShakerSettings::setDefaults();
}

void FlapsShakerSettings::setDefaults()
{
    ShakerWithDualCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To500);
    curve2.setPoints(identityCurve0To100);
}

void FlapsShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void FlapsShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& FlapsShakerSettings::curve1Descriptor()
{
    return shakerSpeedCurveDescriptor();
}

const CurveDescriptor& FlapsShakerSettings::curve2Descriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on flaps state"),
        QStringLiteral("Flaps (%)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
