#include "settingsuibackgroundthread.h"

#include "settingslimits.h"
#include "settingsreports.h"

#include <QDebug>
#include <QTimer>

#include <cstring>
#include <type_traits>

SettingsUiBackgroundThread::SettingsUiBackgroundThread(const QList<int>& productIds,
                                                       QObject* parent)
    : QObject(parent)
    , tickTimer(new QTimer(this))
    , productIds(productIds)
{
    registerSettingsMetaTypes();
    hid_init(); // a failure only means that no base is ever found
    connect(tickTimer, &QTimer::timeout, this, &SettingsUiBackgroundThread::checkDeviceConnections);
}

SettingsUiBackgroundThread::~SettingsUiBackgroundThread()
{
    for (hid_device* handle : std::as_const(handles)) {
        if (handle)
            hid_close(handle);
    }
}

void SettingsUiBackgroundThread::start()
{
    tickTimer->start(tickIntervalMs);
}

void SettingsUiBackgroundThread::stop()
{
    tickTimer->stop();
    for (auto it = handles.begin(); it != handles.end(); ++it) {
        if (it.value())
            hid_close(it.value());
        it.value() = nullptr;
    }
}

void SettingsUiBackgroundThread::checkDeviceConnections()
{
    for (int pid : std::as_const(productIds)) {
        if (hid_device* handle = handleOf(pid))
            pollOpenBase(pid, handle);
        else
            tryToOpen(pid);
    }
}

// The content of a liveness read is not used; only its coming matters.
void SettingsUiBackgroundThread::pollOpenBase(int pid, hid_device* handle)
{
    DeviceStateTypeDef state;
    if (readDeviceState(&state, handle) > 0) {
        livenessCounters[pid] = livenessReads;
        return;
    }
    if (--livenessCounters[pid] > 0)
        return;
    hid_close(handle);
    handles[pid] = nullptr;
    emit deviceDisconnected(pid);
}

void SettingsUiBackgroundThread::tryToOpen(int pid)
{
    int& retries = retryCounters[pid];
    if (retries < retryTicks) {
        ++retries;
        return;
    }
    retries = 0;
    hid_device* handle = openDeviceByInterface(DEVICE_VENDOR_ID, static_cast<unsigned short>(pid),
                                               DEVICE_INTERFACE_NUMBER);
    if (!handle)
        return;
    DeviceStateTypeDef state;
    if (readDeviceState(&state, handle) <= 0) {
        hid_close(handle);
        return;
    }
    // The liveness counter is left as it is, so a base whose next read fails goes at once.
    handles[pid] = handle;
    emit deviceConnected(pid, state.firmwareVersion);
}

hid_device* SettingsUiBackgroundThread::openDeviceByInterface(unsigned short vendorId,
                                                              unsigned short productId,
                                                              int interfaceNumber)
{
    hid_device_info* devices = hid_enumerate(vendorId, productId);
    const hid_device_info* entry = devices;
    while (entry && entry->interface_number != interfaceNumber)
        entry = entry->next;
    hid_device* handle = entry && entry->path ? hid_open_path(entry->path) : nullptr;
    hid_free_enumeration(devices);
    return handle;
}

int SettingsUiBackgroundThread::readDeviceState(DeviceStateTypeDef* state, hid_device* handle)
{
    HidInOutReportTypeDef report;
    const int result = hid_read_timeout(handle, reinterpret_cast<unsigned char*>(&report),
                                        sizeof(report), readTimeoutMs);
    if (result > 0)
        std::memcpy(state, report.data, sizeof(*state));
    return result;
}

hid_device* SettingsUiBackgroundThread::handleOf(int pid) const
{
    return handles.value(pid, nullptr);
}

void SettingsUiBackgroundThread::sendCommand(int pid, ReportDataTypeEnum command)
{
    hid_device* handle = handleOf(pid);
    if (!handle)
        return;
    HidInOutReportTypeDef report;
    createCommandReport(&report, command);
    hid_write(handle, reinterpret_cast<const unsigned char*>(&report), sizeof(report));
}

void SettingsUiBackgroundThread::rebootControllerRequest(int pid)
{
    sendCommand(pid, REPORT_DATA_TYPE_REBOOT);
}

void SettingsUiBackgroundThread::switchtoDfuRequest(int pid)
{
    sendCommand(pid, REPORT_DATA_TYPE_DFU_MODE);
}

void SettingsUiBackgroundThread::saveSettingsRequest(int pid)
{
    sendCommand(pid, REPORT_DATA_TYPE_SAVE_SETTINGS);
}

