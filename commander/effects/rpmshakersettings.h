#pragma once

#include "singlecurveeffectsettings.h"
#include "frequencymultipliersettingsaddon.h"

// A shaker that follows an RPM: its curve maps RPM to strength, its frequency is RPM times the multiplier.
class RPMShakerSettings : public SingleCurveEffectSettings,
    public FrequencyMultiplierSettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const RPMShakerSettings& other) const
    {
        return SingleCurveEffectSettings::operator==(other)
            && FrequencyMultiplierSettingsAddon::operator==(other);
    }
    bool operator!=(const RPMShakerSettings& other) const { return !(*this == other); }
};
