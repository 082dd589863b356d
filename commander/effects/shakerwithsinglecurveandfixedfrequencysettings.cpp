#include "shakerwithsinglecurveandfixedfrequencysettings.h"

void ShakerWithSingleCurveAndFixedFrequencySettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    SingleCurveSettingsAddon::reset();
    FixedFrequencySettingsAddon::reset();
}

void ShakerWithSingleCurveAndFixedFrequencySettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    SingleCurveSettingsAddon::fromJson(object);
    FixedFrequencySettingsAddon::fromJson(object);
}

void ShakerWithSingleCurveAndFixedFrequencySettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    SingleCurveSettingsAddon::toJson(object);
    FixedFrequencySettingsAddon::toJson(object);
}
