#pragma once

#include "effectsprofilemetadata.h"
#include "effectssettings.h"

#include <QJsonObject>
#include <QMetaType>
#include <QObject>

// A complete force-feedback configuration: what it belongs to and the effects of all four axes.
class EffectsProfile
{
    Q_GADGET

public:
    // The effect kinds; the editor uses them as page indexes. 16 and 28 are retired but stay taken.
    enum EffectType {
        EFFECT_TYPE_SMART_DAMPER = 0,
        EFFECT_TYPE_DIRECT_X_FFB = 1,
        EFFECT_TYPE_AIRSPEED_SPRING = 2,
        EFFECT_TYPE_PROP_THRUST_SPRING = 3,
        EFFECT_TYPE_AOA_SPRING = 4,
        EFFECT_TYPE_G_FORCE_SPRING = 5,
        EFFECT_TYPE_SIMPLE_SPRING = 6,
        EFFECT_TYPE_ELEVATOR_WEIGHT = 7,
        EFFECT_TYPE_LOCAL_AOA = 8,
        EFFECT_TYPE_TURBULENCE = 9,
        EFFECT_TYPE_TRIM = 10,
        EFFECT_TYPE_OVERSPEED_SHAKER = 11,
        EFFECT_TYPE_OVERG_SHAKER = 12,
        EFFECT_TYPE_AFTERBURNER_SHAKER = 13,
        EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER = 14,
        EFFECT_TYPE_GUNFIRE_SHAKER = 15,
        _deprecated_0 = 16,
        EFFECT_TYPE_AOA_SHAKER = 17,
        EFFECT_TYPE_GEAR_SHAKER = 18,
        EFFECT_TYPE_FLAPS_SHAKER = 19,
        EFFECT_TYPE_AIRBRAKES_SHAKER = 20,
        EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER = 21,
        EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER = 22,
        EFFECT_TYPE_DAMAGE_JOLT_SHAKER = 23,
        EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER = 24,
        EFFECT_TYPE_LANDING_JOLT_SHAKER = 25,
        EFFECT_TYPE_ETL_SHAKER = 26,
        EFFECT_TYPE_VORTEX_STATE_SHAKER = 27,
        _deprecated_1 = 28,
        EFFECT_TYPE_GENERIC_SHAKER = 29,
        EFFECT_TYPE_MAIN_ROTOR_SHAKER = 30,
        EFFECT_TYPE_ENGINE_SHAKER = 31,
    };
    Q_ENUM(EffectType)

    EffectsProfileMetadata metadata;
    EffectsSettings effects;

    void setDefaults();
    // A missing or mistyped "effects" or "metadata" member gives defaults for that half.
    void fromJson(const QJsonObject& root);
    QJsonObject toJson() const;

    bool operator==(const EffectsProfile& other) const
    {
        return metadata == other.metadata && effects == other.effects;
    }
    bool operator!=(const EffectsProfile& other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(EffectsProfile)
