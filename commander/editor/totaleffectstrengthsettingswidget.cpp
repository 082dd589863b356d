#include "totaleffectstrengthsettingswidget.h"
#include "ui_totaleffectstrengthsettingswidget.h"

#include "totaleffectstrengthsettingsaddon.h"

TotalEffectStrengthSettingsWidget::TotalEffectStrengthSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::TotalEffectStrengthSettingsWidget)
{
    ui->setupUi(this);
    connect(ui->total_effect_strength, &QSpinBox::valueChanged, this,
            &TotalEffectStrengthSettingsWidget::changeStrength);
}

TotalEffectStrengthSettingsWidget::~TotalEffectStrengthSettingsWidget()
{
    delete ui;
}

void TotalEffectStrengthSettingsWidget::setSettings(TotalEffectStrengthSettingsAddon* newSettings)
{
    settings = newSettings;
    refresh();
}

void TotalEffectStrengthSettingsWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->total_effect_strength->setValue(settings->total_effect_strength);
    updating = false;
}

void TotalEffectStrengthSettingsWidget::changeStrength(int value)
{
    if (updating || !settings)
        return;
    settings->total_effect_strength = value;
    emit settingsChanged();
}
