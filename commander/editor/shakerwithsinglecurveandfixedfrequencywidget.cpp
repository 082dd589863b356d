#include "shakerwithsinglecurveandfixedfrequencywidget.h"
#include "ui_shakerwithsinglecurveandfixedfrequencywidget.h"

#include "shakerwithsinglecurveandfixedfrequencysettings.h"

ShakerWithSingleCurveAndFixedFrequencyWidget::ShakerWithSingleCurveAndFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithSingleCurveAndFixedFrequencyWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachFrequencies(ui->base_frequency, nullptr, ui->mode_check_box, ui->mode_group);
    controls.attachCurves(ui->curve1_view, &curve1Descriptor);
}

ShakerWithSingleCurveAndFixedFrequencyWidget::~ShakerWithSingleCurveAndFixedFrequencyWidget()
{
    delete ui;
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::setSettings(ShakerWithSingleCurveAndFixedFrequencySettings* newSettings,
                                                               const CurveDescriptor& descriptor, bool showModeGroup)
{
    settings = newSettings;
    curve1Descriptor = descriptor;
    controls.bind(settings, showModeGroup);
    refresh();
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::refresh()
{
    controls.refresh();
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    controls.modeToggled(checked);
}
