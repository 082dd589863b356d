#include "shakerrules.h"

#include "axisforces.h"
#include "floatnarrowing.h"
#include "responsecurve.h"
#include "rpmshakersettings.h"
#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "shakerwithfixedfrequencysettings.h"
#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "shakerwithsinglecurveandvariablefrequencysettings.h"
#include "telemetry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float fullSwing = 10.0f; // percent of full force at 100 percent strength and curve output

} // namespace

float hundredth(double percent)
{
    return narrowToFloat(percent * 0.01);
}

float variableFrequency(int baseFrequency, int maxFrequency, float ratio)
{
    // In floating point: the difference of two arbitrary ints can overflow.
    return float(double(baseFrequency) + (double(maxFrequency) - double(baseFrequency)) * ratio);
}

float curveInputRatio(float x, const ResponseCurve& curve)
{
    const float last = curve.points[ResponseCurve::pointCount - 1].in;
    if (!(last > 0.0f))
        return 0.0f;
    const float ratio = x / last;
    if (!(ratio > 0.0f))
        return 0.0f;
    return std::min(ratio, 1.0f);
}

void applySingleCurveFixedFrequencyShaker(AxisForces& forces,
                                          const ShakerWithSingleCurveAndFixedFrequencySettings& settings,
                                          OscillatorState& state, float x, quint64 tick)
{
    const float amplitude = hundredth(evaluateResponseCurve(x, settings.curve1))
        * hundredth(settings.total_effect_strength) * fullSwing;
    runShakerOscillator(forces, state, {tick, float(settings.base_frequency), amplitude});
}

void applyFixedFrequencyShaker(AxisForces& forces, const ShakerWithFixedFrequencySettings& settings,
                               OscillatorState& state, quint64 tick)
{
    const float amplitude = hundredth(settings.total_effect_strength) * fullSwing;
    runShakerOscillator(forces, state, {tick, float(settings.base_frequency), amplitude});
}

void applySingleCurveVariableFrequencyShaker(AxisForces& forces,
                                             const ShakerWithSingleCurveAndVariableFrequencySettings& settings,
                                             OscillatorState& state, float x, quint64 tick)
{
    const float frequency = variableFrequency(settings.base_frequency, settings.max_frequency,
                                              curveInputRatio(x, settings.curve1));
    const float amplitude = hundredth(evaluateResponseCurve(x, settings.curve1))
        * hundredth(settings.total_effect_strength) * fullSwing;
    runShakerOscillator(forces, state, {tick, frequency, amplitude});
}

void applyDualCurveVariableFrequencyShaker(AxisForces& forces,
                                           const ShakerWithDualCurveAndVariableFrequencySettings& settings,
                                           OscillatorState& state, float x, float y, quint64 tick)
{
    const float frequency = variableFrequency(settings.base_frequency, settings.max_frequency,
                                              curveInputRatio(x, settings.curve1));
    const float amplitude = hundredth(evaluateResponseCurve(x, settings.curve1))
        * hundredth(settings.total_effect_strength)
        * hundredth(evaluateResponseCurve(y, settings.curve2)) * fullSwing;
    runShakerOscillator(forces, state, {tick, frequency, amplitude});
}

void applyVortexStateShaker(AxisForces& forces, const ShakerWithDualCurveAndVariableFrequencySettings& settings,
                            OscillatorState& state, const Telemetry& telemetry, quint64 tick)
{
    float descent = 0.0f; // m/s, 0 to 10
    if (telemetry.verticalSpeed < -10.0f)
        descent = 10.0f;
    else if (telemetry.verticalSpeed <= 0.0f)
        descent = std::fabs(telemetry.verticalSpeed);
    const float ratio = curveInputRatio(descent, settings.curve2);

    // Steepness of the descent, m/s against km/h as the curve was drawn for.
    float angle = 0.0f;
    if (descent > 0.0f) {
        angle = telemetry.airspeed == 0.0f
            ? 90.0f
            : std::atan2(descent, std::fabs(telemetry.airspeed)) * 180.0f / 3.14f;
    }

    const float frequency = settings.frequency_mode == 1 && telemetry.shakeFrequency > 0
        ? float(telemetry.shakeFrequency)
        : variableFrequency(settings.base_frequency, settings.max_frequency, ratio);
    const float amplitude = hundredth(settings.total_effect_strength)
        * hundredth(evaluateResponseCurve(angle, settings.curve1))
        * hundredth(evaluateResponseCurve(descent, settings.curve2)) * fullSwing;
    runShakerOscillator(forces, state, {tick, frequency, amplitude});
}

void applyGenericShaker(AxisForces& forces, const ShakerWithSingleCurveAndFixedFrequencySettings& settings,
                        OscillatorState& state, const Telemetry& telemetry, quint64 tick)
{
    const float frequency = settings.frequency_mode == 1 && telemetry.shakeFrequency > 0
        ? float(telemetry.shakeFrequency)
        : float(settings.base_frequency);
    const float amplitude = hundredth(settings.total_effect_strength)
        * hundredth(evaluateResponseCurve(float(telemetry.shakeMagnitude), settings.curve1))
        * fullSwing;
    runShakerOscillator(forces, state, {tick, frequency, amplitude});
}

void applyRpmShaker(AxisForces& forces, const RPMShakerSettings& settings, OscillatorState& state,
                    float rpm, quint64 tick)
{
    const float frequency = float(double(settings.frequency_multiplier) * (double(rpm) / 60.0));
    const float amplitude = hundredth(evaluateResponseCurve(rpm, settings.curve1))
        * hundredth(settings.total_effect_strength) * fullSwing;
    runShakerOscillator(forces, state, {tick, frequency, amplitude});
}

void applyJoltShaker(AxisForces& forces, JoltState& jolt, quint64 tick)
{
    if (tick - jolt.startTick > 99)
        return;
    runShakerOscillator(forces, jolt.oscillator, {tick, jolt.frequency, fullSwing * jolt.strength});
}
