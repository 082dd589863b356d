#include "fullhardwaresettingswidget.h"
#include "settingspagehelpers.h"
#include "ui_fullhardwaresettingswidget.h"

#include <algorithm>
#include <cmath>

namespace {

// A gain as its spin box shows it: scaled, brought into the box's range (a gain that
// is not finite counts as 0) and only then made whole, so no float outside int's
// range is converted. The P gain is rounded, so 0.53 stored in single precision shows
// 53; the I gain is cut toward zero.
int shownGain(float gain, float scale, bool round, const QSpinBox* spin)
{
    if (!std::isfinite(gain))
        gain = 0.0f;
    const float shown = std::clamp(gain * scale, float(spin->minimum()), float(spin->maximum()));
    return round ? int(std::lround(shown)) : int(shown);
}

constexpr float pGainScale = 100.0f; // shown and edited as hundredths

} // namespace

FullHardwareSettingsWidget::FullHardwareSettingsWidget(QWidget* parent)
    : SettingsPageWidget(parent)
    , ui(new Ui_FullHardwareSettingsWidget)
{
    ui->setupUi(this);

    // After the form's links and the named slots: the calibration speed pair relies on it.
    sendFlag(ui->debug_forces, FIELD_DEBUG_FORCES, 0);
    sendFlag(ui->force_enable, FIELD_FORCE_ENABLE, 0);
    sendItemIndex(ui->amplifier_gain, FIELD_AMPLIFIER_GAIN, 0);
    sendItemIndex(ui->calibration_mode, FIELD_CALIBRATION_MODE, 0);
    sendUInt8(ui->power_limit, FIELD_POWER_LIMIT, 0);
    sendUInt8(ui->calibration_magnitude, FIELD_CALIBRATION_MAGNITUDE, 0);
    sendUInt8(ui->calibration_speed, FIELD_CALIBRATION_SPEED, 0);
    sendUInt8(ui->braking_limit, FIELD_BRAKING_LIMIT, 0);
    sendUInt8(ui->speed_sample_buffer_size, FIELD_SPEED_SAMPLE_BUFFER_SIZE, 0);
    sendUInt8(ui->position_smoothing, FIELD_POSITION_SMOOTHING, 0);
    sendDirection(ui->axis0_encoder_direction, FIELD_ENCODER_DIRECTION, 0);
    sendDirection(ui->axis0_force_direction, FIELD_FORCE_DIRECTION, 0);
    sendUInt16(ui->axis0_encoder_CPR, FIELD_ENCODER_CPR, 0);
    sendUInt8(ui->axis0_pole_pair, FIELD_POLE_PAIRS, 0);
    sendGain(ui->axis0_p_gain, FIELD_P_GAIN, 0, pGainScale);
    sendGain(ui->axis0_i_gain, FIELD_I_GAIN, 0, 1.0f);
    sendDirection(ui->axis1_encoder_direction, FIELD_ENCODER_DIRECTION, 1);
    sendDirection(ui->axis1_force_direction, FIELD_FORCE_DIRECTION, 1);
    sendUInt16(ui->axis1_encoder_CPR, FIELD_ENCODER_CPR, 1);
    sendUInt8(ui->axis1_pole_pair, FIELD_POLE_PAIRS, 1);
    sendGain(ui->axis1_p_gain, FIELD_P_GAIN, 1, pGainScale);
    sendGain(ui->axis1_i_gain, FIELD_I_GAIN, 1, 1.0f);
    keepInitialValues();
}

FullHardwareSettingsWidget::~FullHardwareSettingsWidget()
{
    delete ui;
}

void FullHardwareSettingsWidget::sendGain(QSpinBox* spin, SettingsFieldEnum field, int8_t axis, float scale)
{
    connect(spin, &QSpinBox::valueChanged, this, [this, field, axis, scale](int value) {
        emitFloatIfNotInInit(field, axis, float(value / double(scale)));
    });
}

void FullHardwareSettingsWidget::setDeviceType(DeviceTypeEnum type, bool advanced)
{
    deviceType = type;
    setBaseType(type);
    disableUnsupportedElements(advanced);
}

void FullHardwareSettingsWidget::settingsToUi(const HardwareSettingsTypeDef& settings)
{
    initialising = true;
    fillCalibrationModeCombo(ui->calibration_mode, deviceType);
    setAxisTabsVisibility(ui->axis_tab, deviceType);

    ui->force_enable->setChecked(settings.forceEnable != 0);
    ui->debug_forces->setChecked(settings.debugForces != 0);
    ui->amplifier_gain->setCurrentIndex(settings.amplifierGain);
    ui->calibration_mode->setCurrentIndex(settings.calibrationMode);
    ui->power_limit->setValue(settings.powerLimit);
    ui->calibration_magnitude->setValue(settings.calibrationMagnitude);
    ui->calibration_speed->setValue(settings.calibrationSpeed);
    ui->braking_limit->setValue(settings.brakingLimit);
    ui->speed_sample_buffer_size->setValue(settings.speedSampleBufferSize);
    ui->position_smoothing->setValue(settings.positionSmoothing);
    loadAxis(settings.axis[0], ui->axis0_encoder_direction, ui->axis0_force_direction,
             ui->axis0_encoder_CPR, ui->axis0_pole_pair, ui->axis0_p_gain, ui->axis0_i_gain);
    loadAxis(settings.axis[1], ui->axis1_encoder_direction, ui->axis1_force_direction,
             ui->axis1_encoder_CPR, ui->axis1_pole_pair, ui->axis1_p_gain, ui->axis1_i_gain);

    initialising = false;
    recordLoaded(1, 1);
}

void FullHardwareSettingsWidget::loadAxis(const HardwareAxisSettingsTypeDef& axis, QCheckBox* encoderDirection,
                                          QCheckBox* forceDirection, QSpinBox* encoderCpr,
                                          QSpinBox* polePairs, QSpinBox* pGain, QSpinBox* iGain)
{
    encoderDirection->setChecked(axis.encoderDirection == 1);
    forceDirection->setChecked(axis.forceDirection == 1);
    encoderCpr->setValue(axis.encoderCpr);
    polePairs->setValue(axis.polePairs);
    pGain->setValue(shownGain(axis.pGain, pGainScale, true, pGain));
    iGain->setValue(shownGain(axis.iGain, 1.0f, false, iGain));
}

void FullHardwareSettingsWidget::disableUnsupportedElements(bool advanced)
{
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ui->speed_sample_buffer_size, ui->speed_sample_buffer_size_slider,
             ui->speed_sample_buffer_size_label, ui->position_smoothing, ui->position_smoothing_slider,
             ui->position_smoothing_label, ui->axis0_p_gain, ui->axis0_p_gain_label, ui->axis0_i_gain,
             ui->axis0_i_gain_label, ui->axis1_p_gain, ui->axis1_p_gain_label, ui->axis1_i_gain,
             ui->axis1_i_gain_label})
        widget->setVisible(true);
    if (!advanced) {
        ui->amplifier_gain->setVisible(false);
        ui->amplifier_gain_label->setVisible(false);
    }
}

void FullHardwareSettingsWidget::on_calibration_speed_valueChanged(int arg1)
{
    sliderFollowsSpinBox(ui->calibration_speed_slider, arg1);
}

void FullHardwareSettingsWidget::on_calibration_speed_slider_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->calibration_speed, value);
}
