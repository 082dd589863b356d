#pragma once

#include "jsoncompatiblesettings.h"

// The overall strength of an effect in percent (JSON "total_effect_strength").
class TotalEffectStrengthSettingsAddon : public JsonCompatibleSettings
{
public:
    int total_effect_strength = 0;

    void reset();
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const TotalEffectStrengthSettingsAddon& other) const
    {
        return total_effect_strength == other.total_effect_strength;
    }
};
