#include "telemetryconversion.h"

#include <cmath>
#include <limits>

float saturatingToFloat(double value)
{
    if (!std::isfinite(value))
        return 0.0f;
    constexpr double largest = std::numeric_limits<float>::max();
    if (value > largest)
        return std::numeric_limits<float>::max();
    if (value < -largest)
        return std::numeric_limits<float>::lowest();
    return static_cast<float>(value);
}

qint32 saturatingToInt32(double value)
{
    if (!std::isfinite(value))
        return 0;
    // Compare before converting: a double out of int32 range has no defined conversion.
    if (value >= 2147483648.0)
        return std::numeric_limits<qint32>::max();
    if (value <= -2147483649.0)
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(value);
}
