#include "shakerwithsinglecurveandvariablefrequencywidget.h"
#include "ui_shakerwithsinglecurveandvariablefrequencywidget.h"

#include "curveeditsession.h"
#include "curveview.h"
#include "frequencyrule.h"
#include "shakerwithsinglecurveandvariablefrequencysettings.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QScopedValueRollback>

ShakerWithSingleCurveAndVariableFrequencyWidget::ShakerWithSingleCurveAndVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithSingleCurveAndVariableFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &ShakerWithSingleCurveAndVariableFrequencyWidget::settingsChanged);
    connect(ui->base_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithSingleCurveAndVariableFrequencyWidget::changeBaseFrequency);
    connect(ui->max_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithSingleCurveAndVariableFrequencyWidget::changeMaxFrequency);
    connect(ui->curve1_view, &CurveView::pressed, this, &ShakerWithSingleCurveAndVariableFrequencyWidget::editCurve1);
}

ShakerWithSingleCurveAndVariableFrequencyWidget::~ShakerWithSingleCurveAndVariableFrequencyWidget()
{
    delete ui;
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::setSettings(
    ShakerWithSingleCurveAndVariableFrequencySettings* newSettings, const CurveDescriptor& newCurve1Descriptor,
    bool showModeGroup)
{
    settings = newSettings;
    curve1Descriptor = newCurve1Descriptor;
    ui->total_effect_strength_widget->setSettings(newSettings);
    ui->mode_group->setVisible(showModeGroup);
    refresh();
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    ui->total_effect_strength_widget->refresh();
    ui->base_frequency->setValue(settings->base_frequency);
    ui->max_frequency->setValue(settings->max_frequency);
    ui->mode_check_box->setChecked(settings->frequency_mode != 0);
    ui->curve1_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::on_base_frequency_valueChanged(int arg1)
{
    if (!updating)
        keepMaxAboveBase(ui->max_frequency, arg1);
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::on_max_frequency_valueChanged(int arg1)
{
    if (!updating)
        keepBaseBelowMax(ui->base_frequency, arg1);
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    if (updating || !settings)
        return;
    settings->frequency_mode = checked ? 1 : 0;
    emit settingsChanged();
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::changeBaseFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->base_frequency = value;
    emit settingsChanged();
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::changeMaxFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->max_frequency = value;
    emit settingsChanged();
}

void ShakerWithSingleCurveAndVariableFrequencyWidget::editCurve1()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->curve1_view,
                      [this] { emit settingsChanged(); });
}
