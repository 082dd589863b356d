#include "shakerwithvariablefrequencywidget.h"
#include "ui_shakerwithvariablefrequencywidget.h"

#include "shakerwithvariablefrequencysettings.h"

ShakerWithVariableFrequencyWidget::ShakerWithVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithVariableFrequencyWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , curve2Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachFrequencies(ui->base_frequency, ui->max_frequency, nullptr, nullptr);
}

ShakerWithVariableFrequencyWidget::~ShakerWithVariableFrequencyWidget()
{
    delete ui;
}

void ShakerWithVariableFrequencyWidget::setSettings(ShakerWithVariableFrequencySettings* newSettings)
{
    settings = newSettings;
    controls.bind(settings);
    refresh();
}

void ShakerWithVariableFrequencyWidget::refresh()
{
    controls.refresh();
}

void ShakerWithVariableFrequencyWidget::on_base_frequency_valueChanged(int arg1)
{
    controls.baseFrequencyChanged(arg1);
}

void ShakerWithVariableFrequencyWidget::on_max_frequency_valueChanged(int arg1)
{
    controls.maxFrequencyChanged(arg1);
}
