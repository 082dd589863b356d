#include "shakerwithvariablefrequencywidget.h"
#include "ui_shakerwithvariablefrequencywidget.h"

#include "curveeditsession.h"
#include "shakerwithvariablefrequencysettings.h"

ShakerWithVariableFrequencyWidget::ShakerWithVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithVariableFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , curve2Descriptor(placeholderCurveDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    EffectEditorControls::Form form;
    form.strengthEditor = ui->total_effect_strength_widget;
    form.baseFrequency = ui->base_frequency;
    form.maxFrequency = ui->max_frequency;
    controls.attach(form);
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
