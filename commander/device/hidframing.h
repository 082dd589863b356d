#pragma once

#include "deviceprotocol.h"

#include <hidapi.h>

// Building, writing and reading the reports of a base. The worker's report slots
// forward here. Every report is 65 bytes: report id, data type, then the payload;
// bytes a report does not use are zero. All calls block on hidapi and belong to the
// thread that owns the handles.
namespace HidFraming {

constexpr int reportSize = int(sizeof(HidInOutReportTypeDef));
constexpr int overridePayloadLimit = reportSize - 4; // after id, type, field, index
constexpr int commandPayloadLimit = reportSize - 2;  // after id, type
constexpr int readTimeoutMs = 100;

// Bytes 0 to 4 become A3 10 fieldId index value; the other bytes are left as they are.
void createUInt8OverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                               uint8_t index, uint8_t value);
// Bytes 0 to 5, the value little-endian at 4 and 5.
void createUInt16OverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                uint8_t index, uint16_t value);
// Bytes 0 to 3 and size bytes of value from byte 4. Refuses (false, report untouched)
// a size above overridePayloadLimit or a null value with a size.
bool createBufferOverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                uint8_t index, const uint8_t* value, uint8_t size);

// The three override reports of torquix-commander, each a whole zeroed report.
void createDirectControlReport(HidInOutReportTypeDef* report, uint8_t deviceAxis,
                               const DirectControlTypeDef& forces);
void createCurveTransferReport(HidInOutReportTypeDef* report, uint8_t deviceAxis,
                               const CurveTransferTypeDef& curve);
// gameId is the number of the active Telemetry::Source, 0 when none.
void createGameIdReport(HidInOutReportTypeDef* report, uint8_t gameId);

// Write a zeroed report built as above; nothing when handle is null. The write's
// result is returned (-1 when nothing was written) but nothing relies on it.
int sendUInt8OverrideReport(hid_device* handle, TelemetryOverrideEnum field, int8_t index,
                            uint8_t data);
int sendUInt16OverrideReport(hid_device* handle, TelemetryOverrideEnum field, int8_t index,
                             uint16_t data);
int sendDataReport(hid_device* handle, TelemetryOverrideEnum fieldId, uint8_t index,
                   const uint8_t* value, uint8_t size);
// A3 dataType, then size bytes of src from byte 2; refuses sizes above commandPayloadLimit.
int writeToDevice(hid_device* usbHandle, uint8_t dataType, const void* src, uint16_t size);
// Writes a whole report as it stands.
int writeReport(hid_device* handle, const HidInOutReportTypeDef& report);

// Reads one input report (up to 100 ms); when hidapi gives more than 0 bytes, bytes 1
// to 64 go into state whatever the report id. Returns hidapi's result, -1 for a null
// handle.
int readDeviceState(DeviceStateTypeDef* state, hid_device* handle);

// Opens the first enumerated entry of vid and pid whose interface number matches;
// null when there is none, it has no path, or the open fails.
hid_device* obtainDeviceConnection(short vid, short pid, short interface_number);

}
