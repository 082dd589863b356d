#pragma once

#include "rawprofilefolder.h"
#include "settingsprotocol.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;
class Ui_GpioExtensionWidget;

// The "Periphery" page of torquix-setup: the GPIO and ADC extension records of the
// selected base, and profiles of both records (128 raw bytes, ADC first) in
// "periphery_profiles". Every user change leaves the page at once as one typed setting
// signal; the page never talks to a base itself.
class GpioExtensionWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GpioExtensionWidget(QWidget* parent = nullptr);
    ~GpioExtensionWidget() override;

    // Called at every set-up of a base that is not generic.
    void setupPeripheryControls();
    // Set each control that differs from the record; with send each change is sent in
    // load order, without nothing is.
    void adcSettingsToUi(const AdcExtensionSettingsTypeDef& record, bool send);
    void gpioSettingsToUi(const GpioExtensionSettingsTypeDef& record, bool send);
    // Fill the fields the page shows; reserved bytes stay as they are.
    void uiToAdcSettings(AdcExtensionSettingsTypeDef* record) const;
    void uiToGpioSettings(GpioExtensionSettingsTypeDef* record) const;
    // Shows the grip page of the extension type and enables the sections it and the
    // pin modes call for.
    void updatePeripherySections();

signals:
    void settingInt8Changed(SettingsFieldEnum field, int8_t index, int8_t data);
    void settingUInt8Changed(SettingsFieldEnum field, int8_t index, uint8_t data);
    void settingInt16Changed(SettingsFieldEnum field, int8_t index, int16_t data);
    void settingUInt16Changed(SettingsFieldEnum field, int8_t index, uint16_t data);
    void settingFloatChanged(SettingsFieldEnum field, int8_t index, float data);

public slots:
    void applyProfile(QString name);
    void readProfiles();

private slots:
    void on_profile_combo_box_activated(int index);
    void on_profile_save_button_clicked();
    void on_profile_delete_button_clicked();
    void emitInt8IfNotInInit(SettingsFieldEnum field, int8_t index, int8_t data);
    void emitUInt8IfNotInInit(SettingsFieldEnum field, int8_t index, uint8_t data);
    void emitInt16IfNotInInit(SettingsFieldEnum field, int8_t index, int16_t data);
    void emitUInt16IfNotInInit(SettingsFieldEnum field, int8_t index, uint16_t data);
    void emitFloatIfNotInInit(SettingsFieldEnum field, int8_t index, float data);
    void prepareGpioComboBoxes();
    void prepareButtonComboBoxes();
    void prepareAnalogSpinBoxes();

private:
    void sendItemIndex(QComboBox* combo, SettingsFieldEnum field, int8_t index);
    void sendUInt8(QSpinBox* spin, SettingsFieldEnum field, int8_t index);
    void sendUInt16(QSpinBox* spin, SettingsFieldEnum field, int8_t index);
    void sendFlag(QCheckBox* box, SettingsFieldEnum field, int8_t index);

    Ui_GpioExtensionWidget* ui;
    RawProfileFolder profiles;
    bool initialising = false; // while set, no control change leaves the page
    // Position in each list = pin, button or channel.
    QList<QComboBox*> pinCombos;
    QList<QComboBox*> buttonCombos;
    QList<QSpinBox*> upperDeadZoneSpins;
    QList<QSpinBox*> lowerDeadZoneSpins;
    QList<QSpinBox*> smoothingSpins;
    QList<QSpinBox*> buttonLowSpins;
    QList<QSpinBox*> buttonHighSpins;
    QList<QCheckBox*> invertBoxes;
};
