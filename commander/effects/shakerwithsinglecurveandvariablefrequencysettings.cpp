#include "shakerwithsinglecurveandvariablefrequencysettings.h"

void ShakerWithSingleCurveAndVariableFrequencySettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    SingleCurveSettingsAddon::reset();
    VariableFrequencySettingsAddon::reset();
}

void ShakerWithSingleCurveAndVariableFrequencySettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    SingleCurveSettingsAddon::fromJson(object);
    VariableFrequencySettingsAddon::fromJson(object);
}

void ShakerWithSingleCurveAndVariableFrequencySettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    SingleCurveSettingsAddon::toJson(object);
    VariableFrequencySettingsAddon::toJson(object);
}
