#include "singlecurveeffectsettings.h"

void SingleCurveEffectSettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    SingleCurveSettingsAddon::reset();
}

void SingleCurveEffectSettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    SingleCurveSettingsAddon::fromJson(object);
}

void SingleCurveEffectSettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    SingleCurveSettingsAddon::toJson(object);
}
