#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "singlecurvesettingsaddon.h"
#include "fixedfrequencysettingsaddon.h"

// A shaker of one frequency whose strength follows one curve.
class ShakerWithSingleCurveAndFixedFrequencySettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public SingleCurveSettingsAddon,
    public FixedFrequencySettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const ShakerWithSingleCurveAndFixedFrequencySettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && SingleCurveSettingsAddon::operator==(other)
            && FixedFrequencySettingsAddon::operator==(other);
    }
    bool operator!=(const ShakerWithSingleCurveAndFixedFrequencySettings& other) const { return !(*this == other); }
};
