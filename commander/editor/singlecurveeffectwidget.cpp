#include "singlecurveeffectwidget.h"
#include "ui_singlecurveeffectwidget.h"

#include "curveeditsession.h"
#include "singlecurveeffectsettings.h"

SingleCurveEffectWidget::SingleCurveEffectWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SingleCurveEffectWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    EffectEditorControls::Form form;
    form.strengthEditor = ui->total_effect_strength_widget;
    form.curve1View = ui->curve1_view;
    form.curve1Descriptor = &curve1Descriptor;
    controls.attach(form);
}

SingleCurveEffectWidget::~SingleCurveEffectWidget()
{
    delete ui;
}

void SingleCurveEffectWidget::setSettings(SingleCurveEffectSettings* newSettings,
                                          const CurveDescriptor& newCurve1Descriptor)
{
    settings = newSettings;
    curve1Descriptor = newCurve1Descriptor;
    controls.bind(settings);
    refresh();
}

void SingleCurveEffectWidget::refresh()
{
    controls.refresh();
}
