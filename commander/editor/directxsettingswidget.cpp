#include "directxsettingswidget.h"
#include "ui_directxsettingswidget.h"

#include "directxsettings.h"

DirectXSettingsWidget::DirectXSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::DirectXSettingsWidget)
{
    ui->setupUi(this);
    const auto bind = [this](QSpinBox* spinBox, int DirectXSettings::*field) {
        connect(spinBox, &QSpinBox::valueChanged, this, [this, field](int value) { storeValue(field, value); });
    };
    bind(ui->total_effect_strength, &DirectXSettings::total_effect_strength);
    bind(ui->spring_effect_strength, &DirectXSettings::force);
    bind(ui->periodic_effect_strength, &DirectXSettings::periodic);
    bind(ui->trimmer_effect_strength, &DirectXSettings::trimmer);
}

DirectXSettingsWidget::~DirectXSettingsWidget()
{
    delete ui;
}

void DirectXSettingsWidget::setSettings(DirectXSettings* newSettings)
{
    settings = newSettings;
    refresh();
}

void DirectXSettingsWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->total_effect_strength->setValue(settings->total_effect_strength);
    ui->spring_effect_strength->setValue(settings->force);
    ui->periodic_effect_strength->setValue(settings->periodic);
    ui->trimmer_effect_strength->setValue(settings->trimmer);
    updating = false;
}

void DirectXSettingsWidget::storeValue(int DirectXSettings::*field, int value)
{
    if (updating || !settings)
        return;
    settings->*field = value;
    emit settingsChanged();
}
