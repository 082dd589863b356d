#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "dualcurvesettingsaddon.h"
#include "fixedfrequencysettingsaddon.h"

// A shaker of one frequency whose strength follows the product of two curves.
class ShakerWithDualCurveAndFixedFrequencySettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public DualCurveSettingsAddon,
    public FixedFrequencySettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const ShakerWithDualCurveAndFixedFrequencySettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && DualCurveSettingsAddon::operator==(other)
            && FixedFrequencySettingsAddon::operator==(other);
    }
    bool operator!=(const ShakerWithDualCurveAndFixedFrequencySettings& other) const { return !(*this == other); }
};
