#pragma once

#include "settingsprotocol.h"

#include <QList>
#include <QWidget>

#include <utility>

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

    // Another base was picked: the page shows the form's initial values, sending
    // nothing, and stays disabled until that base's records have been loaded.
    void waitForRecords();

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
    bool hasSecondAxis() const { return !oneAxisBase; }

    // Remembers the values the form gave the controls; called once the page is built.
    void keepInitialValues();
    // One of the records the page needs, each a bit of all, was read from the base; once
    // all of them were, the page is enabled and true is returned.
    bool recordLoaded(unsigned record, unsigned all);

    // Each sets a control without sending and returns what it then holds: a spin box
    // clamps to its range, a combo given an index beyond its items holds none (-1).
    int holdValue(QSpinBox* spin, int value);
    int holdIndex(QComboBox* combo, int index);
    bool holdChecked(QCheckBox* box, bool checked);

    enum class Wire { Int8, UInt8, UInt16 };
    // Sends held when it differs from the base's value; a combo holding no item (a
    // negative value of an unsigned field) sends nothing.
    void sendIfDifferent(Wire wire, SettingsFieldEnum field, int8_t index, int held, int base);
    // Called for every integer setting the page sends, after it left.
    virtual void settingSent(SettingsFieldEnum field, int8_t index, int value);

    bool initialising = false; // while set, no control change leaves the page

private:
    bool sends(SettingsFieldEnum field, int8_t index) const;
    void showInitialValues();

    bool oneAxisBase = false;
    // Spin boxes, sliders, check boxes and combos with the value or index the form gave them.
    QList<std::pair<QWidget*, int>> initialValues;
    unsigned loadedRecords = ~0u; // a page that waits for no base shows what it is given
};
