#include "aoaspringsettings.h"

#include "defaultcurvetables.h"

AoASpringSettings::AoASpringSettings()
{
    AoASpringSettings::setDefaults();
}

void AoASpringSettings::setDefaults()
{
    SpringWithSingleCurveSettings::setDefaults();
    curve1.setPoints(linearCurve0To30);
}

void AoASpringSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void AoASpringSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& AoASpringSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Spring strength dependency on AoA"),
        QStringLiteral("AoA (degrees)"), QStringLiteral("Strength (%)"),
        0.0f, 30.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
