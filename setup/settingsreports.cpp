#include "settingsreports.h"

#include <cstring>

namespace {

template <typename T>
void createSettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field, int8_t index,
                         T value)
{
    static_assert(sizeof(T) <= sizeof(report->data) - 3);
    report->reportId = OUTPUT_REPORT_ID;
    report->data[0] = REPORT_DATA_TYPE_SETTING;
    report->data[1] = uint8_t(field & 0xFF);
    report->data[2] = uint8_t(index);
    std::memcpy(report->data + 3, &value, sizeof(value)); // little-endian host
}

}

void createInt8SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field, int8_t index,
                             int8_t value)
{
    createSettingReport(report, field, index, value);
}

void createUInt8SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                              int8_t index, uint8_t value)
{
    createSettingReport(report, field, index, value);
}

void createInt16SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                              int8_t index, int16_t value)
{
    createSettingReport(report, field, index, value);
}

void createUInt16SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                               int8_t index, uint16_t value)
{
    createSettingReport(report, field, index, value);
}

void createFloatSettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                              int8_t index, float value)
{
    createSettingReport(report, field, index, value);
}

void createCommandReport(HidInOutReportTypeDef* report, ReportDataTypeEnum command)
{
    report->reportId = OUTPUT_REPORT_ID;
    report->data[0] = command;
}
