#pragma once

#include "settingsprotocol.h"

// Builders of the output reports torquix-setup sends. Each writes only its own bytes
// (report id, data type and, for a setting, field, index and value from byte 4,
// little-endian) and relies on the caller having zeroed the report.

void createInt8SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field, int8_t index,
                             int8_t value);
void createUInt8SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                              int8_t index, uint8_t value);
void createInt16SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                              int8_t index, int16_t value);
void createUInt16SettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                               int8_t index, uint16_t value);
void createFloatSettingReport(HidInOutReportTypeDef* report, SettingsFieldEnum field,
                              int8_t index, float value);

// A3 and the command; the commands carry no payload.
void createCommandReport(HidInOutReportTypeDef* report, ReportDataTypeEnum command);
