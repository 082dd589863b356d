#include "fulleffectsettingswidget.h"
#include "settingspagehelpers.h"
#include "ui_fulleffectsettingswidget.h"

#include <cstring>

namespace {

// The fields of one axis block, in the order the page loads and connects them.
constexpr SettingsFieldEnum axisFields[] = {
    FIELD_MOTION_RANGE,        FIELD_TOTAL_EFFECT_SCALE,  FIELD_INTEGRATED_SPRING,
    FIELD_SOFT_STOP_STRENGTH,  FIELD_SOFT_STOP_RANGE,     FIELD_SOFT_STOP_DAMPENING,
    FIELD_STATIC_DAMPENING,    FIELD_DYNAMIC_DAMPENING,   FIELD_MAX_FORCE,
};

// The DirectX fields in load order.
constexpr SettingsFieldEnum directXFields[] = {
    FIELD_DIRECT_X_CONSTANT_STRENGTH, FIELD_DIRECT_X_SPRING_STRENGTH, FIELD_DIRECT_X_PERIODIC_STRENGTH,
};

bool isTwoBytes(SettingsFieldEnum field)
{
    return field == FIELD_MOTION_RANGE || field == FIELD_STATIC_DAMPENING
           || field == FIELD_DYNAMIC_DAMPENING || field == FIELD_SOFT_STOP_DAMPENING;
}

// A control's value cut to the width of its field.
int cutToField(SettingsFieldEnum field, int value)
{
    return isTwoBytes(field) ? uint16_t(value) : uint8_t(value);
}

// Packed members are copied, never pointed to: the 16-bit ones lie unaligned.
int axisValue(const EffectAxisSettingsTypeDef& axis, SettingsFieldEnum field)
{
    switch (field) {
    case FIELD_MOTION_RANGE: return axis.motionRange;
    case FIELD_TOTAL_EFFECT_SCALE: return axis.totalEffectScale;
    case FIELD_INTEGRATED_SPRING: return axis.integratedSpring;
    case FIELD_SOFT_STOP_STRENGTH: return axis.softStopStrength;
    case FIELD_SOFT_STOP_RANGE: return axis.softStopRange;
    case FIELD_SOFT_STOP_DAMPENING: return axis.softStopDampening;
    case FIELD_STATIC_DAMPENING: return axis.staticDampening;
    case FIELD_DYNAMIC_DAMPENING: return axis.dynamicDampening;
    default: return axis.maxForce;
    }
}

void setAxisValue(EffectAxisSettingsTypeDef* axis, SettingsFieldEnum field, int value)
{
    const auto narrow = uint8_t(value);
    const auto wide = uint16_t(value);
    switch (field) {
    case FIELD_MOTION_RANGE: axis->motionRange = wide; break;
    case FIELD_TOTAL_EFFECT_SCALE: axis->totalEffectScale = narrow; break;
    case FIELD_INTEGRATED_SPRING: axis->integratedSpring = narrow; break;
    case FIELD_SOFT_STOP_STRENGTH: axis->softStopStrength = narrow; break;
    case FIELD_SOFT_STOP_RANGE: axis->softStopRange = narrow; break;
    case FIELD_SOFT_STOP_DAMPENING: axis->softStopDampening = wide; break;
    case FIELD_STATIC_DAMPENING: axis->staticDampening = wide; break;
    case FIELD_DYNAMIC_DAMPENING: axis->dynamicDampening = wide; break;
    default: axis->maxForce = narrow; break;
    }
}

} // namespace

