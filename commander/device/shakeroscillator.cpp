#include "shakeroscillator.h"

#include "axisforces.h"
#include "floatnarrowing.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr int sineTableSize = 37;
// sin(0), sin(10), ... sin(360 degrees) to four decimals.
constexpr float sineTable[sineTableSize] = {
    0.0f, 0.1736f, 0.342f, 0.5f, 0.6428f, 0.766f, 0.866f, 0.9397f, 0.9848f,
    1.0f, 0.9848f, 0.9397f, 0.866f, 0.766f, 0.6428f, 0.5f, 0.342f, 0.1736f,
    0.0f, -0.1736f, -0.342f, -0.5f, -0.6428f, -0.766f, -0.866f, -0.9397f, -0.9848f,
    -1.0f, -0.9848f, -0.9397f, -0.866f, -0.766f, -0.6428f, -0.5f, -0.342f, -0.1736f,
    0.0f,
};

// Normal deviates by the polar method; each pass yields two, the second is kept
// for the next draw.
class JitterSource
{
public:
    void seed(quint32 value)
    {
        m_engine.seed(value);
        m_hasSaved = false;
    }

    float draw()
    {
        if (m_hasSaved) {
            m_hasSaved = false;
            return float(m_saved);
        }
        double u = 0.0;
        double v = 0.0;
        double s = 0.0;
        do {
            u = 2.0 * uniform() - 1.0;
            v = 2.0 * uniform() - 1.0;
            s = u * u + v * v;
        } while (s >= 1.0 || s == 0.0);
        const double scale = deviation * std::sqrt(-2.0 * std::log(s) / s);
        m_saved = v * scale;
        m_hasSaved = true;
        return float(u * scale);
    }

private:
    static constexpr double deviation = 0.2;

    // The engine gives 1 to modulus - 1, so this is strictly inside (0, 1).
    double uniform() { return double(m_engine()) / double(std::minstd_rand0::modulus); }

    std::minstd_rand0 m_engine{1};
    bool m_hasSaved = false;
    double m_saved = 0.0;
};

JitterSource jitterSource;

// A rare large negative draw must not stop a shaker or run it backwards.
double jitterFactor(float jitter)
{
    if (!std::isfinite(jitter))
        return 1.0;
    return std::max(0.1, 1.0 + double(jitter));
}

} // namespace

float tableSin(float degrees)
{
    if (!std::isfinite(degrees))
        return 0.0f;
    double w = degrees;
    if (w < 0.0 || w >= 360.0) {
        w = std::fmod(w, 360.0);
        if (w < 0.0)
            w += 360.0;
    }
    // Rounding can land a tiny negative angle on 360 exactly; stay inside the table.
    const int i = std::clamp(int(w) / 10, 0, sineTableSize - 2);
    const double fraction = std::clamp((w - 10.0 * i) / 10.0, 0.0, 1.0);
    return float(sineTable[i] + fraction * (sineTable[i + 1] - sineTable[i]));
}

float sineWave(float phase, float amplitude)
{
    return tableSin(phase * 360.0f) * amplitude;
}

void runShakerOscillator(AxisForces& forces, OscillatorState& state, const OscillatorInput& input)
{
    if (!std::isfinite(input.frequency) || input.frequency <= 0.0f || !std::isfinite(input.amplitude))
        return;
    if (!std::isfinite(state.phase) || state.phase < 0.0f || state.phase > 1.0f)
        state.phase = 0.0f;

    const double frequency = jitterFactor(state.frequencyJitter) * input.frequency;
    const double amplitude = jitterFactor(state.amplitudeJitter) * input.amplitude;
    // Whole milliseconds, at least one, kept in floating point so that any
    // frequency gives a defined step.
    const double period = std::max(1.0, std::trunc(1000.0 / frequency));
    // A gap longer than one period advances the phase by the remainder only.
    const quint64 elapsed = input.tick - state.lastTick;
    const double remainder = period < 1e18 ? double(elapsed % (quint64(period) + 1))
                                           : std::fmod(double(elapsed), period + 1.0);
    const float p = state.phase + float(remainder / period);

    state.phase = p <= 1.0f ? p : p - 1.0f;
    state.lastTick = input.tick;
    forces.periodic += sineWave(state.phase, narrowToFloat(amplitude));

    if (p >= 1.0f) {
        state.amplitudeJitter = drawShakerJitter();
        state.frequencyJitter = drawShakerJitter();
    }
}

float drawShakerJitter()
{
    return jitterSource.draw();
}

void reseedShakerJitter(quint32 seed)
{
    jitterSource.seed(seed);
}
