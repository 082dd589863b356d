#include "shakerwithvariablefrequencysettings.h"

void ShakerWithVariableFrequencySettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    VariableFrequencySettingsAddon::reset();
}

void ShakerWithVariableFrequencySettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    VariableFrequencySettingsAddon::fromJson(object);
}

void ShakerWithVariableFrequencySettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    VariableFrequencySettingsAddon::toJson(object);
}
