#include "statuswidget.h"

#include "ui_statuswidget.h"
#include "uihelpers.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace {

QString floatText(double value)
{
    return QString::number(value, 'g', 6);
}

// Sets a field's minimum width to that of text, so that the layout never squeezes
// the field below the longest number it can be given.
void reserveWidthFor(QLineEdit* field, const QString& text)
{
    QStyleOptionFrame option;
    option.initFrom(field);
    option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
    const QMargins margins = field->textMargins();
    // 2 + 2 pixels of the line edit's own side margins and 1 for the cursor.
    const int contents =
        field->fontMetrics().horizontalAdvance(text) + 5 + margins.left() + margins.right();
    const QSize size = field->style()->sizeFromContents(
        QStyle::CT_LineEdit, &option, QSize(contents, field->sizeHint().height()), field);
    field->setMinimumWidth(size.width());
}

} // namespace

StatusWidget::StatusWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui_StatusWidget)
{
    ui->setupUi(this);
    overrideControls = {
        ui->on_ground_state_button, ui->airspeed_slider, ui->vertical_speed_slider,
        ui->prop_airflow_slider, ui->engine_rpm_slider, ui->rotor_rpm_slider,
        ui->aoa_slider, ui->g_force_slider, ui->gear_slider,
        ui->flaps_slider, ui->airbrake_slider, ui->afterburner_slider,
        ui->shk_mag_slider, ui->shk_frq_slider, ui->drop_weight_spinner,
        ui->drop_weight_button, ui->damage_spinner, ui->damage_button,
        ui->fire_button_1, ui->fire_button_2, ui->fire_button_3,
        ui->fire_button_4, ui->fire_button_5, ui->countermeasures_button,
        ui->reset_telemetry_button,
    };
    for (QLineEdit* field : {ui->flight_module, ui->joystick_state, ui->rudder_state, ui->throttle_state})
        field->setText(tr("Not detected"));
    // The longest texts a float ('g', 6 digits) or an int can give: 12 characters.
    const QString widestNumber = QStringLiteral("-8.88888e+88");
    for (QLineEdit* field :
         {ui->roll_input, ui->pitch_input, ui->yaw_input, ui->throttle_input, ui->roll_trim,
          ui->pitch_trim, ui->yaw_trim, ui->throttle_trim, ui->airspeed_field,
          ui->vertical_speed_field, ui->prop_airflow_field, ui->engine_rpm_field,
          ui->rotor_rpm_field, ui->aoa_field, ui->g_force_field, ui->gear_field, ui->flaps_field,
          ui->airbrake_field, ui->afterburner_field, ui->shk_mag_field, ui->shk_frq_field})
        reserveWidthFor(field, widestNumber);
    refreshTelemetryDisplay();
}

StatusWidget::~StatusWidget()
{
    delete ui;
}

void StatusWidget::setupForTelemetrySource(Telemetry::Source source)
{
    ui->telemetry_data_source_combo->setCurrentIndex(source);
    on_telemetry_data_source_combo_currentIndexChanged(source);
}

void StatusWidget::changeTelemetry(Telemetry record)
{
    if (overrideActive)
        return;
    telemetry = record;
    refreshTelemetryDisplay();
}

void StatusWidget::changeFlightModule(Telemetry::Source, QString flightModule)
{
    // A line edit never interprets markup, so a name from the network shows as sent.
    ui->flight_module->setText(flightModule);
}

void StatusWidget::endTelemetry()
{
    ui->flight_module->setText(tr("Not detected"));
}

void StatusWidget::disconnectDevice(DeviceTypeEnum type)
{
    if (QLineEdit* field = deviceField(type))
        field->setText(tr("Not detected"));
}

void StatusWidget::connectDevice(DeviceTypeEnum type, FirmwareVersionTypeDef version)
{
    QLineEdit* field = deviceField(type);
    if (!field)
        return;
    field->setText(tr("Connected (%1)")
                       .arg(firmwareVersionText(version.releaseType, version.releaseYear,
                                                version.releaseVersion, version.releasePatch)));
}

void StatusWidget::changeInputState(int axis, int position, int axisTrim)
{
    if (QLineEdit* field = inputField(axis))
        field->setText(floatText(double(qint64(position) + axisTrim) * 0.0001));
}

