#include "propthrustspringsettings.h"

#include "defaultcurvetables.h"

PropThrustSpringSettings::PropThrustSpringSettings()
{
    PropThrustSpringSettings::setDefaults();
}

void PropThrustSpringSettings::setDefaults()
{
    SpringWithSingleCurveSettings::setDefaults();
    curve1.setPoints(identityCurve0To100);
}

void PropThrustSpringSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void PropThrustSpringSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& PropThrustSpringSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Spring strength dependency on propeller thrust"),
        QStringLiteral("Thrust (%)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
