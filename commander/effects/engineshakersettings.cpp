#include "engineshakersettings.h"

#include "defaultcurvetables.h"

EngineShakerSettings::EngineShakerSettings()
{
    EngineShakerSettings::setDefaults();
}

void EngineShakerSettings::setDefaults()
{
    RPMShakerSettings::setDefaults();
    curve1.setPoints(engineRpmPeakCurve);
}

void EngineShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void EngineShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& EngineShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on engine RPM"),
        QStringLiteral("Engine RPM (RPM)"), QStringLiteral("Strength (%)"),
        0.0f, 3000.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, false); // first output free
    return descriptor;
}
