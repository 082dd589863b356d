#include "shakerwithdualcurveandvariablefrequencywidget.h"
#include "ui_shakerwithdualcurveandvariablefrequencywidget.h"

#include "shakerwithdualcurveandvariablefrequencysettings.h"

ShakerWithDualCurveAndVariableFrequencyWidget::ShakerWithDualCurveAndVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithDualCurveAndVariableFrequencyWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , curve2Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachFrequencies(ui->base_frequency, ui->max_frequency, ui->mode_check_box, ui->mode_group);
    controls.attachCurves(ui->curve1_view, &curve1Descriptor, ui->curve2_view, &curve2Descriptor);
}

ShakerWithDualCurveAndVariableFrequencyWidget::~ShakerWithDualCurveAndVariableFrequencyWidget()
{
    delete ui;
}

void ShakerWithDualCurveAndVariableFrequencyWidget::setSettings(
    ShakerWithDualCurveAndVariableFrequencySettings* newSettings, const CurveDescriptor& newCurve1Descriptor,
    const CurveDescriptor& newCurve2Descriptor, bool showModeGroup)
{
    settings = newSettings;
    curve1Descriptor = newCurve1Descriptor;
    curve2Descriptor = newCurve2Descriptor;
    controls.bind(settings, showModeGroup);
    refresh();
}

void ShakerWithDualCurveAndVariableFrequencyWidget::refresh()
{
    controls.refresh();
}

void ShakerWithDualCurveAndVariableFrequencyWidget::on_base_frequency_valueChanged(int arg1)
{
    controls.baseFrequencyChanged(arg1);
}

void ShakerWithDualCurveAndVariableFrequencyWidget::on_max_frequency_valueChanged(int arg1)
{
    controls.maxFrequencyChanged(arg1);
}

void ShakerWithDualCurveAndVariableFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    controls.modeToggled(checked);
}
