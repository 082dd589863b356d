#include "singlecurveeffectwidget.h"
#include "ui_singlecurveeffectwidget.h"

#include "curveeditsession.h"
#include "curveview.h"
#include "singlecurveeffectsettings.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QScopedValueRollback>

SingleCurveEffectWidget::SingleCurveEffectWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SingleCurveEffectWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &SingleCurveEffectWidget::settingsChanged);
    connect(ui->curve1_view, &CurveView::pressed, this, &SingleCurveEffectWidget::editCurve1);
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
    ui->total_effect_strength_widget->setSettings(newSettings);
    refresh();
}

void SingleCurveEffectWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    ui->total_effect_strength_widget->refresh();
    ui->curve1_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
}

void SingleCurveEffectWidget::editCurve1()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->curve1_view,
                      [this] { emit settingsChanged(); });
}
