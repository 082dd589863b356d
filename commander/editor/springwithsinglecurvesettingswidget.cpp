#include "springwithsinglecurvesettingswidget.h"
#include "ui_springwithsinglecurvesettingswidget.h"

#include "curveeditsession.h"
#include "springwithsinglecurvesettings.h"

#include <QScopedValueRollback>

SpringWithSingleCurveSettingsWidget::SpringWithSingleCurveSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::SpringWithSingleCurveSettingsWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); }, [this] {
        emit settingsChanged();
        emit curveChanged();
    })
{
    ui->setupUi(this);
    EffectEditorControls::Form form;
    form.strengthEditor = ui->total_effect_strength_widget;
    form.curve1View = ui->spring_curve_view;
    form.curve1Descriptor = &curve1Descriptor;
    controls.attach(form);
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
