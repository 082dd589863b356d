#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "variablefrequencysettingsaddon.h"

// A shaker whose frequency rises from base_frequency to max_frequency.
class ShakerWithVariableFrequencySettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public VariableFrequencySettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const ShakerWithVariableFrequencySettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && VariableFrequencySettingsAddon::operator==(other);
    }
    bool operator!=(const ShakerWithVariableFrequencySettings& other) const { return !(*this == other); }
};
