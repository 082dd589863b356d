#include "settingspagewidget.h"
#include "settingslimits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QScopedValueRollback>
#include <QSlider>
#include <QSpinBox>

void SettingsPageWidget::emitInt8IfNotInInit(SettingsFieldEnum field, int8_t index, int8_t data)
{
    if (!sends(field, index))
        return;
    emit settingInt8Changed(field, index, data);
    settingSent(field, index, data);
}

void SettingsPageWidget::emitUInt8IfNotInInit(SettingsFieldEnum field, int8_t index, uint8_t data)
{
    if (!sends(field, index))
        return;
    emit settingUInt8Changed(field, index, data);
    settingSent(field, index, data);
}

void SettingsPageWidget::emitInt16IfNotInInit(SettingsFieldEnum field, int8_t index, int16_t data)
{
    if (!sends(field, index))
        return;
    emit settingInt16Changed(field, index, data);
    settingSent(field, index, data);
}

void SettingsPageWidget::emitUInt16IfNotInInit(SettingsFieldEnum field, int8_t index, uint16_t data)
{
    if (!sends(field, index))
        return;
    emit settingUInt16Changed(field, index, data);
    settingSent(field, index, data);
}

void SettingsPageWidget::emitFloatIfNotInInit(SettingsFieldEnum field, int8_t index, float data)
{
    if (sends(field, index))
        emit settingFloatChanged(field, index, data);
}

void SettingsPageWidget::setBaseType(DeviceTypeEnum type)
{
    oneAxisBase = type == DEVICE_TYPE_RUDDER || type == DEVICE_TYPE_WHEEL || type == DEVICE_TYPE_COLLECTIVE;
}

bool SettingsPageWidget::sends(SettingsFieldEnum field, int8_t index) const
{
    return !initialising && !(oneAxisBase && isSecondAxisSetting(field, index));
}

void SettingsPageWidget::settingSent(SettingsFieldEnum, int8_t, int) {}

void SettingsPageWidget::keepInitialValues()
{
    for (QSpinBox* spin : findChildren<QSpinBox*>())
        initialValues.append({spin, spin->value()});
    // After the spin boxes, so a slider that does not follow its box is set too.
    for (QSlider* slider : findChildren<QSlider*>())
        initialValues.append({slider, slider->value()});
    for (QCheckBox* box : findChildren<QCheckBox*>())
        initialValues.append({box, box->isChecked() ? 1 : 0});
    // An editable combo names a profile, no setting.
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        if (!combo->isEditable())
            initialValues.append({combo, combo->currentIndex()});
    }
}

void SettingsPageWidget::showInitialValues()
{
    const QScopedValueRollback<bool> quiet(initialising, true);
    for (const auto& [widget, value] : std::as_const(initialValues)) {
        if (auto* spin = qobject_cast<QSpinBox*>(widget))
            spin->setValue(value);
        else if (auto* slider = qobject_cast<QSlider*>(widget))
            slider->setValue(value);
        else if (auto* box = qobject_cast<QCheckBox*>(widget))
            box->setChecked(value != 0);
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            combo->setCurrentIndex(value);
    }
}

void SettingsPageWidget::waitForRecords()
{
    setEnabled(false);
    loadedRecords = 0;
    showInitialValues();
}

bool SettingsPageWidget::recordLoaded(unsigned record, unsigned all)
{
    loadedRecords |= record;
    if ((loadedRecords & all) != all)
        return false;
    setEnabled(true);
    return true;
}

int SettingsPageWidget::holdValue(QSpinBox* spin, int value)
{
    const QScopedValueRollback<bool> quiet(initialising, true);
    if (spin->value() != value)
        spin->setValue(value);
    return spin->value();
}

int SettingsPageWidget::holdIndex(QComboBox* combo, int index)
{
    const QScopedValueRollback<bool> quiet(initialising, true);
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
    return combo->currentIndex();
}

bool SettingsPageWidget::holdChecked(QCheckBox* box, bool checked)
{
    const QScopedValueRollback<bool> quiet(initialising, true);
    if (box->isChecked() != checked)
        box->setChecked(checked);
    return box->isChecked();
}

void SettingsPageWidget::sendIfDifferent(Wire wire, SettingsFieldEnum field, int8_t index, int held, int base)
{
    if (held == base || (held < 0 && wire != Wire::Int8))
        return;
    switch (wire) {
    case Wire::Int8: emitInt8IfNotInInit(field, index, int8_t(held)); break;
    case Wire::UInt8: emitUInt8IfNotInInit(field, index, uint8_t(held)); break;
    case Wire::UInt16: emitUInt16IfNotInInit(field, index, uint16_t(held)); break;
    }
}

void SettingsPageWidget::sendFlag(QCheckBox* box, SettingsFieldEnum field, int8_t index)
{
    connect(box, &QCheckBox::stateChanged, this,
            [this, field, index](int state) { emitUInt8IfNotInInit(field, index, state > 0 ? 1 : 0); });
}

void SettingsPageWidget::sendDirection(QCheckBox* box, SettingsFieldEnum field, int8_t index)
{
    connect(box, &QCheckBox::stateChanged, this,
            [this, field, index](int state) { emitInt8IfNotInInit(field, index, state > 0 ? 1 : -1); });
}

void SettingsPageWidget::sendItemIndex(QComboBox* combo, SettingsFieldEnum field, int8_t index)
{
    connect(combo, &QComboBox::currentIndexChanged, this, [this, field, index](int item) {
        // No current item is no value to send.
        if (item >= 0)
            emitUInt8IfNotInInit(field, index, uint8_t(item));
    });
}

void SettingsPageWidget::sendUInt8(QSpinBox* spin, SettingsFieldEnum field, int8_t index)
{
    connect(spin, &QSpinBox::valueChanged, this,
            [this, field, index](int value) { emitUInt8IfNotInInit(field, index, uint8_t(value)); });
}

void SettingsPageWidget::sendUInt16(QSpinBox* spin, SettingsFieldEnum field, int8_t index)
{
    connect(spin, &QSpinBox::valueChanged, this,
            [this, field, index](int value) { emitUInt16IfNotInInit(field, index, uint16_t(value)); });
}
