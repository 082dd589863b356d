#pragma once

#include "settingspagewidget.h"

class QCheckBox;
class QSpinBox;
class Ui_FullHardwareSettingsWidget;

// The "Controller" page of torquix-setup: the motor-controller settings of the selected
// base. Its controls are its only state; every user change leaves the page at once as
// one typed setting signal, and a record loaded from the base sends nothing back.
class FullHardwareSettingsWidget : public SettingsPageWidget
{
    Q_OBJECT

public:
    explicit FullHardwareSettingsWidget(QWidget* parent = nullptr);
    ~FullHardwareSettingsWidget() override;

    // advanced shows the current-sense gain; it is not kept.
    void setDeviceType(DeviceTypeEnum type, bool advanced);
    // Loads the record without sending anything.
    void settingsToUi(const HardwareSettingsTypeDef& settings);

private slots:
    void disableUnsupportedElements(bool advanced);
    void on_calibration_speed_valueChanged(int arg1);
    void on_calibration_speed_slider_valueChanged(int value);

private:
    void sendGain(QSpinBox* spin, SettingsFieldEnum field, int8_t axis, float scale);
    void loadAxis(const HardwareAxisSettingsTypeDef& axis, QCheckBox* encoderDirection,
                  QCheckBox* forceDirection, QSpinBox* encoderCpr, QSpinBox* polePairs,
                  QSpinBox* pGain, QSpinBox* iGain);

    Ui_FullHardwareSettingsWidget* ui;
    DeviceTypeEnum deviceType = DEVICE_TYPE_GENERIC;
};
