#include "damagejoltshakersettings.h"

#include "defaultcurvetables.h"

DamageJoltShakerSettings::DamageJoltShakerSettings()
{
    DamageJoltShakerSettings::setDefaults();
}

void DamageJoltShakerSettings::setDefaults()
{
    ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults();
    curve1.setPoints(identityCurve0To100);
}

void DamageJoltShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void DamageJoltShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}

const CurveDescriptor& DamageJoltShakerSettings::curveDescriptor()
{
    static const CurveDescriptor descriptor(
        QStringLiteral("Shaking strength dependency on damage received"),
        QStringLiteral("Damage received (%)"), QStringLiteral("Strength (%)"),
        0.0f, 100.0f, 0.0f, 100.0f,
        0.0f, false, // no reference line
        0.0f, true); // first output pinned at 0
    return descriptor;
}
