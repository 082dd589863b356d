#include "rotorshakersettings.h"

#include "defaultcurvetables.h"

RotorShakerSettings::RotorShakerSettings()
{
    RotorShakerSettings::setDefaults();
}

void RotorShakerSettings::setDefaults()
{
    RPMShakerSettings::setDefaults();
    curve1.setPoints(rotorRpmPeakCurve);
}

void RotorShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void RotorShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& RotorShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on main rotor RPM"),
        QStringLiteral("Rotor RPM (RPM)"), QStringLiteral("Strength (%)"),
        0.0f, 500.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
