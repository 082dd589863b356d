#include "smartdampeningsettingswidget.h"
#include "ui_smartdampeningsettingswidget.h"

#include "smartdampersettings.h"

#include <cmath>

namespace {

// A file may hold any float; the spin box shows it clamped to its range, whole percent
// truncated toward zero, and NaN as 0.
int shownDampening(float value, const QSpinBox* spinner)
{
    if (std::isnan(value))
        return 0;
    const float clamped = qBound(float(spinner->minimum()), value, float(spinner->maximum()));
    return int(clamped);
}

// The slider keeps the spin box's value even above its own range, which it widens for good.
void followSpinner(QSlider* slider, int value)
{
    if (value > slider->maximum())
        slider->setMaximum(value);
    if (slider->value() != value)
        slider->setValue(value);
}

void followSlider(QSpinBox* spinner, int value)
{
    if (spinner->value() != value)
        spinner->setValue(value);
}

} // namespace

SmartDampeningSettingsWidget::SmartDampeningSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SmartDampeningSettingsWidget)
{
    ui->setupUi(this);
    connect(ui->total_effect_strength, &QSpinBox::valueChanged, this, &SmartDampeningSettingsWidget::changeStrength);
    connect(ui->static_dampening_spinner, &QSpinBox::valueChanged, this,
            [this](int value) { storeDampening(&SmartDamperSettings::static_dampening, value); });
    connect(ui->dynamic_dampening_spinner, &QSpinBox::valueChanged, this,
            [this](int value) { storeDampening(&SmartDamperSettings::dynamic_dampening, value); });
}

SmartDampeningSettingsWidget::~SmartDampeningSettingsWidget()
{
    delete ui;
}

void SmartDampeningSettingsWidget::setSettings(SmartDamperSettings* newSettings)
{
    settings = newSettings;
    refresh();
}

void SmartDampeningSettingsWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->total_effect_strength->setValue(settings->total_effect_strength);
    ui->static_dampening_spinner->setValue(shownDampening(settings->static_dampening, ui->static_dampening_spinner));
    ui->dynamic_dampening_spinner->setValue(shownDampening(settings->dynamic_dampening, ui->dynamic_dampening_spinner));
    updating = false;
}

void SmartDampeningSettingsWidget::on_static_dampening_spinner_valueChanged(int arg1)
{
    followSpinner(ui->static_dampening_slider, arg1);
}

void SmartDampeningSettingsWidget::on_dynamic_dampening_spinner_valueChanged(int arg1)
{
    followSpinner(ui->dynamic_dampening_slider, arg1);
}

void SmartDampeningSettingsWidget::on_dynamic_dampening_slider_valueChanged(int value)
{
    followSlider(ui->dynamic_dampening_spinner, value);
}

void SmartDampeningSettingsWidget::on_static_dampening_slider_valueChanged(int value)
{
    followSlider(ui->static_dampening_spinner, value);
}

void SmartDampeningSettingsWidget::changeStrength(int value)
{
    if (updating || !settings)
        return;
    settings->total_effect_strength = value;
    emit settingsChanged();
}

void SmartDampeningSettingsWidget::storeDampening(float SmartDamperSettings::*field, int value)
{
    if (updating || !settings)
        return;
    settings->*field = float(value);
    emit settingsChanged();
}
