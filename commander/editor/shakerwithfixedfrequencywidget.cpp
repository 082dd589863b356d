#include "shakerwithfixedfrequencywidget.h"
#include "ui_shakerwithfixedfrequencywidget.h"

#include "shakerwithfixedfrequencysettings.h"

#include <QScopedValueRollback>

ShakerWithFixedFrequencyWidget::ShakerWithFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithFixedFrequencyWidget)
{
    ui->setupUi(this);
    connect(ui->total_effect_strength, &QSpinBox::valueChanged, this,
            &ShakerWithFixedFrequencyWidget::changeStrength);
    connect(ui->base_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithFixedFrequencyWidget::changeBaseFrequency);
}

ShakerWithFixedFrequencyWidget::~ShakerWithFixedFrequencyWidget()
{
    delete ui;
}

void ShakerWithFixedFrequencyWidget::setSettings(ShakerWithFixedFrequencySettings* newSettings)
{
    settings = newSettings;
    refresh();
}

void ShakerWithFixedFrequencyWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    ui->total_effect_strength->setValue(settings->total_effect_strength);
    ui->base_frequency->setValue(settings->base_frequency);
    ui->mode_check_box->setChecked(settings->frequency_mode != 0);
}

void ShakerWithFixedFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    if (updating || !settings)
        return;
    settings->frequency_mode = checked ? 1 : 0;
    emit settingsChanged();
}

void ShakerWithFixedFrequencyWidget::changeStrength(int value)
{
    if (updating || !settings)
        return;
    settings->total_effect_strength = value;
    emit settingsChanged();
}

void ShakerWithFixedFrequencyWidget::changeBaseFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->base_frequency = value;
    emit settingsChanged();
}
