#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "fixedfrequencysettingsaddon.h"

// A shaker of one frequency.
class ShakerWithFixedFrequencySettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public FixedFrequencySettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const ShakerWithFixedFrequencySettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && FixedFrequencySettingsAddon::operator==(other);
    }
    bool operator!=(const ShakerWithFixedFrequencySettings& other) const { return !(*this == other); }
};
