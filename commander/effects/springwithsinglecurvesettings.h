#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "singlecurvesettingsaddon.h"
#include "dampeningcontributionsettingsaddon.h"

// A spring whose strength follows one response curve, with part of it added as damping.
class SpringWithSingleCurveSettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public SingleCurveSettingsAddon,
    public DampeningContributionSettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const SpringWithSingleCurveSettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && SingleCurveSettingsAddon::operator==(other)
            && DampeningContributionSettingsAddon::operator==(other);
    }
    bool operator!=(const SpringWithSingleCurveSettings& other) const { return !(*this == other); }
};
