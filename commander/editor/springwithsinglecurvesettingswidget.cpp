#include "springwithsinglecurvesettingswidget.h"
#include "ui_springwithsinglecurvesettingswidget.h"

#include "curveeditsession.h"
#include "springwithsinglecurvesettings.h"

SpringWithSingleCurveSettingsWidget::SpringWithSingleCurveSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SpringWithSingleCurveSettingsWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &SpringWithSingleCurveSettingsWidget::settingsChanged);
    connect(ui->smart_dampening_contribution, &QSpinBox::valueChanged, this,
            &SpringWithSingleCurveSettingsWidget::changeDampeningContribution);
    connect(ui->spring_curve_view, &CurveView::pressed, this, &SpringWithSingleCurveSettingsWidget::editCurve);
}

SpringWithSingleCurveSettingsWidget::~SpringWithSingleCurveSettingsWidget()
{
    delete ui;
}

void SpringWithSingleCurveSettingsWidget::setSettings(SpringWithSingleCurveSettings* newSettings,
                                                      const CurveDescriptor& descriptor)
{
    settings = newSettings;
    curve1Descriptor = descriptor;
    if (settings)
        ui->total_effect_strength_widget->setSettings(settings);
    refresh();
}

void SpringWithSingleCurveSettingsWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->total_effect_strength_widget->refresh();
    ui->smart_dampening_contribution->setValue(settings->dampening_contribution);
    ui->spring_curve_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
    updating = false;
}

void SpringWithSingleCurveSettingsWidget::changeDampeningContribution(int value)
{
    if (updating || !settings)
        return;
    settings->dampening_contribution = value;
    emit settingsChanged();
}

void SpringWithSingleCurveSettingsWidget::editCurve()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->spring_curve_view, [this] {
        emit settingsChanged();
        emit curveChanged();
    });
}
