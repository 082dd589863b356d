#include "hidframing.h"

#include <QDebug>

#include <cstring>

namespace HidFraming {

namespace {

uint8_t* bytesOf(HidInOutReportTypeDef* report)
{
    return reinterpret_cast<uint8_t*>(report);
}

void writeOverrideHeader(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                         uint8_t index)
{
    uint8_t* bytes = bytesOf(report);
    bytes[0] = OUTPUT_REPORT_ID;
    bytes[1] = REPORT_DATA_TYPE_OVERRIDE;
    bytes[2] = uint8_t(fieldId);
    bytes[3] = index;
}

void clear(HidInOutReportTypeDef* report)
{
    *report = HidInOutReportTypeDef();
}

}

void createUInt8OverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                               uint8_t index, uint8_t value)
{
    writeOverrideHeader(report, fieldId, index);
    bytesOf(report)[4] = value;
}

void createUInt16OverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                uint8_t index, uint16_t value)
{
    writeOverrideHeader(report, fieldId, index);
    bytesOf(report)[4] = uint8_t(value & 0xFF);
    bytesOf(report)[5] = uint8_t(value >> 8);
}

bool createBufferOverrideReport(HidInOutReportTypeDef* report, TelemetryOverrideEnum fieldId,
                                uint8_t index, const uint8_t* value, uint8_t size)
{
    if (size > overridePayloadLimit || (size > 0 && !value)) {
        qWarning() << "override payload of" << size << "bytes refused";
        return false;
    }
    writeOverrideHeader(report, fieldId, index);
    if (size > 0)
        std::memcpy(bytesOf(report) + 4, value, size);
    return true;
}

void createDirectControlReport(HidInOutReportTypeDef* report, uint8_t deviceAxis,
                               const DirectControlTypeDef& forces)
{
    clear(report);
    createBufferOverrideReport(report, TELEMETRY_OVERRIDE_DIRECT_CONTROL, deviceAxis,
                               reinterpret_cast<const uint8_t*>(&forces), sizeof(forces));
}

void createCurveTransferReport(HidInOutReportTypeDef* report, uint8_t deviceAxis,
                               const CurveTransferTypeDef& curve)
{
    clear(report);
    createBufferOverrideReport(report, TELEMETRY_OVERRIDE_INTEGRATED_SPRING_CURVE, deviceAxis,
                               reinterpret_cast<const uint8_t*>(&curve), sizeof(curve));
}

void createGameIdReport(HidInOutReportTypeDef* report, uint8_t gameId)
{
    clear(report);
    createUInt8OverrideReport(report, TELEMETRY_OVERRIDE_GAME_ID, 0, gameId);
}

int writeReport(hid_device* handle, const HidInOutReportTypeDef& report)
{
    if (!handle)
        return -1;
    return hid_write(handle, reinterpret_cast<const unsigned char*>(&report), sizeof(report));
}

int sendUInt8OverrideReport(hid_device* handle, TelemetryOverrideEnum field, int8_t index,
                            uint8_t data)
{
    HidInOutReportTypeDef report;
    createUInt8OverrideReport(&report, field, uint8_t(index), data);
    return writeReport(handle, report);
}

int sendUInt16OverrideReport(hid_device* handle, TelemetryOverrideEnum field, int8_t index,
                             uint16_t data)
{
    HidInOutReportTypeDef report;
    createUInt16OverrideReport(&report, field, uint8_t(index), data);
    return writeReport(handle, report);
}

int sendDataReport(hid_device* handle, TelemetryOverrideEnum fieldId, uint8_t index,
                   const uint8_t* value, uint8_t size)
{
    if (!handle)
        return -1;
    HidInOutReportTypeDef report;
    if (!createBufferOverrideReport(&report, fieldId, index, value, size))
        return -1;
    return writeReport(handle, report);
}

int writeToDevice(hid_device* usbHandle, uint8_t dataType, const void* src, uint16_t size)
{
    if (!usbHandle)
        return -1;
    if (size > commandPayloadLimit || (size > 0 && !src)) {
        qWarning() << "command payload of" << size << "bytes refused";
        return -1;
    }
    HidInOutReportTypeDef report;
    report.reportId = OUTPUT_REPORT_ID;
    report.data[0] = dataType;
    if (size > 0)
        std::memcpy(report.data + 1, src, size);
    return writeReport(usbHandle, report);
}

int readDeviceState(DeviceStateTypeDef* state, hid_device* handle)
{
    if (!handle)
        return -1;
    HidInOutReportTypeDef report;
    const int result = hid_read_timeout(handle, bytesOf(&report), sizeof(report), readTimeoutMs);
    if (result > 0)
        std::memcpy(state, report.data, sizeof(*state));
    return result;
}

hid_device* obtainDeviceConnection(short vid, short pid, short interface_number)
{
    hid_device_info* devices = hid_enumerate(static_cast<unsigned short>(vid),
                                             static_cast<unsigned short>(pid));
    hid_device* handle = nullptr;
    for (hid_device_info* entry = devices; entry; entry = entry->next) {
        if (entry->interface_number != interface_number)
            continue;
        if (entry->path && entry->path[0] != '\0')
            handle = hid_open_path(entry->path);
        break;
    }
    hid_free_enumeration(devices);
    return handle;
}

}
