#pragma once

#include "axisforces.h"
#include "shakerrules.h"

#include <QObject>

class EffectsSettings;
class Telemetry;

// Turns telemetry and the effect settings into the forces of one effect axis, and keeps
// the phase of every shaker and the timing of every jolt between calls. Lives on the
// worker thread; every slot is called there.
class ForceCalculator : public QObject
{
    Q_OBJECT

public:
    static constexpr int axisCount = 4;

    explicit ForceCalculator(QObject* parent);

public slots:
    // Ticks are the worker's monotonic milliseconds, the same clock for every slot.
    // airspeed in km/h, verticalSpeed in m/s (negative when descending).
    void startLandingJolt(const EffectsSettings* settings, float airspeed, float verticalSpeed,
                          quint64 tick);
    // releasedWeight in kg.
    void startWeaponReleaseJolt(const EffectsSettings* settings, float releasedWeight, quint64 tick);
    void startDamageJolt(const EffectsSettings* settings, float damagePercent, quint64 tick);
    void startCountermeasureJolt(const EffectsSettings* settings, quint64 tick);
    void startGearExtractionJolt(const EffectsSettings* settings, quint64 tick);

    // index is the effect axis 0 to 3 (others give no force); position is not used.
    // Allocates nothing; every component of the result is finite.
    AxisForces calculateAxisForces(int index, quint64 tick, float position, const Telemetry* telemetry,
                                   const EffectsSettings* settings);

private:
    enum JoltKind {
        LANDING_JOLT,
        WEAPON_RELEASE_JOLT,
        DAMAGE_JOLT,
        COUNTERMEASURE_JOLT,
        GEAR_EXTRACTION_JOLT,
        JOLT_KIND_COUNT
    };
    enum ShakerKind {
        OVERSPEED_SHAKER,
        OVER_G_SHAKER,
        AFTERBURNER_SHAKER,
        ON_GROUND_SHAKER,
        GUNFIRE_SHAKER, // one for all five guns
        AOA_SHAKER,
        GEAR_SHAKER,
        FLAPS_SHAKER,
        AIRBRAKE_SHAKER,
        LIFT_SHIMMY_SHAKER,
        VORTEX_STATE_SHAKER,
        GENERIC_SHAKER,
        ENGINE_SHAKER,
        ROTOR_SHAKER,
        SHAKER_KIND_COUNT
    };

    // Nothing resets these after construction: profile and source changes keep them.
    JoltState m_jolts[JOLT_KIND_COUNT][axisCount];
    OscillatorState m_shakers[SHAKER_KIND_COUNT][axisCount];
};
