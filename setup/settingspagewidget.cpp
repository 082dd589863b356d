#include "settingspagewidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

void SettingsPageWidget::emitInt8IfNotInInit(SettingsFieldEnum field, int8_t index, int8_t data)
{
    if (!initialising)
        emit settingInt8Changed(field, index, data);
}

void SettingsPageWidget::emitUInt8IfNotInInit(SettingsFieldEnum field, int8_t index, uint8_t data)
{
    if (!initialising)
        emit settingUInt8Changed(field, index, data);
}

void SettingsPageWidget::emitInt16IfNotInInit(SettingsFieldEnum field, int8_t index, int16_t data)
{
    if (!initialising)
        emit settingInt16Changed(field, index, data);
}

void SettingsPageWidget::emitUInt16IfNotInInit(SettingsFieldEnum field, int8_t index, uint16_t data)
{
    if (!initialising)
        emit settingUInt16Changed(field, index, data);
}

void SettingsPageWidget::emitFloatIfNotInInit(SettingsFieldEnum field, int8_t index, float data)
{
    if (!initialising)
        emit settingFloatChanged(field, index, data);
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
