#include "gpioextensionwidget.h"
#include "settingspagehelpers.h"
#include "ui_gpioextensionwidget.h"

#include <cstring>

namespace {

constexpr int pinCount = 10;
constexpr int buttonCount = 32;
constexpr int channelCount = 3;
constexpr int encoderZ0Pin = 8;
constexpr int brakingPwmPin = 7;

// Pin-mode rows a pin does not offer.
constexpr int genericButtonMode = 1;
constexpr int analogMode = 2;
constexpr int brakingPwmMode = 8;

// The records the page needs before it is enabled.
constexpr unsigned adcRecordBit = 1;
constexpr unsigned gpioRecordBit = 2;
constexpr unsigned bothRecords = adcRecordBit | gpioRecordBit;

constexpr int customExtension = 1;
constexpr int tianhangExtension = 12;
constexpr int buttonModesItem = 2;
constexpr int analogAxesItem = 3;

QList<QComboBox*> pinCombosOf(const Ui_GpioExtensionWidget* ui)
{
    return {ui->gpioModeCombo_1, ui->gpioModeCombo_2, ui->gpioModeCombo_3, ui->gpioModeCombo_4,
            ui->gpioModeCombo_5, ui->gpioModeCombo_6, ui->gpioModeCombo_7, ui->gpioModeCombo_8,
            ui->gpioModeCombo_9, ui->gpioModeCombo_10};
}

QList<QComboBox*> buttonCombosOf(const Ui_GpioExtensionWidget* ui)
{
    return {ui->buttonMode_pin_1, ui->buttonMode_pin_2, ui->buttonMode_pin_3, ui->buttonMode_pin_4,
            ui->buttonMode_pin_5, ui->buttonMode_pin_6, ui->buttonMode_pin_7, ui->buttonMode_pin_8,
            ui->buttonMode_9,     ui->buttonMode_10,    ui->buttonMode_11,    ui->buttonMode_12,
            ui->buttonMode_13,    ui->buttonMode_14,    ui->buttonMode_15,    ui->buttonMode_16,
            ui->buttonMode_17,    ui->buttonMode_18,    ui->buttonMode_19,    ui->buttonMode_20,
            ui->buttonMode_21,    ui->buttonMode_22,    ui->buttonMode_23,    ui->buttonMode_24,
            ui->buttonMode_25,    ui->buttonMode_26,    ui->buttonMode_27,    ui->buttonMode_28,
            ui->buttonMode_29,    ui->buttonMode_30,    ui->buttonMode_31,    ui->buttonMode_32};
}

void setComboIndexIfDifferent(QComboBox* combo, int index)
{
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
}

void setCheckedIfDifferent(QCheckBox* box, bool checked)
{
    if (box->isChecked() != checked)
        box->setChecked(checked);
}

} // namespace

