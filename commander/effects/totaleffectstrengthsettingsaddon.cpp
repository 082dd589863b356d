#include "totaleffectstrengthsettingsaddon.h"

#include "jsonreaders.h"

void TotalEffectStrengthSettingsAddon::reset()
{
    total_effect_strength = 0;
}

void TotalEffectStrengthSettingsAddon::fromJson(const QJsonObject& object)
{
    total_effect_strength = readJsonInt(object, QStringLiteral("total_effect_strength"), 0);
}

void TotalEffectStrengthSettingsAddon::toJson(QJsonObject& object) const
{
    object.insert(QStringLiteral("total_effect_strength"), total_effect_strength);
}
