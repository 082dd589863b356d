#include "rpmshakereffectwidget.h"
#include "ui_rpmshakereffectwidget.h"

#include "curveeditsession.h"
#include "rpmshakersettings.h"

#include <QScopedValueRollback>

RPMShakerEffectWidget::RPMShakerEffectWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::RPMShakerEffectWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , controls(this, updating, [this] { emit settingsChanged(); })
{
    ui->setupUi(this);
    EffectEditorControls::Form form;
    form.strengthEditor = ui->total_effect_strength_widget;
    form.curve1View = ui->curve1_view;
    form.curve1Descriptor = &curve1Descriptor;
    controls.attach(form);
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
