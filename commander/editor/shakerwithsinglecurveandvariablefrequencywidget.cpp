#include "shakerwithsinglecurveandvariablefrequencywidget.h"
#include "ui_shakerwithsinglecurveandvariablefrequencywidget.h"

#include "curveeditsession.h"
#include "shakerwithsinglecurveandvariablefrequencysettings.h"

ShakerWithSingleCurveAndVariableFrequencyWidget::ShakerWithSingleCurveAndVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithSingleCurveAndVariableFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    EffectEditorControls::Form form;
    form.strengthEditor = ui->total_effect_strength_widget;
    form.baseFrequency = ui->base_frequency;
    form.maxFrequency = ui->max_frequency;
    form.modeCheckBox = ui->mode_check_box;
    form.modeGroup = ui->mode_group;
    form.curve1View = ui->curve1_view;
    form.curve1Descriptor = &curve1Descriptor;
    controls.attach(form);
}

ShakerWithSingleCurveAndVariableFrequencyWidget::~ShakerWithSingleCurveAndVariableFrequencyWidget()
{
    delete ui;
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::setSettings(
    ShakerWithSingleCurveAndVariableFrequencySettings* newSettings, const CurveDescriptor& newCurve1Descriptor,
    bool showModeGroup)
{
    settings = newSettings;
    curve1Descriptor = newCurve1Descriptor;
    controls.bind(settings, showModeGroup);
    refresh();
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::refresh()
{
    controls.refresh();
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::on_base_frequency_valueChanged(int arg1)
{
    controls.baseFrequencyChanged(arg1);
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::on_max_frequency_valueChanged(int arg1)
{
    controls.maxFrequencyChanged(arg1);
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    controls.modeToggled(checked);
}
