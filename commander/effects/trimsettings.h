#pragma once

#include "effectsettingsbase.h"

// Which hardware-trim functions may act on the axis.
class TrimSettings : public EffectSettingsBase
{
public:
    bool trim_buttons_allowed = true;
    bool force_release_allowed = true;
    bool trim_reset_allowed = true;

    void setDefaults() override;
    // A flag that is missing from the object reads as false, although its default is true.
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    bool operator==(const TrimSettings& other) const
    {
        return EffectSettingsBase::operator==(other) && trim_buttons_allowed == other.trim_buttons_allowed
            && force_release_allowed == other.force_release_allowed
            && trim_reset_allowed == other.trim_reset_allowed;
    }
    bool operator!=(const TrimSettings& other) const { return !(*this == other); }

private:
    static constexpr QLatin1String jsonKey{"trim"};
};
