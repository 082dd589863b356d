#include "shakerwithdualcurveandvariablefrequencywidget.h"
#include "ui_shakerwithdualcurveandvariablefrequencywidget.h"

#include "curveeditsession.h"
#include "curveview.h"
#include "frequencyrule.h"
#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QScopedValueRollback>

ShakerWithDualCurveAndVariableFrequencyWidget::ShakerWithDualCurveAndVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithDualCurveAndVariableFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , curve2Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &ShakerWithDualCurveAndVariableFrequencyWidget::settingsChanged);
    connect(ui->base_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithDualCurveAndVariableFrequencyWidget::changeBaseFrequency);
    connect(ui->max_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithDualCurveAndVariableFrequencyWidget::changeMaxFrequency);
    connect(ui->curve1_view, &CurveView::pressed, this, &ShakerWithDualCurveAndVariableFrequencyWidget::editCurve1);
    connect(ui->curve2_view, &CurveView::pressed, this, &ShakerWithDualCurveAndVariableFrequencyWidget::editCurve2);
}

ShakerWithDualCurveAndVariableFrequencyWidget::~ShakerWithDualCurveAndVariableFrequencyWidget()
{
    delete ui;
}

void ShakerWithDualCurveAndVariableFrequencyWidget::setSettings(
    ShakerWithDualCurveAndVariableFrequencySettings* newSettings, const CurveDescriptor& newCurve1Descriptor,
    const CurveDescriptor& newCurve2Descriptor, bool showModeGroup)
{
    settings = newSettings;
    curve1Descriptor = newCurve1Descriptor;
    curve2Descriptor = newCurve2Descriptor;
    ui->total_effect_strength_widget->setSettings(newSettings);
    ui->mode_group->setVisible(showModeGroup);
    refresh();
}

void ShakerWithDualCurveAndVariableFrequencyWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    ui->total_effect_strength_widget->refresh();
    ui->base_frequency->setValue(settings->base_frequency);
    ui->max_frequency->setValue(settings->max_frequency);
    ui->mode_check_box->setChecked(settings->frequency_mode != 0);
    ui->curve1_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
    ui->curve2_view->setCurve(settings->curve2.points, curve2Descriptor.xLabel, curve2Descriptor.yLabel);
}

void ShakerWithDualCurveAndVariableFrequencyWidget::on_base_frequency_valueChanged(int arg1)
{
    if (!updating)
        keepMaxAboveBase(ui->max_frequency, arg1);
}

void ShakerWithDualCurveAndVariableFrequencyWidget::on_max_frequency_valueChanged(int arg1)
{
    if (!updating)
        keepBaseBelowMax(ui->base_frequency, arg1);
}

void ShakerWithDualCurveAndVariableFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    if (updating || !settings)
        return;
    settings->frequency_mode = checked ? 1 : 0;
    emit settingsChanged();
}

void ShakerWithDualCurveAndVariableFrequencyWidget::changeBaseFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->base_frequency = value;
    emit settingsChanged();
}

void ShakerWithDualCurveAndVariableFrequencyWidget::changeMaxFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->max_frequency = value;
    emit settingsChanged();
}

void ShakerWithDualCurveAndVariableFrequencyWidget::editCurve1()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->curve1_view,
                      [this] { emit settingsChanged(); });
}

void ShakerWithDualCurveAndVariableFrequencyWidget::editCurve2()
{
    editCurveInDialog(this, curve2Descriptor, settings ? &settings->curve2 : nullptr, ui->curve2_view,
                      [this] { emit settingsChanged(); });
}
