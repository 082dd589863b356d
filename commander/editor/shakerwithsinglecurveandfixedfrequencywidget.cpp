#include "shakerwithsinglecurveandfixedfrequencywidget.h"
#include "ui_shakerwithsinglecurveandfixedfrequencywidget.h"

#include "curveeditsession.h"
#include "shakerwithsinglecurveandfixedfrequencysettings.h"

ShakerWithSingleCurveAndFixedFrequencyWidget::ShakerWithSingleCurveAndFixedFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithSingleCurveAndFixedFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &ShakerWithSingleCurveAndFixedFrequencyWidget::settingsChanged);
    connect(ui->base_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithSingleCurveAndFixedFrequencyWidget::changeBaseFrequency);
    connect(ui->curve1_view, &CurveView::pressed, this, &ShakerWithSingleCurveAndFixedFrequencyWidget::editCurve);
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
    if (settings)
        ui->total_effect_strength_widget->setSettings(settings);
    ui->mode_group->setVisible(showModeGroup);
    refresh();
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->total_effect_strength_widget->refresh();
    ui->base_frequency->setValue(settings->base_frequency);
    // Any mode but 0 takes the telemetry's frequency; the box shows that and leaves the value alone.
    ui->mode_check_box->setChecked(settings->frequency_mode != 0);
    ui->curve1_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
    updating = false;
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::on_mode_check_box_toggled(bool checked)
{
    if (updating || !settings)
        return;
    settings->frequency_mode = checked ? 1 : 0;
    emit settingsChanged();
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::changeBaseFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->base_frequency = value;
    emit settingsChanged();
}

void ShakerWithSingleCurveAndFixedFrequencyWidget::editCurve()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->curve1_view,
                      [this] { emit settingsChanged(); });
}
