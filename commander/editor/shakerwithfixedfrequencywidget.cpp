#include "shakerwithfixedfrequencywidget.h"
#include "ui_shakerwithfixedfrequencywidget.h"

#include "shakerwithfixedfrequencysettings.h"

ShakerWithFixedFrequencyWidget::ShakerWithFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithFixedFrequencyWidget)
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength);
    controls.attachFrequencies(ui->base_frequency, nullptr, ui->mode_check_box, nullptr);
}

ShakerWithFixedFrequencyWidget::~ShakerWithFixedFrequencyWidget()
{
    delete ui;
}

void ShakerWithFixedFrequencyWidget::setSettings(ShakerWithFixedFrequencySettings* newSettings)
{
    settings = newSettings;
    controls.bind(settings);
    refresh();
}

void ShakerWithFixedFrequencyWidget::refresh()
{
    controls.refresh();
}

void ShakerWithFixedFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    controls.modeToggled(checked);
}
