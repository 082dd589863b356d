#pragma once

#include <QMetaType>

#include <cstddef>
#include <cstdint>

// The USB HID protocol that every Torquix base speaks: identification, the report
// buffer, the commands and the packed wire records. Multi-byte fields are
// little-endian on the wire; the records are copied to and from the buffer as they
// lie in memory, which is only right on a little-endian host.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "wire records assume a little-endian host");

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

// 0 for a value that names no base type.
int productIdForDeviceType(DeviceTypeEnum type);

// The base that carries an effect axis (0 ailerons, 1 elevator, 2 rudder,
// 3 throttle/collective) and the axis inside that base; other values fall to the
// joystick and to themselves.
DeviceTypeEnum deviceForEffectAxis(int effectAxis);
int deviceAxisForEffectAxis(int effectAxis);

constexpr uint8_t OUTPUT_REPORT_ID = 0xA3;

enum ReportDataTypeEnum : uint8_t {
    REPORT_DATA_TYPE_REBOOT = 0x01,
    REPORT_DATA_TYPE_SAVE_SETTINGS = 0x02,
    REPORT_DATA_TYPE_DFU_MODE = 0x03,
    REPORT_DATA_TYPE_OVERRIDE = 0x10,
    REPORT_DATA_TYPE_SETTING = 0x14,
};

// The field byte of an override report (one byte on the wire).
enum TelemetryOverrideEnum : int32_t {
    TELEMETRY_OVERRIDE_INTEGRATED_SPRING_CURVE = 0,
    TELEMETRY_OVERRIDE_DIRECT_CONTROL = 1,
    TELEMETRY_OVERRIDE_GAME_ID = 2,
};

#pragma pack(push, 1)

struct FirmwareVersionTypeDef {
    uint8_t releaseType = 0; // 1 = release candidate, anything else a release
    uint8_t releaseYear = 0;
    uint8_t releaseVersion = 0;
    uint8_t releasePatch = 0;

    bool operator==(const FirmwareVersionTypeDef& other) const;
    bool operator!=(const FirmwareVersionTypeDef& other) const { return !(*this == other); }
};

// The input report of a base, after its report id byte.
struct DeviceStateTypeDef {
    FirmwareVersionTypeDef firmwareVersion;
    uint8_t unused4 = 0;
    int16_t position[2] = {0, 0}; // units of 0.0001; [1] only on the joystick
    int16_t axisTrim[2] = {0, 0}; // as the base reports it, units of 0.0001
    uint8_t unused13[51] = {};
};

// Report id in byte 0, the report's data in bytes 1 to 64.
struct HidInOutReportTypeDef {
    uint8_t reportId = 0;
    uint8_t data[64] = {};
};

// Forces in 0.01 % of full force; built only through the conversions of wireconversion.h.
struct DirectControlTypeDef {
    int16_t springForce = 0;
    int16_t constantForce = 0;
    int16_t periodicForce = 0;
    int16_t damperForce = 0;
    int16_t hardwareTrim = 0;
    uint8_t forceRelease = 0;
    int16_t staticDampening = 0;
    int16_t dynamicDampening = 0;
    uint8_t directXForce = 0;
    uint8_t directXPeriodic = 0;
    uint8_t directXTrimmer = 0;
    uint8_t integratedSpringStrength = 0;
    uint8_t integratedSpringDampening = 0;
};

// The 11 points of an integrated-spring curve, each percent value times 100.
struct CurveTransferTypeDef {
    struct Point {
        int16_t in = 0;
        int16_t out = 0;
    };
    static constexpr int pointCount = 11;
    Point points[pointCount];
};

#pragma pack(pop)

static_assert(sizeof(FirmwareVersionTypeDef) == 4);
static_assert(sizeof(DeviceStateTypeDef) == 64);
static_assert(offsetof(DeviceStateTypeDef, position) == 5);
static_assert(offsetof(DeviceStateTypeDef, axisTrim) == 9);
static_assert(sizeof(HidInOutReportTypeDef) == 65);
static_assert(sizeof(DirectControlTypeDef) == 20);
static_assert(offsetof(DirectControlTypeDef, forceRelease) == 10);
static_assert(offsetof(DirectControlTypeDef, staticDampening) == 11);
static_assert(offsetof(DirectControlTypeDef, directXForce) == 15);
static_assert(offsetof(DirectControlTypeDef, integratedSpringDampening) == 19);
static_assert(sizeof(CurveTransferTypeDef) == 44);

// Registers DeviceTypeEnum and FirmwareVersionTypeDef, which queued signals carry.
void registerDeviceMetaTypes();

Q_DECLARE_METATYPE(DeviceTypeEnum)
Q_DECLARE_METATYPE(FirmwareVersionTypeDef)
