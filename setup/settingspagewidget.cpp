#include "settingspagewidget.h"
#include "settingslimits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>

void SettingsPageWidget::emitInt8IfNotInInit(SettingsFieldEnum field, int8_t index, int8_t data)
{
    if (sends(field, index))
        emit settingInt8Changed(field, index, data);
}

void SettingsPageWidget::emitUInt8IfNotInInit(SettingsFieldEnum field, int8_t index, uint8_t data)
{
    if (sends(field, index))
        emit settingUInt8Changed(field, index, data);
}

void SettingsPageWidget::emitInt16IfNotInInit(SettingsFieldEnum field, int8_t index, int16_t data)
{
    if (sends(field, index))
        emit settingInt16Changed(field, index, data);
}

void SettingsPageWidget::emitUInt16IfNotInInit(SettingsFieldEnum field, int8_t index, uint16_t data)
{
    if (sends(field, index))
        emit settingUInt16Changed(field, index, data);
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
