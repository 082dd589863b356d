#include "overspeedshakersettings.h"

#include "defaultcurvetables.h"

OverspeedShakerSettings::OverspeedShakerSettings()
{
    OverspeedShakerSettings::setDefaults();
}

void OverspeedShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(squareLawCurve0To1000);
}

void OverspeedShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void OverspeedShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& OverspeedShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaker strength depending on speed"),
        QStringLiteral("Speed (km/h)"), QStringLiteral("Strength (%)"),
        0.0f, 1000.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
