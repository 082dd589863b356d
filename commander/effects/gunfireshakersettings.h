#pragma once

#include "effectsettingsbase.h"
#include "shakerwithfixedfrequencysettings.h"

// The shaker of the aircraft's guns: element k shakes while gun trigger k is pulled.
class GunfireShakerSettings : public EffectSettingsBase
{
public:
    static constexpr int gunCount = 5;

    // Defaults: the effect off, all five guns on with strength 0.
    GunfireShakerSettings();

    ShakerWithFixedFrequencySettings gunfire[gunCount];

    void setDefaults() override;
    // Elements missing from "gunfire" or not objects keep their values; extra elements are ignored.
    void fromJson(const QJsonObject& object) override;
    // Always writes all five elements.
    void toJson(QJsonObject& object) const override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    bool operator==(const GunfireShakerSettings& other) const;
    bool operator!=(const GunfireShakerSettings& other) const { return !(*this == other); }

private:
    static constexpr QLatin1String jsonKey{"gunfire_shaker"};
};
