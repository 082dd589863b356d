#include "shakerwithdualcurveandfixedfrequencywidget.h"
#include "ui_shakerwithdualcurveandfixedfrequencywidget.h"

#include "curveeditsession.h"
#include "shakerwithdualcurveandfixedfrequencysettings.h"

ShakerWithDualCurveAndFixedFrequencyWidget::ShakerWithDualCurveAndFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithDualCurveAndFixedFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , curve2Descriptor(placeholderCurveDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    EffectEditorControls::Form form;
    form.strengthEditor = ui->total_effect_strength_widget;
    form.baseFrequency = ui->base_frequency;
    form.modeCheckBox = ui->mode_check_box;
    form.modeGroup = ui->mode_group;
    form.curve1View = ui->curve1_view;
    form.curve1Descriptor = &curve1Descriptor;
    form.curve2View = ui->curve2_view;
    form.curve2Descriptor = &curve2Descriptor;
    controls.attach(form);
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
