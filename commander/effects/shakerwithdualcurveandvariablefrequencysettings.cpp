#include "shakerwithdualcurveandvariablefrequencysettings.h"

void ShakerWithDualCurveAndVariableFrequencySettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    DualCurveSettingsAddon::reset();
    VariableFrequencySettingsAddon::reset();
}

void ShakerWithDualCurveAndVariableFrequencySettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    DualCurveSettingsAddon::fromJson(object);
    VariableFrequencySettingsAddon::fromJson(object);
}

void ShakerWithDualCurveAndVariableFrequencySettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    DualCurveSettingsAddon::toJson(object);
    VariableFrequencySettingsAddon::toJson(object);
}
