#include "shakerwithvariablefrequencywidget.h"
#include "ui_shakerwithvariablefrequencywidget.h"

#include "curveeditsession.h"
#include "frequencyrule.h"
#include "shakerwithvariablefrequencysettings.h"
#include "totaleffectstrengthsettingswidget.h"

#include <QScopedValueRollback>

ShakerWithVariableFrequencyWidget::ShakerWithVariableFrequencyWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::ShakerWithVariableFrequencyWidget)
    , curve1Descriptor(placeholderCurveDescriptor())
    , curve2Descriptor(placeholderCurveDescriptor())
{
    ui->setupUi(this);
    connect(ui->total_effect_strength_widget, &TotalEffectStrengthSettingsWidget::settingsChanged, this,
            &ShakerWithVariableFrequencyWidget::settingsChanged);
    connect(ui->base_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithVariableFrequencyWidget::changeBaseFrequency);
    connect(ui->max_frequency, &QSpinBox::valueChanged, this,
            &ShakerWithVariableFrequencyWidget::changeMaxFrequency);
}

ShakerWithVariableFrequencyWidget::~ShakerWithVariableFrequencyWidget()
{
    delete ui;
}

void ShakerWithVariableFrequencyWidget::setSettings(ShakerWithVariableFrequencySettings* newSettings)
{
    settings = newSettings;
    ui->total_effect_strength_widget->setSettings(newSettings);
    refresh();
}

void ShakerWithVariableFrequencyWidget::refresh()
{
    if (!settings)
        return;
    const QScopedValueRollback<bool> loading(updating, true);
    ui->total_effect_strength_widget->refresh();
    ui->base_frequency->setValue(settings->base_frequency);
    ui->max_frequency->setValue(settings->max_frequency);
}

void ShakerWithVariableFrequencyWidget::on_base_frequency_valueChanged(int arg1)
{
    if (!updating)
        keepMaxAboveBase(ui->max_frequency, arg1);
}

void ShakerWithVariableFrequencyWidget::on_max_frequency_valueChanged(int arg1)
{
    if (!updating)
        keepBaseBelowMax(ui->base_frequency, arg1);
}

void ShakerWithVariableFrequencyWidget::changeBaseFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->base_frequency = value;
    emit settingsChanged();
}

void ShakerWithVariableFrequencyWidget::changeMaxFrequency(int value)
{
    if (updating || !settings)
        return;
    settings->max_frequency = value;
    emit settingsChanged();
}
