#pragma once

#include "releaseinformation.h"
#include "settingsprotocol.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QNetworkRequest>
#include <QTranslator>

class QNetworkAccessManager;
class QNetworkReply;
class QThread;
class QTimer;
class SettingsUiBackgroundThread;
class Ui_MainWindow;

// One row of the device list; its position is the base's DeviceTypeEnum.
struct DeviceListEntry {
    int productId = 0;
    QString displayName;
    FirmwareVersionTypeDef version;
    bool connected = false;
};

// The window of torquix-setup: the list of connected bases, the three settings pages of
// the selected one, the save, reboot and DFU commands, and the release check. Every
// device exchange is queued to the worker on its own thread, with the product id of the
// base selected at the time.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // version: this build's own release, shown in the title and compared with the
    // published one. releaseServer: scheme, host and port of the release-information
    // server; empty asks nothing.
    MainWindow(const ReleaseNumber& version, const QString& releaseServer, QWidget* parent = nullptr);
    // Stops the worker and its thread in order, hid_exit last.
    ~MainWindow() override;

public slots:
    void addConnectedDevice(int pid, FirmwareVersionTypeDef version);
    void removeDisconnectedDevice(int pid);

private slots:
    void on_devices_combo_box_activated(int index);
    void updateConnectedDevices();
    void hideAllTabs();
    void showAllTabs();
    void deviceChanged(int index);
    void setupForDeviceType(DeviceTypeEnum type);
    // A record of a base that is not the selected one (any more) is dropped.
    void hardwareSettingsToUi(HardwareSettingsTypeDef settings, int pid);
    void adcSettingsToUi(AdcExtensionSettingsTypeDef settings, int pid);
    void gpioSettingsToUi(GpioExtensionSettingsTypeDef settings, int pid);
    void effectsSettingsToUi(EffectSettingsTypeDef settings, int pid);
    void uiToEffectsSettings(EffectSettingsTypeDef* settings);
    void saveEffectsSettings();
    void switchToDfu();
    void rebootController();
    void sendInt8Setting(SettingsFieldEnum field, int8_t index, int8_t data);
    void sendUInt8Setting(SettingsFieldEnum field, int8_t index, uint8_t data);
    void sendInt16Setting(SettingsFieldEnum field, int8_t index, int16_t data);
    void sendUInt16Setting(SettingsFieldEnum field, int8_t index, uint16_t data);
    void sendFloatSetting(SettingsFieldEnum field, int8_t index, float data);
    void checkUiVersion();
    void checkUiVersionFinished();

private:
    // Posts call to the worker's thread and returns at once.
    template <typename Call>
    void queueToWorker(Call call);
    void setCommandButtonsEnabled(bool enabled);
    void showNewerRelease(const QString& details);

    Ui_MainWindow* ui;
    ReleaseNumber version;
    QString title;
    QString releaseServer;
    QNetworkAccessManager* network;
    QNetworkRequest request;
    QNetworkReply* reply = nullptr;
    QList<DeviceListEntry> devices;
    int currentProductId = -1;
    SettingsUiBackgroundThread* worker = nullptr;
    QThread* workerThread = nullptr;
    QTimer* startTimer = nullptr;
    QIcon windowIcon;
    QTranslator translator;
    bool advanced = false;
};
