#include "liftshimmyshakersettings.h"

#include "defaultcurvetables.h"

LiftShimmyShakerSettings::LiftShimmyShakerSettings()
{
    LiftShimmyShakerSettings::setDefaults();
}

void LiftShimmyShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(liftPeakCurve0To100);
}

void LiftShimmyShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void LiftShimmyShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& LiftShimmyShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on speed"),
        QStringLiteral("Speed (km/h)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