GpioExtensionWidget::GpioExtensionWidget(QWidget* parent)
    : SettingsPageWidget(parent)
    , ui(new Ui_GpioExtensionWidget)
    , profiles(QStringLiteral("periphery_profiles"),
               int(sizeof(AdcExtensionSettingsTypeDef) + sizeof(GpioExtensionSettingsTypeDef)))
{
    ui->setupUi(this);

    connect(ui->spiModeCombo_1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emitUInt8IfNotInInit(FIELD_EXTENSION_MODE, 0, uint8_t(index));
        updatePeripherySections(); // also while loading
    });
    const QList<QComboBox*> pins = pinCombosOf(ui);
    for (int pin = 0; pin < pinCount; ++pin)
        sendItemIndex(pins[pin], FIELD_GPIO_MODE, int8_t(pin));
    const QList<QComboBox*> buttons = buttonCombosOf(ui);
    for (int button = 0; button < buttonCount; ++button)
        sendItemIndex(buttons[button], FIELD_BUTTON_MODE, int8_t(button));
    sendItemIndex(ui->spi_mode_dropdown, FIELD_SPI_MODE, 0);
    sendItemIndex(ui->latch_mode_dropdown, FIELD_SPI_LATCH_MODE, 0);
    sendUInt8(ui->spi_latch_delay, FIELD_SPI_LATCH_DELAY, 0);
    sendUInt8(ui->spi_pulse_length, FIELD_SPI_CLK_PULSE_LENGTH, 0);
    QSpinBox* const lower[] = {ui->lowerDeadZoneSpinBox_1, ui->lowerDeadZoneSpinBox_2, ui->lowerDeadZoneSpinBox_3};
    QSpinBox* const upper[] = {ui->upperDeadZoneSpinBox_1, ui->upperDeadZoneSpinBox_2, ui->upperDeadZoneSpinBox_3};
    QSpinBox* const low[] = {ui->analogButtonLowSpinBox_1, ui->analogButtonLowSpinBox_2, ui->analogButtonLowSpinBox_3};
    QSpinBox* const high[] = {ui->analogButtonHighSpinBox_1, ui->analogButtonHighSpinBox_2, ui->analogButtonHighSpinBox_3};
    QSpinBox* const smoothing[] = {ui->analogSmoothingSpinBox_1, ui->analogSmoothingSpinBox_2, ui->analogSmoothingSpinBox_3};
    QCheckBox* const invert[] = {ui->analog1_invert, ui->analog2_invert, ui->analog3_invert};
    for (int channel = 0; channel < channelCount; ++channel) {
        const auto index = int8_t(channel);
        sendUInt16(lower[channel], FIELD_ADC_LOWER_DEAD_ZONE, index);
        sendUInt16(upper[channel], FIELD_ADC_UPPER_DEAD_ZONE, index);
        sendUInt8(low[channel], FIELD_ADC_BUTTON_LOW, index);
        sendUInt8(high[channel], FIELD_ADC_BUTTON_HIGH, index);
        sendUInt8(smoothing[channel], FIELD_ADC_SMOOTHING, index);
        sendFlag(invert[channel], FIELD_ADC_INVERT, index);
    }
    sendFlag(ui->enable_reset_button, FIELD_RESET_CENTER_ON_Z0, 1);

    // Filling the combos moves each to its first item; that is no edit of the user's.
    initialising = true;
    prepareGpioComboBoxes();
    prepareButtonComboBoxes();
    prepareAnalogSpinBoxes();
    initialising = false;

    enableProfileRow(profiles, ui->profile_combo_box, ui->profile_save_button, ui->profile_delete_button);
    activateOnlyOnChoiceOrEnter(ui->profile_combo_box);
    readProfiles();
    ui->gpio_tool_box->setCurrentIndex(0);
    keepInitialValues();
}

GpioExtensionWidget::~GpioExtensionWidget()
{
    delete ui;
}

void GpioExtensionWidget::prepareGpioComboBoxes()
{
    pinCombos = pinCombosOf(ui);
    const QStringList modes = {tr("Disabled"),          tr("Generic button"),        tr("Analog"),
                               tr("SPI CS"),            tr("SPI SCK"),               tr("SPI MISO"),
                               tr("Enable effects switch"), tr("Reset center button"), tr("Braking PWM"),
                               tr("Effect LED"),        tr("Reboot")};
    for (int pin = 0; pin < pinCount; ++pin) {
        QComboBox* combo = pinCombos[pin];
        combo->addItems(modes);
        if (pin != brakingPwmPin)
            setComboRowHidden(combo, brakingPwmMode, true);
        if (pin >= 3)
            setComboRowHidden(combo, analogMode, true);
        if (pin >= encoderZ0Pin)
            setComboRowHidden(combo, genericButtonMode, true);
    }
    // The grip names are product names and stay as they are.
    ui->spiModeCombo_1->addItems({tr("Disabled"), tr("Custom"), QStringLiteral("Thrustmaster"),
                                  QStringLiteral("VPC MongoosT"), QStringLiteral("VPC MongoosT CM2"),
                                  QStringLiteral("VPC VFX"), QStringLiteral("VPC Alpha"),
                                  QStringLiteral("VPC Alpha Prime R"), QStringLiteral("VPC Flnkr"),
                                  QStringLiteral("VPC Ka-50"), QStringLiteral("VPC UH-60"),
                                  QStringLiteral("VPC Apache-64"), QStringLiteral("TIANHANG F18")});
}

void GpioExtensionWidget::prepareButtonComboBoxes()
{
    buttonCombos = buttonCombosOf(ui);
    const QStringList modes = {tr("Disabled"), tr("Normal"), tr("Inverted")};
    for (QComboBox* combo : std::as_const(buttonCombos))
        combo->addItems(modes);
}

