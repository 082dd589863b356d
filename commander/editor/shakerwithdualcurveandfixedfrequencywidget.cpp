#include "shakerwithdualcurveandfixedfrequencywidget.h"
#include "ui_shakerwithdualcurveandfixedfrequencywidget.h"

#include "curveeditsession.h"
#include "curveview.h"
#include "shakerwithdualcurveandfixedfrequencysettings.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QScopedValueRollback>

ShakerWithDualCurveAndFixedFrequencyWidget::ShakerWithDualCurveAndFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithDualCurveAndFixedFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , curve2Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &ShakerWithDualCurveAndFixedFrequencyWidget::settingsChanged);
    connect(ui->base_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithDualCurveAndFixedFrequencyWidget::changeBaseFrequency);
    connect(ui->curve1_view, &CurveView::pressed, this, &ShakerWithDualCurveAndFixedFrequencyWidget::editCurve1);
    connect(ui->curve2_view, &CurveView::pressed, this, &ShakerWithDualCurveAndFixedFrequencyWidget::editCurve2);
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
    ui->total_effect_strength_widget->setSettings(newSettings);
    ui->mode_group->setVisible(showModeGroup);
    refresh();
}

void ShakerWithDualCurveAndFixedFrequencyWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    ui->total_effect_strength_widget->refresh();
    ui->base_frequency->setValue(settings->base_frequency);
    ui->mode_check_box->setChecked(settings->frequency_mode != 0);
    ui->curve1_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
    ui->curve2_view->setCurve(settings->curve2.points, curve2Descriptor.xLabel, curve2Descriptor.yLabel);
}

void ShakerWithDualCurveAndFixedFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    if (updating || !settings)
        return;
    settings->frequency_mode = checked ? 1 : 0;
    emit settingsChanged();
}

void ShakerWithDualCurveAndFixedFrequencyWidget::changeBaseFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->base_frequency = value;
    emit settingsChanged();
}

void ShakerWithDualCurveAndFixedFrequencyWidget::editCurve1()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->curve1_view,
                      [this] { emit settingsChanged(); });
}

void ShakerWithDualCurveAndFixedFrequencyWidget::editCurve2()
{
    editCurveInDialog(this, curve2Descriptor, settings ? &settings->curve2 : nullptr, ui->curve2_view,
                      [this] { emit settingsChanged(); });
}
