#pragma once

#include <QtGlobal>

struct AxisForces;

// Per effect and axis; survives between force calculations. All fields start at 0.
struct OscillatorState
{
    quint64 lastTick = 0;        // ms of the previous step
    float phase = 0.0f;          // position in the cycle, 0 to 1
    float frequencyJitter = 0.0f; // relative deviation applied to the frequency
    float amplitudeJitter = 0.0f; // relative deviation applied to the amplitude
};

struct OscillatorInput
{
    quint64 tick = 0;        // ms
    float frequency = 0.0f;  // Hz
    float amplitude = 0.0f;  // percent of full force
};

// Sine of an angle in degrees from a 10-degree table with linear interpolation.
// Defined for every input; a value that is not finite gives 0.
float tableSin(float degrees);

// tableSin(phase x 360) x amplitude.
float sineWave(float phase, float amplitude);

// Advances the oscillator to input.tick and adds its sine to forces.periodic.
// A frequency or amplitude that is not finite, or a frequency not above 0,
// adds nothing and leaves the state untouched.
void runShakerOscillator(AxisForces& forces, OscillatorState& state, const OscillatorInput& input);

// The one process-wide jitter sequence: normal, mean 0, deviation 0.2, from the
// minimal standard generator. Not thread-safe; only the worker thread draws.
float drawShakerJitter();
// Restarts the sequence from seed (the program starts from seed 1).
void reseedShakerJitter(quint32 seed);
