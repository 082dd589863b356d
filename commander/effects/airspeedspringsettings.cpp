#include "airspeedspringsettings.h"

#include "defaultcurvetables.h"

AirspeedSpringSettings::AirspeedSpringSettings()
{
    AirspeedSpringSettings::setDefaults();
}

void AirspeedSpringSettings::setDefaults()
{
    SpringWithSingleCurveSettings::setDefaults();
    curve1.setPoints(squareLawCurve0To1000);
}

void AirspeedSpringSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void AirspeedSpringSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& AirspeedSpringSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Spring strength depending on speed"),
        QStringLiteral("Speed (km/h)"), QStringLiteral("Strength (%)"),
        0.0f, 1000.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