FullEffectSettingsWidget::FullEffectSettingsWidget(QWidget* parent)
    : SettingsPageWidget(parent)
    , ui(new Ui_FullEffectSettingsWidget)
    , profiles(QStringLiteral("device_effects_profiles"), int(sizeof(EffectSettingsTypeDef)))
{
    ui->setupUi(this);
    axisSpins[0] = {ui->motion_range_axis0,        ui->total_effect_scale_axis0, ui->integrated_spring_axis0,
                    ui->soft_stop_strength_axis0,  ui->soft_stop_range_axis0,    ui->soft_stop_dampening_axis0,
                    ui->static_dampening_axis0,    ui->dynamic_dampening_axis0,  ui->max_force_axis0};
    axisSpins[1] = {ui->motion_range_axis1,        ui->total_effect_scale_axis1, ui->integrated_spring_axis1,
                    ui->soft_stop_strength_axis1,  ui->soft_stop_range_axis1,    ui->soft_stop_dampening_axis1,
                    ui->static_dampening_axis1,    ui->dynamic_dampening_axis1,  ui->max_force_axis1};
    directXSpins = {ui->direct_x_constant_strength, ui->direct_x_spring_strength, ui->direct_x_periodic_strength};

    // After the form's pair links and slots, so a partner is in step when a write leaves.
    for (int axis = 0; axis < 2; ++axis) {
        for (int row = 0; row < axisRowCount; ++row)
            sendSpinBox(axisSpins[axis][row], axisFields[row], int8_t(axis));
    }
    sendDirection(ui->invert_constant_force, FIELD_INVERT_CONSTANT_FORCE, 0);
    for (int i = 0; i < globalSpinCount; ++i)
        sendSpinBox(directXSpins[i], directXFields[i], 0);
    // A clipping mode the page does not know leaves no current item, and sends nothing.
    sendItemIndex(ui->force_clamping_mode, FIELD_FORCE_CLIPPING_MODE, 0);

    enableProfileRow(profiles, ui->profile_combo_box, ui->profile_save_button, ui->profile_delete_button);
    activateOnlyOnChoiceOrEnter(ui->profile_combo_box);
    readProfiles();
    keepInitialValues();
}

FullEffectSettingsWidget::~FullEffectSettingsWidget()
{
    delete ui;
}

void FullEffectSettingsWidget::sendSpinBox(QSpinBox* spin, SettingsFieldEnum field, int8_t index)
{
    if (isTwoBytes(field))
        sendUInt16(spin, field, index);
    else
        sendUInt8(spin, field, index);
}

void FullEffectSettingsWidget::setDeviceType(DeviceTypeEnum type)
{
    initialising = true;
    deviceType = type;
    setBaseType(type);
    disableUnsupportedElements();
    setAxisTabsVisibility(ui->axis_tab, type);
    initialising = false;
}

void FullEffectSettingsWidget::settingsToUi(const EffectSettingsTypeDef& settings, bool writeChanges)
{
    if (writeChanges) {
        applyRecord(settings);
        return;
    }
    baseRecord = settings;
    showRecord(settings);
    recordLoaded(1, 1);
}

void FullEffectSettingsWidget::showRecord(const EffectSettingsTypeDef& settings)
{
    initialising = true;

    // Every control is read before any is set.
    const int8_t invert = ui->invert_constant_force->isChecked() ? 1 : -1;
    std::array<int, globalSpinCount> directX{};
    for (int i = 0; i < globalSpinCount; ++i)
        directX[i] = directXSpins[i]->value();
    std::array<std::array<int, axisRowCount>, 2> shown{};
    for (int axis = 0; axis < 2; ++axis) {
        for (int row = 0; row < axisRowCount; ++row)
            shown[axis][row] = axisSpins[axis][row]->value();
    }
    const int clipping = ui->force_clamping_mode->currentIndex();

    if (settings.invertConstantForce != invert)
        ui->invert_constant_force->setChecked(settings.invertConstantForce > 0);
    const std::array<uint8_t, globalSpinCount> directXRecord = {
        settings.directXConstantStrength, settings.directXSpringStrength, settings.directXPeriodicStrength};
    for (int i = 0; i < globalSpinCount; ++i) {
        if (uint8_t(directX[i]) != directXRecord[i])
            directXSpins[i]->setValue(directXRecord[i]);
    }
    for (int axis = 0; axis < 2; ++axis) {
        for (int row = 0; row < axisRowCount; ++row) {
            const int value = axisValue(settings.axis[axis], axisFields[row]);
            if (cutToField(axisFields[row], shown[axis][row]) != value)
                axisSpins[axis][row]->setValue(value);
        }
    }
    if (uint8_t(clipping) != settings.forceClippingMode)
        ui->force_clamping_mode->setCurrentIndex(settings.forceClippingMode);

    initialising = false;
}

