#pragma once

#include <algorithm>
#include <cmath>
#include <limits>

// A double read from a file must never become an infinite float (a cast out of range is
// undefined). NaN, which no JSON text can hold, reads as 0.
inline float narrowToFloat(double value)
{
    if (std::isnan(value))
        return 0.0f;
    constexpr double limit = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -limit, limit));
}
