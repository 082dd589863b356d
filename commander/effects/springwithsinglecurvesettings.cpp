#include "springwithsinglecurvesettings.h"

void SpringWithSingleCurveSettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    TotalEffectStrengthSettingsAddon::reset();
    SingleCurveSettingsAddon::reset();
    dampening_contribution = 0;
}

void SpringWithSingleCurveSettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    TotalEffectStrengthSettingsAddon::fromJson(object);
    SingleCurveSettingsAddon::fromJson(object);
    DampeningContributionSettingsAddon::fromJson(object);
}

void SpringWithSingleCurveSettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    TotalEffectStrengthSettingsAddon::toJson(object);
    SingleCurveSettingsAddon::toJson(object);
    DampeningContributionSettingsAddon::toJson(object);
}
