#include "shakerwithsinglecurveandfixedfrequencywidget.h"
#include "ui_shakerwithsinglecurveandfixedfrequencywidget.h"

#include "curveeditsession.h"
#include "shakerwithsinglecurveandfixedfrequencysettings.h"

ShakerWithSingleCurveAndFixedFrequencyWidget::ShakerWithSingleCurveAndFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithSingleCurveAndFixedFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
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
    controls.attach(form);
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
