#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"

// An effect with an on/off flag and a strength.
class SimpleEffectSettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const SimpleEffectSettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other);
    }
    bool operator!=(const SimpleEffectSettings& other) const { return !(*this == other); }
};
