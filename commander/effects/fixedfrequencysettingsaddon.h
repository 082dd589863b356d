#pragma once

#include "jsoncompatiblesettings.h"

// A shaker's frequency in Hz and its mode (0 = own frequency, 1 = the telemetry's shake
// frequency where the effect honours it).
class FixedFrequencySettingsAddon : public JsonCompatibleSettings
{
public:
    int base_frequency = 20;
    int frequency_mode = 0;

    void reset();
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const FixedFrequencySettingsAddon& other) const
    {
        return base_frequency == other.base_frequency && frequency_mode == other.frequency_mode;
    }
};
