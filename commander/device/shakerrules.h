#pragma once

#include "shakeroscillator.h"

#include <QtGlobal>

struct AxisForces;
class Telemetry;
class ResponseCurve;
class ShakerWithFixedFrequencySettings;
class ShakerWithSingleCurveAndFixedFrequencySettings;
class ShakerWithSingleCurveAndVariableFrequencySettings;
class ShakerWithDualCurveAndVariableFrequencySettings;
class RPMShakerSettings;

// One running jolt of one kind on one axis.
struct JoltState
{
    OscillatorState oscillator;
    quint64 startTick = 0;  // ms
    float strength = 0.0f;  // fraction of the full jolt: 1.0 plays at 10 percent of full force
    float frequency = 0.0f; // Hz
};

// A percentage as a fraction: times 0.01 in double precision, narrowed to float
// (held within the float range rather than overflowing).
float hundredth(double percent);

// clamp(x / input of the curve's last point, 0, 1); 0 when that input is not above 0.
float curveInputRatio(float x, const ResponseCurve& curve);

// base + (max - base) x ratio in Hz, worked out without int overflow.
float variableFrequency(int baseFrequency, int maxFrequency, float ratio);

// The shaker rules: each works out a frequency and an amplitude from the effect's
// settings and its inputs, and steps the oscillator only when the frequency is above 0.
// Inputs are expected finite (the force calculator cleans telemetry first).

void applySingleCurveFixedFrequencyShaker(AxisForces& forces,
                                          const ShakerWithSingleCurveAndFixedFrequencySettings& settings,
                                          OscillatorState& state, float x, quint64 tick);
void applyFixedFrequencyShaker(AxisForces& forces, const ShakerWithFixedFrequencySettings& settings,
                               OscillatorState& state, quint64 tick);
void applySingleCurveVariableFrequencyShaker(AxisForces& forces,
                                             const ShakerWithSingleCurveAndVariableFrequencySettings& settings,
                                             OscillatorState& state, float x, quint64 tick);
void applyDualCurveVariableFrequencyShaker(AxisForces& forces,
                                           const ShakerWithDualCurveAndVariableFrequencySettings& settings,
                                           OscillatorState& state, float x, float y, quint64 tick);
// For VortexStateShakerSettings.
void applyVortexStateShaker(AxisForces& forces, const ShakerWithDualCurveAndVariableFrequencySettings& settings,
                            OscillatorState& state, const Telemetry& telemetry, quint64 tick);
// For GenericShakerSettings.
void applyGenericShaker(AxisForces& forces, const ShakerWithSingleCurveAndFixedFrequencySettings& settings,
                        OscillatorState& state, const Telemetry& telemetry, quint64 tick);
void applyRpmShaker(AxisForces& forces, const RPMShakerSettings& settings, OscillatorState& state,
                    float rpm, quint64 tick);
// Plays the jolt for 100 ms from its start (ticks start to start + 99).
void applyJoltShaker(AxisForces& forces, JoltState& jolt, quint64 tick);