void StatusWidget::changeTrimData(int axis, int hardwareAxisTrim, bool hardwareForceRelease)
{
    QLineEdit* field = trimField(axis);
    if (!field)
        return;
    field->setText(hardwareForceRelease ? tr("RELEASE") : floatText(hardwareAxisTrim * 0.0001));
}

void StatusWidget::on_telemetry_data_source_combo_currentIndexChanged(int index)
{
    const auto source = Telemetry::Source(index);
    if (source == Telemetry::TELEMETRY_SOURCE_NONE) {
        overrideActive = true;
        telemetry = Telemetry();
        for (QWidget* control : overrideControls)
            control->setEnabled(true);
        refreshTelemetryDisplay();
        emit telemetryOverrideEnabled();
        emit telemetrySourceChanged(source);
        // The worker would otherwise fly on with the simulator's last record until the
        // first control moves.
        emit telemetryChanged(telemetry);
        return;
    }
    overrideActive = false;
    for (QWidget* control : overrideControls)
        control->setEnabled(false);
    on_reset_telemetry_button_clicked();
    emit telemetryOverrideDisabled();
    emit telemetrySourceChanged(source);
}

void StatusWidget::on_airspeed_slider_valueChanged(int value)
{
    telemetry.airspeed = float(value);
    emitChangedAndRefresh();
}

