#pragma once

#include "rawprofilefolder.h"
#include "settingspagewidget.h"

#include <array>

class QAbstractSlider;
class QSpinBox;
class Ui_FullEffectSettingsWidget;

// The "Effects" page of torquix-setup: the effect settings record of the selected base,
// and profiles of raw records in "device_effects_profiles". Every user change of a
// control leaves the page at once as one typed setting signal; the page never talks
// to a base itself.
class FullEffectSettingsWidget : public SettingsPageWidget
{
    Q_OBJECT

public:
    explicit FullEffectSettingsWidget(QWidget* parent = nullptr);
    ~FullEffectSettingsWidget() override;

    // Shows the controls of the type; the values the set-up forces on them are not sent.
    void setDeviceType(DeviceTypeEnum type);
    // Without writeChanges: the record was read from the base; it is shown and nothing
    // is sent. With writeChanges: a profile; each field the controls then hold that
    // differs from the base's is sent once, in load order (axis 1 only to a base that
    // has it).
    void settingsToUi(const EffectSettingsTypeDef& settings, bool writeChanges);
    // Fills bytes 0-30 from the controls; bytes 31-63 stay as they are.
    void uiToSettings(EffectSettingsTypeDef* settings) const;

public slots:
    void disableUnsupportedElements();
    void readProfiles();
    void applyProfile(QString name);

private slots:
    void on_profile_combo_box_activated(int index);
    void on_profile_save_button_clicked();
    void on_profile_delete_button_clicked();

    void on_motion_range_axis0_valueChanged(int value);
    void on_motion_range_slider_axis0_valueChanged(int value);
    void on_motion_range_axis1_valueChanged(int value);
    void on_motion_range_slider_axis1_valueChanged(int value);
    void on_static_dampening_axis0_valueChanged(int value);
    void on_static_dampening_slider_axis0_valueChanged(int value);
    void on_static_dampening_axis1_valueChanged(int value);
    void on_static_dampening_slider_axis1_valueChanged(int value);
    void on_soft_stop_dampening_axis0_valueChanged(int value);
    void on_soft_stop_dampening_slider_axis0_valueChanged(int value);
    void on_soft_stop_dampening_axis1_valueChanged(int value);
    void on_soft_stop_dampening_slider_axis1_valueChanged(int value);
    void on_dynamic_dampening_axis0_valueChanged(int value);
    void on_dynamic_dampening_slider_axis0_valueChanged(int value);
    void on_dynamic_dampening_axis1_valueChanged(int value);
    void on_dynamic_dampening_slider_axis1_valueChanged(int value);

private:
    static constexpr int axisRowCount = 9;
    static constexpr int globalSpinCount = 3;

    // As uint8 or uint16, by the field's width.
    void sendSpinBox(QSpinBox* spin, SettingsFieldEnum field, int8_t index);
    void showRecord(const EffectSettingsTypeDef& settings);
    void applyRecord(const EffectSettingsTypeDef& profile);
    void settingSent(SettingsFieldEnum field, int8_t index, int value) override;
    void setRowVisible(QWidget* label, QAbstractSlider* slider, QSpinBox* spin, bool visible);

    Ui_FullEffectSettingsWidget* ui;
    // The spin boxes of each axis in load order, and the DirectX ones (constant,
    // spring, periodic).
    std::array<std::array<QSpinBox*, axisRowCount>, 2> axisSpins{};
    std::array<QSpinBox*, globalSpinCount> directXSpins{};
    RawProfileFolder profiles;
    DeviceTypeEnum deviceType = DEVICE_TYPE_GENERIC;
    // The record last read from the base, with every value sent since: what a profile
    // is compared with, as a control may show a value the base does not hold.
    EffectSettingsTypeDef baseRecord{};
};