void GpioExtensionWidget::prepareAnalogSpinBoxes()
{
    smoothingSpins = {ui->analogSmoothingSpinBox_1, ui->analogSmoothingSpinBox_2, ui->analogSmoothingSpinBox_3};
    lowerDeadZoneSpins = {ui->lowerDeadZoneSpinBox_1, ui->lowerDeadZoneSpinBox_2, ui->lowerDeadZoneSpinBox_3};
    upperDeadZoneSpins = {ui->upperDeadZoneSpinBox_1, ui->upperDeadZoneSpinBox_2, ui->upperDeadZoneSpinBox_3};
    buttonLowSpins = {ui->analogButtonLowSpinBox_1, ui->analogButtonLowSpinBox_2, ui->analogButtonLowSpinBox_3};
    buttonHighSpins = {ui->analogButtonHighSpinBox_1, ui->analogButtonHighSpinBox_2, ui->analogButtonHighSpinBox_3};
    invertBoxes = {ui->analog1_invert, ui->analog2_invert, ui->analog3_invert};
}

void GpioExtensionWidget::setupPeripheryControls()
{
    ui->profiles_group_box->show();
    ui->gpio_tool_box->show();
    ui->enable_reset_button->hide();
}

void GpioExtensionWidget::updatePeripherySections()
{
    bool genericButton = false;
    bool analog = false;
    for (const QComboBox* combo : std::as_const(pinCombos)) {
        genericButton = genericButton || combo->currentIndex() == genericButtonMode;
        analog = analog || combo->currentIndex() == analogMode;
    }
    const int type = ui->spiModeCombo_1->currentIndex();
    if (type >= 0 && type < ui->extension_settings->count())
        ui->extension_settings->setCurrentIndex(type);
    const bool custom = type == customExtension;
    ui->gpio_tool_box->setItemEnabled(buttonModesItem, custom || genericButton);
    // No selection (-1) counts as a large type, as the firmware's unsigned byte would.
    ui->gpio_tool_box->setItemEnabled(analogAxesItem,
                                      analog || (unsigned(type) > 2 && type != tianhangExtension));
    ui->button_modes_group_box->setEnabled(genericButton);
    ui->shiftRegistersGroup_1->setEnabled(custom);
    ui->shiftRegistersGroup_2->setEnabled(custom);
    ui->shiftRegistersGroup_3->setEnabled(custom);
}

void GpioExtensionWidget::gpioSettingsToUi(const GpioExtensionSettingsTypeDef& record, bool send)
{
    if (send) {
        applyGpioRecord(record);
        return;
    }
    baseGpio = record;
    showBaseRecords(gpioRecordBit);
}

void GpioExtensionWidget::showGpioRecord(const GpioExtensionSettingsTypeDef& record)
{
    initialising = true;
    setComboIndexIfDifferent(ui->spiModeCombo_1, record.extensionType);
    setComboIndexIfDifferent(ui->spi_mode_dropdown, record.spiMode);
    setComboIndexIfDifferent(ui->latch_mode_dropdown, record.spiLatchMode);
    setSpinBoxValueIfDifferent(ui->spi_latch_delay, record.spiLatchDelay);
    setSpinBoxValueIfDifferent(ui->spi_pulse_length, record.spiClkPulseLength);
    for (int pin = 0; pin < pinCount; ++pin) {
        setComboIndexIfDifferent(pinCombos[pin], record.pinModes[pin]);
        if (pin == encoderZ0Pin)
            setCheckedIfDifferent(ui->enable_reset_button, record.pinModes[pin] != 0);
    }
    for (int button = 0; button < buttonCount; ++button)
        setComboIndexIfDifferent(buttonCombos[button], record.buttonModes[button]);
    initialising = false;
    updatePeripherySections();
}

void GpioExtensionWidget::adcSettingsToUi(const AdcExtensionSettingsTypeDef& record, bool send)
{
    if (send) {
        applyAdcRecord(record);
        return;
    }
    baseAdc = record;
    showBaseRecords(adcRecordBit);
}

void GpioExtensionWidget::showBaseRecords(unsigned arrived)
{
    // Half of a base's records is not shown: the page shows both, or the form's values.
    if (!recordLoaded(arrived, bothRecords))
        return;
    showAdcRecord(baseAdc);
    showGpioRecord(baseGpio);
}

