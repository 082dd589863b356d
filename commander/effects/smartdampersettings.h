#pragma once

#include "simpleeffectsettings.h"

// The base's own damper; the worker sends both values, scaled by the strength, while active.
class SmartDamperSettings : public SimpleEffectSettings
{
public:
    float static_dampening = 0.0f;
    float dynamic_dampening = 0.0f;

    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    // This effect's member of one axis object. Unlike every other effect, a missing member only
    // switches it off and clears its strength: the two dampening values stay.
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    bool operator==(const SmartDamperSettings& other) const
    {
        return SimpleEffectSettings::operator==(other) && static_dampening == other.static_dampening
            && dynamic_dampening == other.dynamic_dampening;
    }
    bool operator!=(const SmartDamperSettings& other) const { return !(*this == other); }

private:
    static constexpr QLatin1String jsonKey{"smart_damper"};
};
