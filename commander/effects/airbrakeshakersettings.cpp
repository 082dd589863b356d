#include "airbrakeshakersettings.h"

#include "defaultcurvetables.h"
#include "sharedcurvedescriptors.h"

AirbrakeShakerSettings::AirbrakeShakerSettings()
{
    AirbrakeShakerSettings::setDefaults();
}

void AirbrakeShakerSettings::setDefaults()
{
    ShakerWithDualCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To500);
    curve2.setPoints(identityCurve0To100);
}

void AirbrakeShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void AirbrakeShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& AirbrakeShakerSettings::curve1Descriptor()
{
    return shakerSpeedCurveDescriptor();
}

const CurveDescriptor& AirbrakeShakerSettings::curve2Descriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on airbrake state"),
        QStringLiteral("Airbrake (%)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
