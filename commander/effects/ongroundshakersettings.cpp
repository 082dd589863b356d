#include "ongroundshakersettings.h"

#include "defaultcurvetables.h"

OnGroundShakerSettings::OnGroundShakerSettings()
{
    OnGroundShakerSettings::setDefaults();
}

void OnGroundShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndVariableFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To250);
}

void OnGroundShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void OnGroundShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& OnGroundShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaker strength depending on ground speed"),
        QStringLiteral("Speed (km/h)"), QStringLiteral("Strength (%)"),
        0.0f, 250.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
