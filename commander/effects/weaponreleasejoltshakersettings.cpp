#include "weaponreleasejoltshakersettings.h"

#include "defaultcurvetables.h"

WeaponReleaseJoltShakerSettings::WeaponReleaseJoltShakerSettings()
{
    WeaponReleaseJoltShakerSettings::setDefaults();
}

void WeaponReleaseJoltShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(linearCurve0To1000);
}

void WeaponReleaseJoltShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void WeaponReleaseJoltShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& WeaponReleaseJoltShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on released weight"),
        QStringLiteral("Released weight (kg)"), QStringLiteral("Strength (%)"),
        0.0f, 1000.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
