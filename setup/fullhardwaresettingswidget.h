#pragma once

#include "settingsprotocol.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;
class Ui_FullHardwareSettingsWidget;

// The "Controller" page of torquix-setup: the motor-controller settings of the selected
// base. Its controls are its only state; every user change leaves the page at once as
// one typed setting signal, and a record loaded from the base sends nothing back.
class FullHardwareSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit FullHardwareSettingsWidget(QWidget* parent = nullptr);
    ~FullHardwareSettingsWidget() override;

    // advanced shows the current-sense gain; it is not kept.
    void setDeviceType(DeviceTypeEnum type, bool advanced);
    // Loads the record without sending anything.
    void settingsToUi(const HardwareSettingsTypeDef& settings);

signals:
    void settingInt8Changed(SettingsFieldEnum field, int8_t index, int8_t data);
    void settingUInt8Changed(SettingsFieldEnum field, int8_t index, uint8_t data);
    void settingInt16Changed(SettingsFieldEnum field, int8_t index, int16_t data);
    void settingUInt16Changed(SettingsFieldEnum field, int8_t index, uint16_t data);
    void settingFloatChanged(SettingsFieldEnum field, int8_t index, float data);

private slots:
    void disableUnsupportedElements(bool advanced);
    void emitInt8IfNotInInit(SettingsFieldEnum field, int8_t index, int8_t data);
    void emitUInt8IfNotInInit(SettingsFieldEnum field, int8_t index, uint8_t data);
    void emitInt16IfNotInInit(SettingsFieldEnum field, int8_t index, int16_t data);
    void emitUInt16IfNotInInit(SettingsFieldEnum field, int8_t index, uint16_t data);
    void emitFloatIfNotInInit(SettingsFieldEnum field, int8_t index, float data);
    void on_calibration_speed_valueChanged(int arg1);
    void on_calibration_speed_slider_valueChanged(int value);

private:
    void sendFlag(QCheckBox* box, SettingsFieldEnum field);
    void sendDirection(QCheckBox* box, SettingsFieldEnum field, int8_t axis);
    void sendItemIndex(QComboBox* combo, SettingsFieldEnum field);
    void sendUInt8(QSpinBox* spin, SettingsFieldEnum field, int8_t index);
    void sendUInt16(QSpinBox* spin, SettingsFieldEnum field, int8_t axis);
    void sendGain(QSpinBox* spin, SettingsFieldEnum field, int8_t axis, float scale);
    void loadAxis(const HardwareAxisSettingsTypeDef& axis, QCheckBox* encoderDirection,
                  QCheckBox* forceDirection, QSpinBox* encoderCpr, QSpinBox* polePairs,
                  QSpinBox* pGain, QSpinBox* iGain);

    Ui_FullHardwareSettingsWidget* ui;
    DeviceTypeEnum deviceType = DEVICE_TYPE_GENERIC;
    bool initialising = false; // while set, no control change leaves the page
};