void FullEffectSettingsWidget::applyRecord(const EffectSettingsTypeDef& profile)
{
    const int8_t invert = holdChecked(ui->invert_constant_force, profile.invertConstantForce > 0) ? 1 : -1;
    sendIfDifferent(Wire::Int8, FIELD_INVERT_CONSTANT_FORCE, 0, invert, baseRecord.invertConstantForce);
    const std::array<uint8_t, globalSpinCount> directX = {
        profile.directXConstantStrength, profile.directXSpringStrength, profile.directXPeriodicStrength};
    const std::array<uint8_t, globalSpinCount> baseDirectX = {
        baseRecord.directXConstantStrength, baseRecord.directXSpringStrength, baseRecord.directXPeriodicStrength};
    for (int i = 0; i < globalSpinCount; ++i)
        sendIfDifferent(Wire::UInt8, directXFields[i], 0, holdValue(directXSpins[i], directX[i]), baseDirectX[i]);
    // The hidden axis-1 controls of a one-axis base keep what the base holds.
    for (int axis = 0; axis < (hasSecondAxis() ? 2 : 1); ++axis) {
        for (int row = 0; row < axisRowCount; ++row) {
            const SettingsFieldEnum field = axisFields[row];
            const int held = holdValue(axisSpins[axis][row], axisValue(profile.axis[axis], field));
            sendIfDifferent(isTwoBytes(field) ? Wire::UInt16 : Wire::UInt8, field, int8_t(axis), held,
                            axisValue(baseRecord.axis[axis], field));
        }
    }
    sendIfDifferent(Wire::UInt8, FIELD_FORCE_CLIPPING_MODE, 0,
                    holdIndex(ui->force_clamping_mode, profile.forceClippingMode), baseRecord.forceClippingMode);
}

void FullEffectSettingsWidget::settingSent(SettingsFieldEnum field, int8_t index, int value)
{
    switch (field) {
    case FIELD_INVERT_CONSTANT_FORCE: baseRecord.invertConstantForce = int8_t(value); break;
    case FIELD_DIRECT_X_SPRING_STRENGTH: baseRecord.directXSpringStrength = uint8_t(value); break;
    case FIELD_DIRECT_X_CONSTANT_STRENGTH: baseRecord.directXConstantStrength = uint8_t(value); break;
    case FIELD_DIRECT_X_PERIODIC_STRENGTH: baseRecord.directXPeriodicStrength = uint8_t(value); break;
    case FIELD_FORCE_CLIPPING_MODE: baseRecord.forceClippingMode = uint8_t(value); break;
    default:
        // Every other field of this page is one of an axis.
        if (index == 0 || index == 1)
            setAxisValue(&baseRecord.axis[index], field, value);
        break;
    }
}

void FullEffectSettingsWidget::uiToSettings(EffectSettingsTypeDef* settings) const
{
    settings->invertConstantForce = ui->invert_constant_force->isChecked() ? 1 : -1;
    settings->directXConstantStrength = uint8_t(ui->direct_x_constant_strength->value());
    settings->directXSpringStrength = uint8_t(ui->direct_x_spring_strength->value());
    settings->directXPeriodicStrength = uint8_t(ui->direct_x_periodic_strength->value());
    for (int axis = 0; axis < 2; ++axis) {
        for (int row = 0; row < axisRowCount; ++row)
            setAxisValue(&settings->axis[axis], axisFields[row], axisSpins[axis][row]->value());
    }
    settings->forceClippingMode = uint8_t(ui->force_clamping_mode->currentIndex());
}

void FullEffectSettingsWidget::setRowVisible(QWidget* label, QAbstractSlider* slider, QSpinBox* spin,
                                             bool visible)
{
    label->setVisible(visible);
    slider->setVisible(visible);
    spin->setVisible(visible);
}