void StatusWidget::on_prop_airflow_slider_valueChanged(int value)
{
    telemetry.propAirflow = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_aoa_slider_valueChanged(int value)
{
    telemetry.aoa = float(value);
    emitChangedAndRefresh();
}

void StatusWidget::on_g_force_slider_valueChanged(int value)
{
    telemetry.gForce = float(value);
    emitChangedAndRefresh();
}

void StatusWidget::on_gear_slider_valueChanged(int value)
{
    const float old = float(telemetry.gear);
    telemetry.gear = value;
    emit telemetryChanged(telemetry);
    // The gear locks whenever it reaches or leaves either end position.
    if ((old < 100 && value == 100) || (old == 100 && value <= 99) || (value == 0 && old > 0)
        || (old == 0 && value > 0))
        emit gearLock();
    refreshTelemetryDisplay();
}

void StatusWidget::on_flaps_slider_valueChanged(int value)
{
    telemetry.flaps = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_airbrake_slider_valueChanged(int value)
{
    telemetry.airbrake = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_vertical_speed_slider_valueChanged(int value)
{
    telemetry.verticalSpeed = float(value);
    emitChangedAndRefresh();
}

void StatusWidget::on_on_ground_state_button_clicked()
{
    telemetry.onGround = !telemetry.onGround;
    if (telemetry.onGround)
        emit landed(telemetry.verticalSpeed, telemetry.airspeed);
    emitChangedAndRefresh();
}

void StatusWidget::on_reset_telemetry_button_clicked()
{
    telemetry = Telemetry();
    // Each slider that moves emits one more zero record through its own handler.
    for (QSlider* slider :
         {ui->airspeed_slider, ui->vertical_speed_slider, ui->prop_airflow_slider,
          ui->engine_rpm_slider, ui->rotor_rpm_slider, ui->aoa_slider, ui->g_force_slider,
          ui->gear_slider, ui->flaps_slider, ui->airbrake_slider, ui->afterburner_slider,
          ui->shk_mag_slider, ui->shk_frq_slider})
        slider->setValue(0);
    emitChangedAndRefresh();
}

void StatusWidget::on_engine_rpm_slider_valueChanged(int value)
{
    telemetry.engineRpm = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_rotor_rpm_slider_valueChanged(int value)
{
    telemetry.rotorRpm = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_afterburner_slider_valueChanged(int value)
{
    telemetry.afterburner = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_drop_weight_button_clicked()
{
    emit weaponReleased(float(ui->drop_weight_spinner->value()));
}

void StatusWidget::on_damage_button_clicked(bool)
{
    emit damageReceived(float(ui->damage_spinner->value()));
}

void StatusWidget::on_countermeasures_button_clicked()
{
    emit countermeasureReleased();
}

void StatusWidget::on_shk_mag_slider_valueChanged(int value)
{
    telemetry.shakeMagnitude = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_shk_frq_slider_valueChanged(int value)
{
    telemetry.shakeFrequency = value;
    emitChangedAndRefresh();
}

void StatusWidget::on_fire_button_1_pressed() { setGunfireTrigger(0, true); }
void StatusWidget::on_fire_button_1_released() { setGunfireTrigger(0, false); }
void StatusWidget::on_fire_button_2_pressed() { setGunfireTrigger(1, true); }
void StatusWidget::on_fire_button_2_released() { setGunfireTrigger(1, false); }
void StatusWidget::on_fire_button_3_pressed() { setGunfireTrigger(2, true); }
void StatusWidget::on_fire_button_3_released() { setGunfireTrigger(2, false); }
void StatusWidget::on_fire_button_4_pressed() { setGunfireTrigger(3, true); }
void StatusWidget::on_fire_button_4_released() { setGunfireTrigger(3, false); }
void StatusWidget::on_fire_button_5_pressed() { setGunfireTrigger(4, true); }
void StatusWidget::on_fire_button_5_released() { setGunfireTrigger(4, false); }

void StatusWidget::refreshTelemetryDisplay()
{
    ui->on_ground_state_field->setText(telemetry.onGround ? tr("YES") : tr("NO"));
    ui->airspeed_field->setText(floatText(telemetry.airspeed));
    ui->vertical_speed_field->setText(floatText(telemetry.verticalSpeed));
    ui->prop_airflow_field->setText(QString::number(telemetry.propAirflow));
    ui->engine_rpm_field->setText(QString::number(telemetry.engineRpm));
    ui->rotor_rpm_field->setText(QString::number(telemetry.rotorRpm));
    ui->aoa_field->setText(floatText(telemetry.aoa));
    ui->g_force_field->setText(floatText(telemetry.gForce));
    ui->gear_field->setText(QString::number(telemetry.gear));
    ui->flaps_field->setText(QString::number(telemetry.flaps));
    ui->airbrake_field->setText(QString::number(telemetry.airbrake));
    ui->afterburner_field->setText(QString::number(telemetry.afterburner));
    ui->shk_mag_field->setText(QString::number(telemetry.shakeMagnitude));
    ui->shk_frq_field->setText(QString::number(telemetry.shakeFrequency));
    ui->drop_weight_spinner->setValue(0);
    ui->damage_spinner->setValue(0);
    for (int trigger = 0; trigger < Telemetry::gunfireTriggerCount; ++trigger)
        fireField(trigger)->setText(telemetry.gunfireTriggers[trigger] ? tr("FIRING") : QString());
}

void StatusWidget::emitChangedAndRefresh()
{
    emit telemetryChanged(telemetry);
    refreshTelemetryDisplay();
}

void StatusWidget::setGunfireTrigger(int trigger, bool firing)
{
    telemetry.gunfireTriggers[trigger] = firing;
    fireField(trigger)->setText(firing ? tr("FIRING") : QString());
    emit telemetryChanged(telemetry);
}

QLineEdit* StatusWidget::deviceField(DeviceTypeEnum type) const
{
    switch (type) {
    case DEVICE_TYPE_JOYSTICK:
        return ui->joystick_state;
    case DEVICE_TYPE_RUDDER:
        return ui->rudder_state;
    case DEVICE_TYPE_COLLECTIVE:
        return ui->throttle_state;
    default:
        return nullptr;
    }
}

QLineEdit* StatusWidget::fireField(int trigger) const
{
    QLineEdit* const fields[Telemetry::gunfireTriggerCount] = {
        ui->fire_field_1, ui->fire_field_2, ui->fire_field_3, ui->fire_field_4, ui->fire_field_5};
    return fields[trigger];
}

QLineEdit* StatusWidget::inputField(int axis) const
{
    QLineEdit* const fields[] = {ui->roll_input, ui->pitch_input, ui->yaw_input, ui->throttle_input};
    return axis >= 0 && axis < 4 ? fields[axis] : nullptr;
}

QLineEdit* StatusWidget::trimField(int axis) const
{
    QLineEdit* const fields[] = {ui->roll_trim, ui->pitch_trim, ui->yaw_trim, ui->throttle_trim};
    return axis >= 0 && axis < 4 ? fields[axis] : nullptr;
}
