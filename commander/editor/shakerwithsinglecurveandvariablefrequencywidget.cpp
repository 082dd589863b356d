#include "shakerwithsinglecurveandvariablefrequencywidget.h"
#include "ui_shakerwithsinglecurveandvariablefrequencywidget.h"

#include "shakerwithsinglecurveandvariablefrequencysettings.h"

ShakerWithSingleCurveAndVariableFrequencyWidget::ShakerWithSingleCurveAndVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithSingleCurveAndVariableFrequencyWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachFrequencies(ui->base_frequency, ui->max_frequency, ui->mode_check_box, ui->mode_group);
    controls.attachCurves(ui->curve1_view, &curve1Descriptor);
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
