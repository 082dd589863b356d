#pragma once

#include "fixedfrequencysettingsaddon.h"

// Adds the frequency in Hz at the top of the input range (JSON "max_frequency").
class VariableFrequencySettingsAddon : public FixedFrequencySettingsAddon
{
public:
    int max_frequency = 40;

    void reset();
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const VariableFrequencySettingsAddon& other) const
    {
        return FixedFrequencySettingsAddon::operator==(other) && max_frequency == other.max_frequency;
    }
};
