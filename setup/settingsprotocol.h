#pragma once

#include <QMetaType>

#include <cstddef>
#include <cstdint>

// What torquix-setup puts on the USB wire: identification of a base, the report
// buffer, the commands, the setting identifiers and the packed settings records.
// Multi-byte fields are little-endian on the wire; the records are copied to and from
// the buffer as they lie in memory, which is only right on a little-endian host.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "wire records assume a little-endian host");

// The position of a base in the device table is its type.
enum DeviceTypeEnum : int32_t {
    DEVICE_TYPE_GENERIC = 0,
    DEVICE_TYPE_JOYSTICK = 1,
    DEVICE_TYPE_RUDDER = 2,
    DEVICE_TYPE_WHEEL = 3,
    DEVICE_TYPE_COLLECTIVE = 4,
};

constexpr unsigned short DEVICE_VENDOR_ID = 0x045B;
constexpr int DEVICE_INTERFACE_NUMBER = 0;

constexpr int PRODUCT_ID_GENERIC = 22000;
constexpr int PRODUCT_ID_JOYSTICK = 22777;
constexpr int PRODUCT_ID_RUDDER = 22888;
constexpr int PRODUCT_ID_WHEEL = 22999;
constexpr int PRODUCT_ID_COLLECTIVE = 22001;

constexpr uint8_t OUTPUT_REPORT_ID = 0xA3;

// The data types this program sends after OUTPUT_REPORT_ID.
enum ReportDataTypeEnum : uint8_t {
    REPORT_DATA_TYPE_REBOOT = 0x01,
    REPORT_DATA_TYPE_SAVE_SETTINGS = 0x02, // store the settings, then restart
    REPORT_DATA_TYPE_DFU_MODE = 0x03,
    REPORT_DATA_TYPE_SETTING = 0x14,
};

// Feature reports that carry the settings records.
constexpr uint8_t HARDWARE_SETTINGS_REPORT_ID = 0x21;
constexpr uint8_t EFFECT_SETTINGS_REPORT_ID = 0x22;
constexpr uint8_t GPIO_EXTENSION_SETTINGS_REPORT_ID = 0xA1;
constexpr uint8_t ADC_EXTENSION_SETTINGS_REPORT_ID = 0xA2;

// One setting of a base; the report carries the low byte. The comment names the wire
// type and what the index stands for.
enum SettingsFieldEnum : int32_t {
    FIELD_INVERT_CONSTANT_FORCE = 0,       // int8 +1 / -1
    FIELD_DIRECT_X_SPRING_STRENGTH = 1,    // uint8
    FIELD_DIRECT_X_CONSTANT_STRENGTH = 2,  // uint8
    FIELD_DIRECT_X_PERIODIC_STRENGTH = 3,  // uint8
    FIELD_TOTAL_EFFECT_SCALE = 4,          // uint8, axis
    FIELD_MOTION_RANGE = 5,                // uint16, axis
    FIELD_SOFT_STOP_STRENGTH = 6,          // uint8, axis
    FIELD_SOFT_STOP_RANGE = 7,             // uint8, axis
    FIELD_STATIC_DAMPENING = 8,            // uint16, axis
    FIELD_SOFT_STOP_DAMPENING = 9,         // uint16, axis
    FIELD_MAX_FORCE = 10,                  // uint8, axis
    FIELD_FORCE_ENABLE = 11,               // uint8 0 / 1
    FIELD_DEBUG_FORCES = 12,               // uint8 0 / 1
    FIELD_AMPLIFIER_GAIN = 13,             // uint8
    FIELD_CALIBRATION_MODE = 14,           // uint8
    FIELD_CALIBRATION_MAGNITUDE = 15,      // uint8
    FIELD_CALIBRATION_SPEED = 16,          // uint8
    FIELD_POWER_LIMIT = 17,                // uint8
    FIELD_BRAKING_LIMIT = 18,              // uint8
    FIELD_POSITION_SMOOTHING = 19,         // uint8
    FIELD_SPEED_SAMPLE_BUFFER_SIZE = 20,   // uint8
    FIELD_ENCODER_DIRECTION = 21,          // int8 +1 / -1, axis
    FIELD_FORCE_DIRECTION = 22,            // int8 +1 / -1, axis
    FIELD_POLE_PAIRS = 23,                 // uint8, axis
    FIELD_ENCODER_CPR = 24,                // uint16, axis
    FIELD_P_GAIN = 25,                     // float, axis
    FIELD_I_GAIN = 26,                     // float, axis
    FIELD_EXTENSION_MODE = 27,             // uint8
    FIELD_GPIO_MODE = 28,                  // uint8, pin 0-9
    FIELD_BUTTON_MODE = 29,                // uint8, button 0-31
    FIELD_SPI_MODE = 30,                   // uint8
    FIELD_SPI_LATCH_MODE = 31,             // uint8
    FIELD_SPI_LATCH_DELAY = 32,            // uint8
    FIELD_SPI_CLK_PULSE_LENGTH = 33,       // uint8
    FIELD_ADC_LOWER_DEAD_ZONE = 34,        // uint16, channel 0-2
    FIELD_ADC_UPPER_DEAD_ZONE = 35,        // uint16, channel 0-2
    FIELD_ADC_BUTTON_LOW = 36,             // uint8, channel 0-2
    FIELD_ADC_BUTTON_HIGH = 37,            // uint8, channel 0-2
    FIELD_ADC_SMOOTHING = 38,              // uint8, channel 0-2
    FIELD_ADC_INVERT = 39,                 // uint8 0 / 1, channel 0-2
    FIELD_FORCE_CLIPPING_MODE = 40,        // uint8
    FIELD_RESET_CENTER_ON_Z0 = 41,         // uint8 0 / 1, index always 1; in no record
    FIELD_DYNAMIC_DAMPENING = 42,          // uint16, axis
    FIELD_INTEGRATED_SPRING = 43,          // uint8, axis
};

