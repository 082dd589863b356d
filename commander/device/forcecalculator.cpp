#include "forcecalculator.h"

#include "effectssettings.h"
#include "telemetry.h"

#include <cmath>

namespace {

void addSpring(AxisForces& forces, const SpringWithSingleCurveSettings& spring, float x)
{
    if (!spring.active)
        return;
    const float term = hundredth(double(spring.total_effect_strength) * evaluateResponseCurve(x, spring.curve1));
    forces.spring += term;
    forces.damper += hundredth(double(spring.dampening_contribution) * term);
}

// An event stronger than what is still playing replaces it; an equal or weaker one
// during the first 100 ms of a jolt is dropped.
void startJolt(JoltState& jolt, float strength, float frequency, quint64 tick)
{
    if (!std::isfinite(strength))
        return;
    const float running = tick - jolt.startTick < 100 ? jolt.strength : 0.0f;
    if (!(strength > running))
        return;
    jolt.strength = strength;
    jolt.startTick = tick;
    jolt.frequency = frequency;
}

// Fixed-frequency jolts are sized by their strength alone, or by their curve at the
// event's size times their strength.
float joltStrength(const ShakerWithFixedFrequencySettings& jolt, float)
{
    return hundredth(jolt.total_effect_strength);
}

float joltStrength(const ShakerWithSingleCurveAndFixedFrequencySettings& jolt, float size)
{
    return hundredth(evaluateResponseCurve(size, jolt.curve1)) * hundredth(jolt.total_effect_strength);
}

// Starts one kind of fixed-frequency jolt on every axis where it is active.
template <typename Settings>
void startJolts(JoltState (&jolts)[ForceCalculator::axisCount], const EffectsSettings* settings,
                Settings AxisEffectsSettings::*member, float size, quint64 tick)
{
    if (!settings)
        return;
    for (int i = 0; i < ForceCalculator::axisCount; ++i) {
        const Settings& jolt = settings->axes[i].*member;
        if (jolt.active)
            startJolt(jolts[i], joltStrength(jolt, size), float(jolt.base_frequency), tick);
    }
}

} // namespace

ForceCalculator::ForceCalculator(QObject* parent)
    : QObject(parent)
{
}

void ForceCalculator::startLandingJolt(const EffectsSettings* settings, float airspeed,
                                       float verticalSpeed, quint64 tick)
{
    airspeed = finiteOrZero(airspeed);
    verticalSpeed = finiteOrZero(verticalSpeed);
    if (!settings || !(airspeed > 0.0f && verticalSpeed < 0.0f))
        return;
    for (int i = 0; i < axisCount; ++i) {
        const LandingJoltShakerSettings& jolt = settings->axes[i].landingJolt;
        if (!jolt.active)
            continue;
        // The two curves alone size a touchdown; the total strength is not used.
        const float strength = 2.0f * hundredth(evaluateResponseCurve(airspeed, jolt.curve1))
            * hundredth(evaluateResponseCurve(std::fabs(verticalSpeed), jolt.curve2));
        const float frequency = variableFrequency(jolt.base_frequency, jolt.max_frequency,
                                                  curveInputRatio(airspeed, jolt.curve1));
        startJolt(m_jolts[LANDING_JOLT][i], strength, frequency, tick);
    }
}

void ForceCalculator::startWeaponReleaseJolt(const EffectsSettings* settings, float releasedWeight,
                                             quint64 tick)
{
    releasedWeight = finiteOrZero(releasedWeight);
    if (releasedWeight > 0.0f)
        startJolts(m_jolts[WEAPON_RELEASE_JOLT], settings, &AxisEffectsSettings::weaponReleaseJolt,
                   releasedWeight, tick);
}

void ForceCalculator::startDamageJolt(const EffectsSettings* settings, float damagePercent,
                                      quint64 tick)
{
    damagePercent = finiteOrZero(damagePercent);
    if (damagePercent > 0.0f)
        startJolts(m_jolts[DAMAGE_JOLT], settings, &AxisEffectsSettings::damageJolt, damagePercent, tick);
}

void ForceCalculator::startCountermeasureJolt(const EffectsSettings* settings, quint64 tick)
{
    startJolts(m_jolts[COUNTERMEASURE_JOLT], settings, &AxisEffectsSettings::countermeasuresJolt, 0.0f,
               tick);
}

void ForceCalculator::startGearExtractionJolt(const EffectsSettings* settings, quint64 tick)
{
    startJolts(m_jolts[GEAR_EXTRACTION_JOLT], settings, &AxisEffectsSettings::gearExtractionJolt, 0.0f,
               tick);
}

