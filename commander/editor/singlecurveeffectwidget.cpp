#include "singlecurveeffectwidget.h"
#include "ui_singlecurveeffectwidget.h"

#include "singlecurveeffectsettings.h"

SingleCurveEffectWidget::SingleCurveEffectWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SingleCurveEffectWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachCurves(ui->curve1_view, &curve1Descriptor);
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