void GpioExtensionWidget::showAdcRecord(const AdcExtensionSettingsTypeDef& record)
{
    initialising = true;
    for (int channel = 0; channel < channelCount; ++channel) {
        setCheckedIfDifferent(invertBoxes[channel], record.invert[channel] != 0);
        setSpinBoxValueIfDifferent(buttonLowSpins[channel], record.buttonLow[channel]);
        setSpinBoxValueIfDifferent(buttonHighSpins[channel], record.buttonHigh[channel]);
        setSpinBoxValueIfDifferent(lowerDeadZoneSpins[channel], record.lowerDeadZone[channel]);
        setSpinBoxValueIfDifferent(upperDeadZoneSpins[channel], record.upperDeadZone[channel]);
        setSpinBoxValueIfDifferent(smoothingSpins[channel], record.smoothing[channel]);
    }
    initialising = false;
}

void GpioExtensionWidget::applyAdcRecord(const AdcExtensionSettingsTypeDef& profile)
{
    for (int channel = 0; channel < channelCount; ++channel) {
        const auto index = int8_t(channel);
        sendIfDifferent(Wire::UInt8, FIELD_ADC_INVERT, index,
                        holdChecked(invertBoxes[channel], profile.invert[channel] != 0) ? 1 : 0, baseAdc.invert[channel]);
        sendIfDifferent(Wire::UInt8, FIELD_ADC_BUTTON_LOW, index,
                        holdValue(buttonLowSpins[channel], profile.buttonLow[channel]), baseAdc.buttonLow[channel]);
        sendIfDifferent(Wire::UInt8, FIELD_ADC_BUTTON_HIGH, index,
                        holdValue(buttonHighSpins[channel], profile.buttonHigh[channel]), baseAdc.buttonHigh[channel]);
        sendIfDifferent(Wire::UInt16, FIELD_ADC_LOWER_DEAD_ZONE, index,
                        holdValue(lowerDeadZoneSpins[channel], profile.lowerDeadZone[channel]),
                        baseAdc.lowerDeadZone[channel]);
        sendIfDifferent(Wire::UInt16, FIELD_ADC_UPPER_DEAD_ZONE, index,
                        holdValue(upperDeadZoneSpins[channel], profile.upperDeadZone[channel]),
                        baseAdc.upperDeadZone[channel]);
        sendIfDifferent(Wire::UInt8, FIELD_ADC_SMOOTHING, index,
                        holdValue(smoothingSpins[channel], profile.smoothing[channel]), baseAdc.smoothing[channel]);
    }
}

void GpioExtensionWidget::applyGpioRecord(const GpioExtensionSettingsTypeDef& profile)
{
    sendIfDifferent(Wire::UInt8, FIELD_EXTENSION_MODE, 0, holdIndex(ui->spiModeCombo_1, profile.extensionType),
                    baseGpio.extensionType);
    sendIfDifferent(Wire::UInt8, FIELD_SPI_MODE, 0, holdIndex(ui->spi_mode_dropdown, profile.spiMode), baseGpio.spiMode);
    sendIfDifferent(Wire::UInt8, FIELD_SPI_LATCH_MODE, 0, holdIndex(ui->latch_mode_dropdown, profile.spiLatchMode),
                    baseGpio.spiLatchMode);
    sendIfDifferent(Wire::UInt8, FIELD_SPI_LATCH_DELAY, 0, holdValue(ui->spi_latch_delay, profile.spiLatchDelay),
                    baseGpio.spiLatchDelay);
    sendIfDifferent(Wire::UInt8, FIELD_SPI_CLK_PULSE_LENGTH, 0,
                    holdValue(ui->spi_pulse_length, profile.spiClkPulseLength), baseGpio.spiClkPulseLength);
    for (int pin = 0; pin < pinCount; ++pin) {
        sendIfDifferent(Wire::UInt8, FIELD_GPIO_MODE, int8_t(pin), holdIndex(pinCombos[pin], profile.pinModes[pin]),
                        baseGpio.pinModes[pin]);
        // No record holds this one: the box sends it when it changes.
        if (pin == encoderZ0Pin)
            setCheckedIfDifferent(ui->enable_reset_button, profile.pinModes[pin] != 0);
    }
    for (int button = 0; button < buttonCount; ++button)
        sendIfDifferent(Wire::UInt8, FIELD_BUTTON_MODE, int8_t(button),
                        holdIndex(buttonCombos[button], profile.buttonModes[button]), baseGpio.buttonModes[button]);
    updatePeripherySections();
}