AxisForces ForceCalculator::calculateAxisForces(int index, quint64 tick, float position,
                                                const Telemetry* telemetry,
                                                const EffectsSettings* settings)
{
    Q_UNUSED(position)
    AxisForces forces;
    if (index < 0 || index >= axisCount || !telemetry || !settings)
        return forces;

    const AxisEffectsSettings& a = settings->axes[index];
    // NaN or infinite telemetry reads as 0, so a broken datagram cannot reach full
    // strength through a curve's last point.
    const Telemetry t = telemetry->withFiniteValues();
    const auto shaker = [this, index](ShakerKind kind) -> OscillatorState& {
        return m_shakers[kind][index];
    };

    addSpring(forces, a.airspeedSpring, t.airspeed);
    addSpring(forces, a.propThrustSpring, float(t.propAirflow));
    // Angle of attack loads the elevator only.
    addSpring(forces, a.aoaSpring, index == 1 ? std::fabs(t.aoa) : 0.0f);
    addSpring(forces, a.gForceSpring, std::fabs(t.gForce));

    if (a.elevatorWeight.active)
        forces.constant = hundredth(-2.0 * a.elevatorWeight.total_effect_strength * t.gForce);

    if (a.overspeedShaker.active)
        applySingleCurveFixedFrequencyShaker(forces, a.overspeedShaker, shaker(OVERSPEED_SHAKER), t.airspeed, tick);
    if (a.overGShaker.active)
        applySingleCurveFixedFrequencyShaker(forces, a.overGShaker, shaker(OVER_G_SHAKER), t.gForce, tick);
    if (a.afterburnerShaker.active) {
        applySingleCurveFixedFrequencyShaker(forces, a.afterburnerShaker, shaker(AFTERBURNER_SHAKER),
                                             float(t.afterburner), tick);
    }
    if (a.onGroundShaker.active && t.onGround)
        applySingleCurveVariableFrequencyShaker(forces, a.onGroundShaker, shaker(ON_GROUND_SHAKER), t.airspeed, tick);

    if (a.gunfireShaker.active) {
        // One oscillator for all guns: the first firing gun advances the phase, the
        // others add their wave at the same phase.
        for (int k = 0; k < Telemetry::gunfireTriggerCount; ++k) {
            if (t.gunfireTriggers[k])
                applyFixedFrequencyShaker(forces, a.gunfireShaker.gunfire[k], shaker(GUNFIRE_SHAKER), tick);
        }
    }

    if (a.aoaShaker.active)
        applyDualCurveVariableFrequencyShaker(forces, a.aoaShaker, shaker(AOA_SHAKER), t.airspeed, t.aoa, tick);
    if (a.gearShaker.active)
        applyDualCurveVariableFrequencyShaker(forces, a.gearShaker, shaker(GEAR_SHAKER), t.airspeed, float(t.gear), tick);
    if (a.flapsShaker.active)
        applyDualCurveVariableFrequencyShaker(forces, a.flapsShaker, shaker(FLAPS_SHAKER), t.airspeed, float(t.flaps), tick);
    if (a.airbrakeShaker.active) {
        applyDualCurveVariableFrequencyShaker(forces, a.airbrakeShaker, shaker(AIRBRAKE_SHAKER), t.airspeed,
                                              float(t.airbrake), tick);
    }

    if (a.gearExtractionJolt.active)
        applyJoltShaker(forces, m_jolts[GEAR_EXTRACTION_JOLT][index], tick);
    if (a.countermeasuresJolt.active)
        applyJoltShaker(forces, m_jolts[COUNTERMEASURE_JOLT][index], tick);
    if (a.damageJolt.active)
        applyJoltShaker(forces, m_jolts[DAMAGE_JOLT][index], tick);
    if (a.weaponReleaseJolt.active)
        applyJoltShaker(forces, m_jolts[WEAPON_RELEASE_JOLT][index], tick);
    if (a.landingJolt.active)
        applyJoltShaker(forces, m_jolts[LANDING_JOLT][index], tick);

    if (a.liftShimmyShaker.active)
        applySingleCurveFixedFrequencyShaker(forces, a.liftShimmyShaker, shaker(LIFT_SHIMMY_SHAKER), t.airspeed, tick);
    if (a.vortexStateShaker.active)
        applyVortexStateShaker(forces, a.vortexStateShaker, shaker(VORTEX_STATE_SHAKER), t, tick);
    if (a.genericShaker.active)
        applyGenericShaker(forces, a.genericShaker, shaker(GENERIC_SHAKER), t, tick);
    if (a.rotorShaker.active)
        applyRpmShaker(forces, a.rotorShaker, shaker(ROTOR_SHAKER), float(t.rotorRpm), tick);
    if (a.engineShaker.active)
        applyRpmShaker(forces, a.engineShaker, shaker(ENGINE_SHAKER), float(t.engineRpm), tick);

    // Extreme settings (strengths near the int limits, huge curve points) can still
    // overflow a float; such a component means no force rather than full force.
    forces.spring = finiteOrZero(forces.spring);
    forces.constant = finiteOrZero(forces.constant);
    forces.periodic = finiteOrZero(forces.periodic);
    forces.damper = finiteOrZero(forces.damper);
    return forces;
}