constexpr int SETTINGS_FIELD_COUNT = 44;

#pragma pack(push, 1)

// Report id in byte 0, the report's data in bytes 1 to 64.
struct HidInOutReportTypeDef {
    uint8_t reportId = 0;
    uint8_t data[64] = {};
};

struct FirmwareVersionTypeDef {
    uint8_t releaseType = 0; // 1 = release candidate, anything else a release
    uint8_t releaseYear = 0;
    uint8_t releaseVersion = 0;
    uint8_t releasePatch = 0;

    bool operator==(const FirmwareVersionTypeDef& other) const;
    bool operator!=(const FirmwareVersionTypeDef& other) const { return !(*this == other); }
};

// The input report of a base; this program only uses the version, and only from the
// first report after opening.
struct DeviceStateTypeDef {
    FirmwareVersionTypeDef firmwareVersion;
    uint8_t unused[60] = {};
};

struct EffectAxisSettingsTypeDef {
    uint8_t totalEffectScale = 0; // percent
    uint16_t motionRange = 0;     // degrees
    uint8_t integratedSpring = 0; // percent
    uint8_t softStopRange = 0;    // degrees
    uint8_t softStopStrength = 0; // percent
    uint16_t staticDampening = 0;
    uint16_t dynamicDampening = 0;
    uint16_t softStopDampening = 0;
    uint8_t maxForce = 0; // kg
};

// Feature report 0x22, and the content of an effect profile file.
struct EffectSettingsTypeDef {
    int8_t invertConstantForce = 0; // +1 inverted, -1 not
    uint8_t directXSpringStrength = 0;
    uint8_t directXConstantStrength = 0;
    uint8_t directXPeriodicStrength = 0;
    uint8_t forceClippingMode = 0; // 0 relaxed, 1 raw
    EffectAxisSettingsTypeDef axis[2];
    uint8_t unused[33] = {};
};

struct HardwareAxisSettingsTypeDef {
    int8_t encoderDirection = 0; // +1 or -1
    int8_t forceDirection = 0;   // +1 or -1
    uint8_t polePairs = 0;
    uint16_t encoderCpr = 0;
    float pGain = 0.0f;
    float iGain = 0.0f;
};

// Feature report 0x21.
struct HardwareSettingsTypeDef {
    uint8_t forceEnable = 0;
    uint8_t debugForces = 0;
    uint8_t amplifierGain = 0;   // index of 80, 40, 20, 10 V/V
    uint8_t calibrationMode = 0; // none, start angle as center, center of range search
    uint8_t calibrationMagnitude = 0;
    uint8_t calibrationSpeed = 0;
    uint8_t powerLimit = 0;
    uint8_t brakingLimit = 0;
    uint8_t positionSmoothing = 0;
    uint8_t speedSampleBufferSize = 0;
    HardwareAxisSettingsTypeDef axis[2];
    uint8_t unused[28] = {};
};

// Feature report 0xA1, and bytes 64-127 of a periphery profile file.
struct GpioExtensionSettingsTypeDef {
    uint8_t extensionType = 0;
    uint8_t pinModes[10] = {}; // pins 1-8, encoder Z0, encoder Z1
    uint8_t buttonModes[32] = {};
    uint8_t spiMode = 0;
    uint8_t spiLatchMode = 0;
    uint8_t spiLatchDelay = 0;     // microseconds
    uint8_t spiClkPulseLength = 0; // microseconds
    uint8_t reserved[17] = {};
};

// Feature report 0xA2, and bytes 0-63 of a periphery profile file; per analog channel.
struct AdcExtensionSettingsTypeDef {
    uint16_t lowerDeadZone[3] = {};
    uint16_t upperDeadZone[3] = {};
    uint8_t smoothing[3] = {};
    uint8_t buttonLow[3] = {};
    uint8_t buttonHigh[3] = {};
    uint8_t invert[3] = {};
    uint8_t reserved[40] = {};
};

