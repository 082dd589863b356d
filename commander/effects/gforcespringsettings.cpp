#include "gforcespringsettings.h"

#include "defaultcurvetables.h"

GForceSpringSettings::GForceSpringSettings()
{
    GForceSpringSettings::setDefaults();
}

void GForceSpringSettings::setDefaults()
{
    SpringWithSingleCurveSettings::setDefaults();
    curve1.setPoints(linearCurve0To10);
}

void GForceSpringSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void GForceSpringSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& GForceSpringSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Spring strength dependency on GForce"),
        QStringLiteral("GForce (g)"), QStringLiteral("Strength (%)"),
        0.0f, 10.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
