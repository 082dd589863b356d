#pragma once

#include "settingsprotocol.h"

#include <QList>
#include <QMap>
#include <QObject>

#include <hidapi.h>

class QTimer;

// The one object of torquix-setup that talks to the bases. It lives on a worker thread
// of its own: every tick it polls each product id, opening a base that was plugged in
// and dropping one that stopped answering, and it carries out the main window's
// requests. Every slot runs on the worker's thread; callers on another thread queue
// their calls. A request for a product id without an open base does nothing; a setting
// outside its field's range, or for axis 1 of a base other than the joystick, is refused.
class SettingsUiBackgroundThread : public QObject
{
    Q_OBJECT

public:
    static constexpr int tickIntervalMs = 10;
    static constexpr int readTimeoutMs = 100;
    static constexpr int retryTicks = 100;    // ticks waited before each open attempt
    static constexpr int livenessReads = 100; // missed reads that drop an answering base

    // Calls hid_init; the timer waits for start().
    explicit SettingsUiBackgroundThread(const QList<int>& productIds, QObject* parent = nullptr);
    // Closes what stop() left open.
    ~SettingsUiBackgroundThread() override;

signals:
    // Each record also names the product id it was read from, so that a record of a
    // base that is no longer selected can be dropped.
    void effectSettingsObtained(EffectSettingsTypeDef settings, int pid);
    void hardwareSettingsObtained(HardwareSettingsTypeDef settings, int pid);
    void adcExtenderSettingsObtained(AdcExtensionSettingsTypeDef settings, int pid);
    void gpioExtenderSettingsObtained(GpioExtensionSettingsTypeDef settings, int pid);
    void deviceConnected(int pid, FirmwareVersionTypeDef version);
    void deviceDisconnected(int pid);

public slots:
    void start();
    void checkDeviceConnections();
    void rebootControllerRequest(int pid);
    void switchtoDfuRequest(int pid);
    void saveSettingsRequest(int pid);
    void readEffectSettings(int pid);
    void readHardwareSettings(int pid);
    void readGpioExtensionSettings(int pid);
    void readAdcExtensionSettings(int pid);
    void sendInt8SettingReport(int pid, SettingsFieldEnum field, int8_t index, int8_t data);
    void sendInt16SettingReport(int pid, SettingsFieldEnum field, int8_t index, int16_t data);
    void sendUInt8SettingReport(int pid, SettingsFieldEnum field, int8_t index, uint8_t data);
    void sendUInt16SettingReport(int pid, SettingsFieldEnum field, int8_t index, uint16_t data);
    void sendFloatSettingReport(int pid, SettingsFieldEnum field, int8_t index, float data);
    // Stops the tick and closes every open base, on the worker's thread, before the
    // thread is quit; emits nothing.
    void stop();

private:
    hid_device* openDeviceByInterface(unsigned short vendorId, unsigned short productId,
                                      int interfaceNumber);
    int readDeviceState(DeviceStateTypeDef* state, hid_device* handle);
    hid_device* handleOf(int pid) const;
    void pollOpenBase(int pid, hid_device* handle);
    void tryToOpen(int pid);
    void sendCommand(int pid, ReportDataTypeEnum command);
    // Reads feature report reportId into record; false when there is no open base, or
    // when the read failed or was short, which the log says.
    bool readRecord(int pid, uint8_t reportId, void* record);
    template <typename T, typename Build>
    void sendSetting(int pid, SettingsFieldEnum field, int8_t index, T data, Build build,
                     const char* words);

    QTimer* tickTimer;
    QList<int> productIds;
    QMap<int, hid_device*> handles; // a null handle or none: not connected
    QMap<int, int> retryCounters;
    QMap<int, int> livenessCounters;
};
