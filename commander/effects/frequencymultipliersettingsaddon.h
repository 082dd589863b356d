#pragma once

#include "jsoncompatiblesettings.h"

// Shaker cycles per revolution (JSON "frequency_multiplier"). The composite sets its default.
class FrequencyMultiplierSettingsAddon : public JsonCompatibleSettings
{
public:
    int frequency_multiplier = 1;

    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const FrequencyMultiplierSettingsAddon& other) const
    {
        return frequency_multiplier == other.frequency_multiplier;
    }
};
