#include "gunfiresettingswidget.h"
#include "ui_gunfiresettingswidget.h"

#include "gunfireshakersettings.h"
#include "shakerwithfixedfrequencywidget.h"

#include <QScopedValueRollback>

GunfireSettingsWidget::GunfireSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::GunfireSettingsWidget)
{
    ui->setupUi(this);
    for (ShakerWithFixedFrequencyWidget* gun : guns())
        connect(gun, &ShakerWithFixedFrequencyWidget::settingsChanged, this, &GunfireSettingsWidget::settingsChanged);
}

GunfireSettingsWidget::~GunfireSettingsWidget()
{
    delete ui;
}

void GunfireSettingsWidget::setSettings(GunfireShakerSettings* newSettings)
{
    settings = newSettings;
    const auto editors = guns();
    for (int k = 0; k < GunfireShakerSettings::gunCount; ++k)
        editors[k]->setSettings(settings ? &settings->gunfire[k] : nullptr);
    refresh();
}

void GunfireSettingsWidget::refresh()
{
    const QScopedValueRollback<bool> loading(updating, true);
    for (ShakerWithFixedFrequencyWidget* gun : guns())
        gun->refresh();
}

std::array<ShakerWithFixedFrequencyWidget*, GunfireShakerSettings::gunCount> GunfireSettingsWidget::guns() const
{
    return {ui->gunfire_1, ui->gunfire_2, ui->gunfire_3, ui->gunfire_4, ui->gunfire_5};
}
