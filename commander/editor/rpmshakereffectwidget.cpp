#include "rpmshakereffectwidget.h"
#include "ui_rpmshakereffectwidget.h"

#include "curveeditsession.h"
#include "rpmshakersettings.h"

RPMShakerEffectWidget::RPMShakerEffectWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::RPMShakerEffectWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &RPMShakerEffectWidget::settingsChanged);
    connect(ui->frequency_multiplier, &QSpinBox::valueChanged, this, &RPMShakerEffectWidget::changeFrequencyMultiplier);
    connect(ui->curve1_view, &CurveView::pressed, this, &RPMShakerEffectWidget::editCurve);
}

RPMShakerEffectWidget::~RPMShakerEffectWidget()
{
    delete ui;
}

void RPMShakerEffectWidget::setSettings(RPMShakerSettings* newSettings, const CurveDescriptor& descriptor)
{
    settings = newSettings;
    curve1Descriptor = descriptor;
    if (settings)
        ui->total_effect_strength_widget->setSettings(settings);
    refresh();
}

void RPMShakerEffectWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->total_effect_strength_widget->refresh();
    ui->frequency_multiplier->setValue(settings->frequency_multiplier);
    ui->curve1_view->setCurve(settings->curve1.points, curve1Descriptor.xLabel, curve1Descriptor.yLabel);
    updating = false;
}

void RPMShakerEffectWidget::changeFrequencyMultiplier(int value)
{
    if (updating || !settings)
        return;
    settings->frequency_multiplier = value;
    emit settingsChanged();
}

void RPMShakerEffectWidget::editCurve()
{
    editCurveInDialog(this, curve1Descriptor, settings ? &settings->curve1 : nullptr, ui->curve1_view,
                      [this] { emit settingsChanged(); });
}