bool SettingsUiBackgroundThread::readRecord(int pid, uint8_t reportId, void* record)
{
    hid_device* handle = handleOf(pid);
    if (!handle)
        return false;
    HidInOutReportTypeDef report;
    report.reportId = reportId;
    const int result = hid_get_feature_report(handle, reinterpret_cast<unsigned char*>(&report),
                                              sizeof(report));
    // A short read leaves the rest of the record unknown: no part of it is used.
    if (result < int(sizeof(report))) {
        QString why = result <= 0 ? QStringLiteral("the read failed")
                                  : QStringLiteral("%1 of %2 bytes arrived").arg(result).arg(sizeof(report));
        if (const wchar_t* error = result < 0 ? hid_error(handle) : nullptr)
            why += QStringLiteral(" (%1)").arg(QString::fromWCharArray(error));
        qWarning().noquote() << QStringLiteral("settings report 0x%1 of base %2 not read: %3")
                                    .arg(reportId, 2, 16, QLatin1Char('0'))
                                    .arg(pid)
                                    .arg(why);
        return false;
    }
    std::memcpy(record, report.data, sizeof(report.data));
    return true;
}

void SettingsUiBackgroundThread::readEffectSettings(int pid)
{
    EffectSettingsTypeDef settings;
    static_assert(sizeof(settings) == sizeof(HidInOutReportTypeDef::data));
    if (readRecord(pid, EFFECT_SETTINGS_REPORT_ID, &settings))
        emit effectSettingsObtained(settings, pid);
}

void SettingsUiBackgroundThread::readHardwareSettings(int pid)
{
    HardwareSettingsTypeDef settings;
    static_assert(sizeof(settings) == sizeof(HidInOutReportTypeDef::data));
    if (readRecord(pid, HARDWARE_SETTINGS_REPORT_ID, &settings))
        emit hardwareSettingsObtained(settings, pid);
}

void SettingsUiBackgroundThread::readGpioExtensionSettings(int pid)
{
    GpioExtensionSettingsTypeDef settings;
    static_assert(sizeof(settings) == sizeof(HidInOutReportTypeDef::data));
    if (readRecord(pid, GPIO_EXTENSION_SETTINGS_REPORT_ID, &settings))
        emit gpioExtenderSettingsObtained(settings, pid);
}

void SettingsUiBackgroundThread::readAdcExtensionSettings(int pid)
{
    AdcExtensionSettingsTypeDef settings;
    static_assert(sizeof(settings) == sizeof(HidInOutReportTypeDef::data));
    if (readRecord(pid, ADC_EXTENSION_SETTINGS_REPORT_ID, &settings))
        emit adcExtenderSettingsObtained(settings, pid);
}

template <typename T, typename Build>
void SettingsUiBackgroundThread::sendSetting(int pid, SettingsFieldEnum field, int8_t index,
                                             T data, Build build, const char* words)
{
    hid_device* handle = handleOf(pid);
    if (!handle)
        return;
    QString value;
    if constexpr (std::is_floating_point_v<T>)
        value = QString::number(data);
    else
        value = QString::number(int(data));
    const QString line = QStringLiteral("%1 %2 axis %3 value %4")
                             .arg(QLatin1String(words))
                             .arg(int(field))
                             .arg(int(index))
                             .arg(value);
    // Nothing outside the field's range ever reaches a motor controller.
    if (!settingWithinLimits(field, index, double(data), int(sizeof(T)), std::is_floating_point_v<T>)) {
        qWarning().noquote() << "refused:" << line;
        return;
    }
    if (isSecondAxisSetting(field, index) && pid != PRODUCT_ID_JOYSTICK) {
        qWarning().noquote() << "refused, the base has one axis:" << line;
        return;
    }
    HidInOutReportTypeDef report;
    build(&report, field, index, data);
    hid_write(handle, reinterpret_cast<const unsigned char*>(&report), sizeof(report));
    qDebug().noquote() << line;
}

void SettingsUiBackgroundThread::sendInt8SettingReport(int pid, SettingsFieldEnum field,
                                                       int8_t index, int8_t data)
{
    sendSetting(pid, field, index, data, createInt8SettingReport, "send int8 field");
}

void SettingsUiBackgroundThread::sendInt16SettingReport(int pid, SettingsFieldEnum field,
                                                        int8_t index, int16_t data)
{
    sendSetting(pid, field, index, data, createInt16SettingReport, "send int16 field");
}

void SettingsUiBackgroundThread::sendUInt8SettingReport(int pid, SettingsFieldEnum field,
                                                        int8_t index, uint8_t data)
{
    sendSetting(pid, field, index, data, createUInt8SettingReport, "send uint8 field");
}

void SettingsUiBackgroundThread::sendUInt16SettingReport(int pid, SettingsFieldEnum field,
                                                         int8_t index, uint16_t data)
{
    sendSetting(pid, field, index, data, createUInt16SettingReport, "send uint16 field");
}

void SettingsUiBackgroundThread::sendFloatSettingReport(int pid, SettingsFieldEnum field,
                                                        int8_t index, float data)
{
    sendSetting(pid, field, index, data, createFloatSettingReport, "send float field");
}
