#include "shakerwithdualcurveandfixedfrequencywidget.h"
#include "ui_shakerwithdualcurveandfixedfrequencywidget.h"

#include "shakerwithdualcurveandfixedfrequencysettings.h"

ShakerWithDualCurveAndFixedFrequencyWidget::ShakerWithDualCurveAndFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithDualCurveAndFixedFrequencyWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , curve2Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachFrequencies(ui->base_frequency, nullptr, ui->mode_check_box, ui->mode_group);
    controls.attachCurves(ui->curve1_view, &curve1Descriptor, ui->curve2_view, &curve2Descriptor);
}

ShakerWithDualCurveAndFixedFrequencyWidget::~ShakerWithDualCurveAndFixedFrequencyWidget()
{
    delete ui;
}

void ShakerWithDualCurveAndFixedFrequencyWidget::setSettings(
    ShakerWithDualCurveAndFixedFrequencySettings* newSettings, const CurveDescriptor& newCurve1Descriptor,
    const CurveDescriptor& newCurve2Descriptor, bool showModeGroup)
{
    settings = newSettings;
    curve1Descriptor = newCurve1Descriptor;
    curve2Descriptor = newCurve2Descriptor;
    controls.bind(settings, showModeGroup);
    refresh();
}

void ShakerWithDualCurveAndFixedFrequencyWidget::refresh()
{
    controls.refresh();
}

void ShakerWithDualCurveAndFixedFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    controls.modeToggled(checked);
}
