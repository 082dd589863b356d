#include "rpmshakereffectwidget.h"
#include "ui_rpmshakereffectwidget.h"

#include "rpmshakersettings.h"

#include <QScopedValueRollback>

RPMShakerEffectWidget::RPMShakerEffectWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::RPMShakerEffectWidget)
    , curve1Descriptor(EffectEditorControls::placeholderDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    controls.attachStrength(ui->total_effect_strength_widget);
    controls.attachCurves(ui->curve1_view, &curve1Descriptor);
    connect(ui->frequency_multiplier, &QSpinBox::valueChanged, this, &RPMShakerEffectWidget::changeFrequencyMultiplier);
}

RPMShakerEffectWidget::~RPMShakerEffectWidget()
{
    delete ui;
}

void RPMShakerEffectWidget::setSettings(RPMShakerSettings* newSettings, const CurveDescriptor& descriptor)
{
    settings = newSettings;
    curve1Descriptor = descriptor;
    controls.bind(settings);
    refresh();
}

void RPMShakerEffectWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    controls.refresh();
    ui->frequency_multiplier->setValue(settings->frequency_multiplier);
}

void RPMShakerEffectWidget::changeFrequencyMultiplier(int value)
{
    if (updating || !settings)
        return;
    settings->frequency_multiplier = value;
    emit settingsChanged();
}
