#include "overgshakersettings.h"

#include "defaultcurvetables.h"

OverGShakerSettings::OverGShakerSettings()
{
    OverGShakerSettings::setDefaults();
}

void OverGShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(squareLawCurve0To10);
}

void OverGShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void OverGShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& OverGShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaker strength depending on GForce"),
        QStringLiteral("GForce (G)"), QStringLiteral("Strength (%)"),
        0.0f, 10.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
