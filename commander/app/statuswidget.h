#pragma once

#include "deviceprotocol.h"
#include "telemetry.h"

#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class Ui_StatusWidget;

// The panel beside the pages: base connections, axis inputs and trims, the flight
// module and every telemetry value, and the choice of the telemetry source. Its
// first choice, "Debug", turns it into the manual telemetry test panel, whose
// controls build the record and fire the flight events. GUI thread only.
class StatusWidget : public QWidget
{
    Q_OBJECT

public:
    explicit StatusWidget(QWidget* parent = nullptr);
    ~StatusWidget() override;

signals:
    void telemetrySourceChanged(Telemetry::Source source);
    void telemetryOverrideEnabled();
    void telemetryOverrideDisabled();
    void telemetryChanged(Telemetry telemetry);
    // verticalSpeed in m/s, airspeed in km/h.
    void landed(float verticalSpeed, float airspeed);
    void weaponReleased(float releasedWeight);
    void damageReceived(float damagePercent);
    void countermeasureReleased();
    void gearLock();

public slots:
    // Selects the source and runs its handler even when the combo already shows it.
    void setupForTelemetrySource(Telemetry::Source source);
    void changeTelemetry(Telemetry telemetry);
    void changeFlightModule(Telemetry::Source source, QString flightModule);
    void endTelemetry();
    void disconnectDevice(DeviceTypeEnum type);
    void connectDevice(DeviceTypeEnum type, FirmwareVersionTypeDef version);
    // position and axisTrim in units of 0.0001.
    void changeInputState(int axis, int position, int axisTrim);
    // hardwareAxisTrim in units of 0.0001.
    void changeTrimData(int axis, int hardwareAxisTrim, bool hardwareForceRelease);

private slots:
    void on_telemetry_data_source_combo_currentIndexChanged(int index);

    void on_airspeed_slider_valueChanged(int value);
    void on_prop_airflow_slider_valueChanged(int value);
    void on_aoa_slider_valueChanged(int value);
    void on_g_force_slider_valueChanged(int value);
    void on_gear_slider_valueChanged(int value);
    void on_flaps_slider_valueChanged(int value);
    void on_airbrake_slider_valueChanged(int value);
    void on_vertical_speed_slider_valueChanged(int value);
    void on_on_ground_state_button_clicked();
    void on_reset_telemetry_button_clicked();
    void on_engine_rpm_slider_valueChanged(int value);
    void on_rotor_rpm_slider_valueChanged(int value);
    void on_afterburner_slider_valueChanged(int value);
    void on_drop_weight_button_clicked();
    void on_damage_button_clicked(bool checked);
    void on_countermeasures_button_clicked();
    void on_shk_mag_slider_valueChanged(int value);
    void on_shk_frq_slider_valueChanged(int value);
    void on_fire_button_1_pressed();
    void on_fire_button_1_released();
    void on_fire_button_2_pressed();
    void on_fire_button_2_released();
    void on_fire_button_3_pressed();
    void on_fire_button_3_released();
    void on_fire_button_4_pressed();
    void on_fire_button_4_released();
    void on_fire_button_5_pressed();
    void on_fire_button_5_released();

private:
    void refreshTelemetryDisplay();
    void emitChangedAndRefresh();
    void setGunfireTrigger(int trigger, bool firing);
    QLineEdit* deviceField(DeviceTypeEnum type) const;
    QLineEdit* fireField(int trigger) const;
    QLineEdit* inputField(int axis) const;
    QLineEdit* trimField(int axis) const;

    Ui_StatusWidget* ui;
    bool overrideActive = false;
    Telemetry telemetry;
    QList<QWidget*> overrideControls;
};