#pragma pack(pop)

static_assert(sizeof(HidInOutReportTypeDef) == 65);
static_assert(sizeof(FirmwareVersionTypeDef) == 4);
static_assert(sizeof(DeviceStateTypeDef) == 64);

static_assert(sizeof(EffectAxisSettingsTypeDef) == 13);
static_assert(offsetof(EffectAxisSettingsTypeDef, motionRange) == 1);
static_assert(offsetof(EffectAxisSettingsTypeDef, integratedSpring) == 3);
static_assert(offsetof(EffectAxisSettingsTypeDef, softStopRange) == 4);
static_assert(offsetof(EffectAxisSettingsTypeDef, softStopStrength) == 5);
static_assert(offsetof(EffectAxisSettingsTypeDef, staticDampening) == 6);
static_assert(offsetof(EffectAxisSettingsTypeDef, dynamicDampening) == 8);
static_assert(offsetof(EffectAxisSettingsTypeDef, softStopDampening) == 10);
static_assert(offsetof(EffectAxisSettingsTypeDef, maxForce) == 12);
static_assert(sizeof(EffectSettingsTypeDef) == 64);
static_assert(offsetof(EffectSettingsTypeDef, directXSpringStrength) == 1);
static_assert(offsetof(EffectSettingsTypeDef, directXConstantStrength) == 2);
static_assert(offsetof(EffectSettingsTypeDef, directXPeriodicStrength) == 3);
static_assert(offsetof(EffectSettingsTypeDef, forceClippingMode) == 4);
static_assert(offsetof(EffectSettingsTypeDef, axis) == 5);
static_assert(offsetof(EffectSettingsTypeDef, unused) == 31);

static_assert(sizeof(HardwareAxisSettingsTypeDef) == 13);
static_assert(offsetof(HardwareAxisSettingsTypeDef, forceDirection) == 1);
static_assert(offsetof(HardwareAxisSettingsTypeDef, polePairs) == 2);
static_assert(offsetof(HardwareAxisSettingsTypeDef, encoderCpr) == 3);
static_assert(offsetof(HardwareAxisSettingsTypeDef, pGain) == 5);
static_assert(offsetof(HardwareAxisSettingsTypeDef, iGain) == 9);
static_assert(sizeof(HardwareSettingsTypeDef) == 64);
static_assert(offsetof(HardwareSettingsTypeDef, calibrationMode) == 3);
static_assert(offsetof(HardwareSettingsTypeDef, speedSampleBufferSize) == 9);
static_assert(offsetof(HardwareSettingsTypeDef, axis) == 10);
static_assert(offsetof(HardwareSettingsTypeDef, unused) == 36);

static_assert(sizeof(GpioExtensionSettingsTypeDef) == 64);
static_assert(offsetof(GpioExtensionSettingsTypeDef, pinModes) == 1);
static_assert(offsetof(GpioExtensionSettingsTypeDef, buttonModes) == 11);
static_assert(offsetof(GpioExtensionSettingsTypeDef, spiMode) == 43);
static_assert(offsetof(GpioExtensionSettingsTypeDef, spiLatchMode) == 44);
static_assert(offsetof(GpioExtensionSettingsTypeDef, spiLatchDelay) == 45);
static_assert(offsetof(GpioExtensionSettingsTypeDef, spiClkPulseLength) == 46);
static_assert(offsetof(GpioExtensionSettingsTypeDef, reserved) == 47);

static_assert(sizeof(AdcExtensionSettingsTypeDef) == 64);
static_assert(offsetof(AdcExtensionSettingsTypeDef, upperDeadZone) == 6);
static_assert(offsetof(AdcExtensionSettingsTypeDef, smoothing) == 12);
static_assert(offsetof(AdcExtensionSettingsTypeDef, buttonLow) == 15);
static_assert(offsetof(AdcExtensionSettingsTypeDef, buttonHigh) == 18);
static_assert(offsetof(AdcExtensionSettingsTypeDef, invert) == 21);
static_assert(offsetof(AdcExtensionSettingsTypeDef, reserved) == 24);

// Registers the records, FirmwareVersionTypeDef, DeviceTypeEnum and SettingsFieldEnum,
// which queued signals and calls carry between the threads.
void registerSettingsMetaTypes();

Q_DECLARE_METATYPE(DeviceTypeEnum)
Q_DECLARE_METATYPE(SettingsFieldEnum)
Q_DECLARE_METATYPE(FirmwareVersionTypeDef)
Q_DECLARE_METATYPE(EffectSettingsTypeDef)
Q_DECLARE_METATYPE(HardwareSettingsTypeDef)
Q_DECLARE_METATYPE(GpioExtensionSettingsTypeDef)
Q_DECLARE_METATYPE(AdcExtensionSettingsTypeDef)
