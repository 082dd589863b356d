#include "shakerwithfixedfrequencysettings.h"

void ShakerWithFixedFrequencySettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    FixedFrequencySettingsAddon::reset();
}

void ShakerWithFixedFrequencySettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    FixedFrequencySettingsAddon::fromJson(object);
}

void ShakerWithFixedFrequencySettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    FixedFrequencySettingsAddon::toJson(object);
}