void FullEffectSettingsWidget::disableUnsupportedElements()
{
    ui->motion_range_axis0->setMaximum(9999);
    ui->motion_range_axis1->setMaximum(9999);
    // May clamp a slider widened by a long range; its spin box follows.
    ui->motion_range_slider_axis0->setMaximum(1080);
    ui->motion_range_slider_axis1->setMaximum(1080);

    const bool wheel = deviceType == DEVICE_TYPE_WHEEL;
    const bool collective = deviceType == DEVICE_TYPE_COLLECTIVE;
    setRowVisible(ui->max_force_label_axis0, ui->max_force_slider_axis0, ui->max_force_axis0, !wheel);
    setRowVisible(ui->max_force_label_axis1, ui->max_force_slider_axis1, ui->max_force_axis1, !wheel);
    setRowVisible(ui->integrated_spring_label_axis0, ui->integrated_spring_slider_axis0,
                  ui->integrated_spring_axis0, !collective);
    setRowVisible(ui->integrated_spring_label_axis1, ui->integrated_spring_slider_axis1,
                  ui->integrated_spring_axis1, !collective);
    ui->force_clamping_group->setVisible(!wheel);
}

void FullEffectSettingsWidget::readProfiles()
{
    listProfiles(profiles, ui->profile_combo_box);
}

void FullEffectSettingsWidget::applyProfile(QString name)
{
    QByteArray bytes;
    if (!profiles.load(name, &bytes))
        return;
    EffectSettingsTypeDef record;
    std::memcpy(&record, bytes.constData(), sizeof(record));
    settingsToUi(record, true);
}

void FullEffectSettingsWidget::on_profile_combo_box_activated(int index)
{
    applyProfile(ui->profile_combo_box->itemText(index));
}

void FullEffectSettingsWidget::on_profile_save_button_clicked()
{
    EffectSettingsTypeDef record{};
    uiToSettings(&record);
    saveProfile(profiles, ui->profile_combo_box,
                QByteArray(reinterpret_cast<const char*>(&record), sizeof(record)));
}

void FullEffectSettingsWidget::on_profile_delete_button_clicked()
{
    profiles.remove(ui->profile_combo_box->currentText());
    readProfiles();
}

void FullEffectSettingsWidget::on_motion_range_axis0_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->motion_range_slider_axis0, value);
}

void FullEffectSettingsWidget::on_motion_range_slider_axis0_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->motion_range_axis0, value);
}

void FullEffectSettingsWidget::on_motion_range_axis1_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->motion_range_slider_axis1, value);
}

void FullEffectSettingsWidget::on_motion_range_slider_axis1_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->motion_range_axis1, value);
}

void FullEffectSettingsWidget::on_static_dampening_axis0_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->static_dampening_slider_axis0, value);
}

void FullEffectSettingsWidget::on_static_dampening_slider_axis0_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->static_dampening_axis0, value);
}

void FullEffectSettingsWidget::on_static_dampening_axis1_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->static_dampening_slider_axis1, value);
}

void FullEffectSettingsWidget::on_static_dampening_slider_axis1_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->static_dampening_axis1, value);
}

void FullEffectSettingsWidget::on_soft_stop_dampening_axis0_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->soft_stop_dampening_slider_axis0, value);
}

void FullEffectSettingsWidget::on_soft_stop_dampening_slider_axis0_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->soft_stop_dampening_axis0, value);
}

void FullEffectSettingsWidget::on_soft_stop_dampening_axis1_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->soft_stop_dampening_slider_axis1, value);
}

void FullEffectSettingsWidget::on_soft_stop_dampening_slider_axis1_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->soft_stop_dampening_axis1, value);
}

void FullEffectSettingsWidget::on_dynamic_dampening_axis0_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->dynamic_dampening_slider_axis0, value);
}

void FullEffectSettingsWidget::on_dynamic_dampening_slider_axis0_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->dynamic_dampening_axis0, value);
}

void FullEffectSettingsWidget::on_dynamic_dampening_axis1_valueChanged(int value)
{
    sliderFollowsSpinBox(ui->dynamic_dampening_slider_axis1, value);
}

void FullEffectSettingsWidget::on_dynamic_dampening_slider_axis1_valueChanged(int value)
{
    setSpinBoxValueIfDifferent(ui->dynamic_dampening_axis1, value);
}
