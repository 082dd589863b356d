#include "simplespringsettings.h"

#include "defaultcurvetables.h"

SimpleSpringSettings::SimpleSpringSettings()
{
    SimpleSpringSettings::setDefaults();
}

void SimpleSpringSettings::setDefaults()
{
    SpringWithSingleCurveSettings::setDefaults();
    curve1.setPoints(identityCurveMinus100To100);
}

void SimpleSpringSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void SimpleSpringSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& SimpleSpringSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Spring strength dependency on control deflection"),
        QStringLiteral("Control deflection (%)"), QStringLiteral("Strength (%)"),
        -100.0f, 100.0f, -100.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, false); // first output free
    return descriptor;
}

void SimpleSpringSettings::registerMetaType()
{
    qRegisterMetaType<SimpleSpringSettings>("SimpleSpringSettings");
}
