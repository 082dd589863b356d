#include "springwithsinglecurvesettingswidget.h"
#include "ui_springwithsinglecurvesettingswidget.h"

#include "springwithsinglecurvesettings.h"

#include <QScopedValueRollback>

SpringWithSingleCurveSettingsWidget::SpringWithSingleCurveSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SpringWithSingleCurveSettingsWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); }, [this] {
        emit settingsChanged();
        emit curveChanged();
    })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachCurves(ui->spring_curve_view, &curve1Descriptor);
    connect(ui->smart_dampening_contribution, &QSpinBox::valueChanged, this,
            &SpringWithSingleCurveSettingsWidget::changeDampeningContribution);
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
    controls.bind(settings);
    refresh();
}

void SpringWithSingleCurveSettingsWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    controls.refresh();
    ui->smart_dampening_contribution->setValue(settings->dampening_contribution);
}

void SpringWithSingleCurveSettingsWidget::changeDampeningContribution(int value)
{
    if (updating || !settings)
        return;
    settings->dampening_contribution = value;
    emit settingsChanged();
}
