#include "shakerwithdualcurveandfixedfrequencysettings.h"

void ShakerWithDualCurveAndFixedFrequencySettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    DualCurveSettingsAddon::reset();
    FixedFrequencySettingsAddon::reset();
}

void ShakerWithDualCurveAndFixedFrequencySettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    DualCurveSettingsAddon::fromJson(object);
    FixedFrequencySettingsAddon::fromJson(object);
}

void ShakerWithDualCurveAndFixedFrequencySettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    DualCurveSettingsAddon::toJson(object);
    FixedFrequencySettingsAddon::toJson(object);
}
