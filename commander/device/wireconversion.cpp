#include "wireconversion.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

float nanToZero(float value)
{
    return std::isnan(value) ? 0.0f : value;
}

// Truncates toward zero into [low, high]; the bounds are compared before the cast,
// which is undefined for values that do not fit.
int saturate(float value, int low, int high)
{
    value = nanToZero(value);
    if (value >= float(high))
        return high;
    if (value <= float(low))
        return low;
    return int(value);
}

float fadeFactor(float fade)
{
    return std::clamp(nanToZero(fade), 0.0f, 1.0f);
}

constexpr int int16Min = std::numeric_limits<int16_t>::min();
constexpr int int16Max = std::numeric_limits<int16_t>::max();

}

float strengthScaled(float value, int totalEffectStrength)
{
    return nanToZero(value) * float(totalEffectStrength * 0.01);
}

int16_t toWireForce(float percent, float fade)
{
    const float held = std::clamp(nanToZero(percent), -100.0f, 100.0f);
    return int16_t(saturate(held * fadeFactor(fade) * 100.0f, -10000, 10000));
}

int16_t toWireDamper(float percent, float fade)
{
    return toWireInt16(nanToZero(percent) * fadeFactor(fade) * 100.0f);
}

int16_t toWireInt16(float value)
{
    return int16_t(saturate(value, int16Min, int16Max));
}

int16_t toWireCurvePoint(float percent)
{
    return toWireInt16(nanToZero(percent) * 100.0f);
}

int16_t toWireHardwareTrim(int trim)
{
    return int16_t(std::clamp(trim, -10000, 10000));
}

uint8_t toWireForceRelease(float percent)
{
    return uint8_t(saturate(percent, 0, 100));
}

uint8_t toWireByte(float value)
{
    return uint8_t(saturate(value, 0, 255));
}