void GpioExtensionWidget::settingSent(SettingsFieldEnum field, int8_t index, int value)
{
    const auto narrow = uint8_t(value);
    // Indexes are those the page's own controls send.
    switch (field) {
    case FIELD_EXTENSION_MODE: baseGpio.extensionType = narrow; break;
    case FIELD_GPIO_MODE: baseGpio.pinModes[index] = narrow; break;
    case FIELD_BUTTON_MODE: baseGpio.buttonModes[index] = narrow; break;
    case FIELD_SPI_MODE: baseGpio.spiMode = narrow; break;
    case FIELD_SPI_LATCH_MODE: baseGpio.spiLatchMode = narrow; break;
    case FIELD_SPI_LATCH_DELAY: baseGpio.spiLatchDelay = narrow; break;
    case FIELD_SPI_CLK_PULSE_LENGTH: baseGpio.spiClkPulseLength = narrow; break;
    case FIELD_ADC_LOWER_DEAD_ZONE: baseAdc.lowerDeadZone[index] = uint16_t(value); break;
    case FIELD_ADC_UPPER_DEAD_ZONE: baseAdc.upperDeadZone[index] = uint16_t(value); break;
    case FIELD_ADC_BUTTON_LOW: baseAdc.buttonLow[index] = narrow; break;
    case FIELD_ADC_BUTTON_HIGH: baseAdc.buttonHigh[index] = narrow; break;
    case FIELD_ADC_SMOOTHING: baseAdc.smoothing[index] = narrow; break;
    case FIELD_ADC_INVERT: baseAdc.invert[index] = narrow; break;
    default: break; // the reset center flag is in no record
    }
}

void GpioExtensionWidget::uiToGpioSettings(GpioExtensionSettingsTypeDef* record) const
{
    record->extensionType = uint8_t(ui->spiModeCombo_1->currentIndex());
    record->spiMode = uint8_t(ui->spi_mode_dropdown->currentIndex());
    record->spiLatchMode = uint8_t(ui->latch_mode_dropdown->currentIndex());
    record->spiLatchDelay = uint8_t(ui->spi_latch_delay->value());
    record->spiClkPulseLength = uint8_t(ui->spi_pulse_length->value());
    for (int pin = 0; pin < pinCount; ++pin)
        record->pinModes[pin] = uint8_t(pinCombos[pin]->currentIndex());
    for (int button = 0; button < buttonCount; ++button)
        record->buttonModes[button] = uint8_t(buttonCombos[button]->currentIndex());
}

void GpioExtensionWidget::uiToAdcSettings(AdcExtensionSettingsTypeDef* record) const
{
    for (int channel = 0; channel < channelCount; ++channel) {
        record->invert[channel] = invertBoxes[channel]->isChecked() ? 1 : 0;
        record->buttonLow[channel] = uint8_t(buttonLowSpins[channel]->value());
        record->buttonHigh[channel] = uint8_t(buttonHighSpins[channel]->value());
        record->smoothing[channel] = uint8_t(smoothingSpins[channel]->value());
        record->lowerDeadZone[channel] = uint16_t(lowerDeadZoneSpins[channel]->value());
        record->upperDeadZone[channel] = uint16_t(upperDeadZoneSpins[channel]->value());
    }
}

void GpioExtensionWidget::readProfiles()
{
    listProfiles(profiles, ui->profile_combo_box);
}

void GpioExtensionWidget::applyProfile(QString name)
{
    QByteArray bytes;
    if (!profiles.load(name, &bytes))
        return;
    AdcExtensionSettingsTypeDef adc;
    GpioExtensionSettingsTypeDef gpio;
    std::memcpy(&adc, bytes.constData(), sizeof(adc));
    std::memcpy(&gpio, bytes.constData() + sizeof(adc), sizeof(gpio));
    adcSettingsToUi(adc, true);
    gpioSettingsToUi(gpio, true);
}

void GpioExtensionWidget::on_profile_combo_box_activated(int index)
{
    applyProfile(ui->profile_combo_box->itemText(index));
}

void GpioExtensionWidget::on_profile_save_button_clicked()
{
    AdcExtensionSettingsTypeDef adc{};
    GpioExtensionSettingsTypeDef gpio{};
    uiToAdcSettings(&adc);
    uiToGpioSettings(&gpio);
    QByteArray bytes(reinterpret_cast<const char*>(&adc), sizeof(adc));
    bytes.append(reinterpret_cast<const char*>(&gpio), sizeof(gpio));
    saveProfile(profiles, ui->profile_combo_box, bytes);
}

void GpioExtensionWidget::on_profile_delete_button_clicked()
{
    profiles.remove(ui->profile_combo_box->currentText());
    readProfiles();
}
