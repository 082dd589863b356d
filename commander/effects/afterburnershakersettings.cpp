#include "afterburnershakersettings.h"

#include "defaultcurvetables.h"

AfterburnerShakerSettings::AfterburnerShakerSettings()
{
    AfterburnerShakerSettings::setDefaults();
}

void AfterburnerShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(easeOutCurve0To100);
}

void AfterburnerShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void AfterburnerShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& AfterburnerShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on afterburner state"),
        QStringLiteral("Afterburner (%)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
