#include "settingslimits.h"

#include <iterator>

namespace {

struct Limits {
    int width;
    bool isFloat;
    int lastIndex; // indexes run from firstIndex to lastIndex
    double minimum;
    double maximum;
    bool sign = false; // only +1 or -1
    int firstIndex = 0;
};

constexpr int axis = 1; // last index of a per-axis field

constexpr Limits u8(double maximum, int lastIndex = 0, double minimum = 0)
{
    return {1, false, lastIndex, minimum, maximum};
}

constexpr Limits u16(double maximum, int lastIndex = 0)
{
    return {2, false, lastIndex, 0, maximum};
}

constexpr Limits sign(int lastIndex = 0)
{
    return {1, false, lastIndex, -1, 1, true};
}

constexpr Limits real(double maximum)
{
    return {4, true, axis, 0, maximum};
}

// Indexed by SettingsFieldEnum.
constexpr Limits limits[] = {
    sign(),           // FIELD_INVERT_CONSTANT_FORCE
    u8(100),          // FIELD_DIRECT_X_SPRING_STRENGTH
    u8(100),          // FIELD_DIRECT_X_CONSTANT_STRENGTH
    u8(100),          // FIELD_DIRECT_X_PERIODIC_STRENGTH
    u8(100, axis),    // FIELD_TOTAL_EFFECT_SCALE
    u16(9999, axis),  // FIELD_MOTION_RANGE
    u8(100, axis),    // FIELD_SOFT_STOP_STRENGTH
    u8(45, axis, 1),  // FIELD_SOFT_STOP_RANGE
    u16(1000, axis),  // FIELD_STATIC_DAMPENING
    u16(1000, axis),  // FIELD_SOFT_STOP_DAMPENING
    u8(100, axis),    // FIELD_MAX_FORCE
    u8(1),            // FIELD_FORCE_ENABLE
    u8(1),            // FIELD_DEBUG_FORCES
    u8(3),            // FIELD_AMPLIFIER_GAIN
    u8(2),            // FIELD_CALIBRATION_MODE
    u8(100),          // FIELD_CALIBRATION_MAGNITUDE
    u8(250),          // FIELD_CALIBRATION_SPEED
    u8(100),          // FIELD_POWER_LIMIT
    u8(100),          // FIELD_BRAKING_LIMIT
    u8(100),          // FIELD_POSITION_SMOOTHING
    u8(32, 0, 2),     // FIELD_SPEED_SAMPLE_BUFFER_SIZE
    sign(axis),       // FIELD_ENCODER_DIRECTION
    sign(axis),       // FIELD_FORCE_DIRECTION
    u8(99, axis),     // FIELD_POLE_PAIRS
    u16(65535, axis), // FIELD_ENCODER_CPR
    real(1),          // FIELD_P_GAIN
    real(500),        // FIELD_I_GAIN
    u8(12),           // FIELD_EXTENSION_MODE
    u8(10, 9),        // FIELD_GPIO_MODE
    u8(2, 31),        // FIELD_BUTTON_MODE
    u8(3),            // FIELD_SPI_MODE
    u8(1),            // FIELD_SPI_LATCH_MODE
    u8(10, 0, 1),     // FIELD_SPI_LATCH_DELAY
    u8(10, 0, 1),     // FIELD_SPI_CLK_PULSE_LENGTH
    u16(32767, 2),    // FIELD_ADC_LOWER_DEAD_ZONE
    u16(32767, 2),    // FIELD_ADC_UPPER_DEAD_ZONE
    u8(100, 2),       // FIELD_ADC_BUTTON_LOW
    u8(100, 2),       // FIELD_ADC_BUTTON_HIGH
    u8(100, 2),       // FIELD_ADC_SMOOTHING
    u8(1, 2),         // FIELD_ADC_INVERT
    u8(1),            // FIELD_FORCE_CLIPPING_MODE
    {1, false, 1, 0, 1, false, 1}, // FIELD_RESET_CENTER_ON_Z0, always index 1
    u16(1000, axis),  // FIELD_DYNAMIC_DAMPENING
    u8(100, axis),    // FIELD_INTEGRATED_SPRING
};
static_assert(std::size(limits) == SETTINGS_FIELD_COUNT);

}

bool settingWithinLimits(SettingsFieldEnum field, int index, double value, int width, bool isFloat)
{
    if (field < 0 || field >= SETTINGS_FIELD_COUNT)
        return false;
    const Limits& limit = limits[field];
    if (width != limit.width || isFloat != limit.isFloat)
        return false;
    if (index < limit.firstIndex || index > limit.lastIndex)
        return false;
    if (!(value >= limit.minimum && value <= limit.maximum)) // also refuses NaN
        return false;
    return !limit.sign || value != 0;
}

bool isSecondAxisSetting(SettingsFieldEnum field, int index)
{
    if (index != 1 || field < 0 || field >= SETTINGS_FIELD_COUNT)
        return false;
    // The per-axis fields are the only ones indexed exactly 0 and 1.
    const Limits& limit = limits[field];
    return limit.firstIndex == 0 && limit.lastIndex == axis;
}
