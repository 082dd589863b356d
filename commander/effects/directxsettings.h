#pragma once

#include "simpleeffectsettings.h"

// Passes the game's DirectX force feedback through; each part in percent, scaled by the strength.
class DirectXSettings : public SimpleEffectSettings
{
public:
    int trimmer = 0;
    int force = 0;
    int periodic = 0;

    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    bool operator==(const DirectXSettings& other) const
    {
        return SimpleEffectSettings::operator==(other) && trimmer == other.trimmer && force == other.force
            && periodic == other.periodic;
    }
    bool operator!=(const DirectXSettings& other) const { return !(*this == other); }

private:
    static constexpr QLatin1String jsonKey{"direct_x"};
};
