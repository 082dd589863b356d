#pragma once

#include "settingsprotocol.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QSpinBox;

// What the three settings pages of torquix-setup share: the typed setting signals the
// main window forwards to the base, and the initialising flag that keeps a loaded
// record from being sent back. Each control is tied to its setting once, with the page
// as context; every user change then leaves the page at once as one signal.
class SettingsPageWidget : public QWidget
{
    Q_OBJECT

public:
    using QWidget::QWidget;

signals:
    void settingInt8Changed(SettingsFieldEnum field, int8_t index, int8_t data);
    void settingUInt8Changed(SettingsFieldEnum field, int8_t index, uint8_t data);
    void settingInt16Changed(SettingsFieldEnum field, int8_t index, int16_t data);
    void settingUInt16Changed(SettingsFieldEnum field, int8_t index, uint16_t data);
    void settingFloatChanged(SettingsFieldEnum field, int8_t index, float data);

protected slots:
    void emitInt8IfNotInInit(SettingsFieldEnum field, int8_t index, int8_t data);
    void emitUInt8IfNotInInit(SettingsFieldEnum field, int8_t index, uint8_t data);
    void emitInt16IfNotInInit(SettingsFieldEnum field, int8_t index, int16_t data);
    void emitUInt16IfNotInInit(SettingsFieldEnum field, int8_t index, uint16_t data);
    void emitFloatIfNotInInit(SettingsFieldEnum field, int8_t index, float data);

protected:
    // A check box as uint8 1 (checked) or 0.
    void sendFlag(QCheckBox* box, SettingsFieldEnum field, int8_t index);
    // A check box as int8 +1 (checked) or -1.
    void sendDirection(QCheckBox* box, SettingsFieldEnum field, int8_t index);
    // A combo's item index as uint8; no current item sends nothing.
    void sendItemIndex(QComboBox* combo, SettingsFieldEnum field, int8_t index);
    // A spin box's value cut to the field's width.
    void sendUInt8(QSpinBox* spin, SettingsFieldEnum field, int8_t index);
    void sendUInt16(QSpinBox* spin, SettingsFieldEnum field, int8_t index);

    // Rudder, wheel and collective have one axis: their pages send no axis-1 setting.
    void setBaseType(DeviceTypeEnum type);

    bool initialising = false; // while set, no control change leaves the page

private:
    bool sends(SettingsFieldEnum field, int8_t index) const;

    bool oneAxisBase = false;
};
