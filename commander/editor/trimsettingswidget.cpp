#include "trimsettingswidget.h"
#include "ui_trimsettingswidget.h"

#include "trimsettings.h"

TrimSettingsWidget::TrimSettingsWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::TrimSettingsWidget)
{
    ui->setupUi(this);
    connect(ui->trim_buttons, &QCheckBox::stateChanged, this,
            [this](int state) { storeFlag(&TrimSettings::trim_buttons_allowed, state); });
    connect(ui->force_release, &QCheckBox::stateChanged, this,
            [this](int state) { storeFlag(&TrimSettings::force_release_allowed, state); });
    connect(ui->trim_reset, &QCheckBox::stateChanged, this,
            [this](int state) { storeFlag(&TrimSettings::trim_reset_allowed, state); });
}

TrimSettingsWidget::~TrimSettingsWidget()
{
    delete ui;
}

void TrimSettingsWidget::setSettings(TrimSettings* newSettings)
{
    settings = newSettings;
    refresh();
}

void TrimSettingsWidget::refresh()
{
    if (!settings)
        return;
    updating = true;
    ui->trim_buttons->setChecked(settings->trim_buttons_allowed);
    ui->force_release->setChecked(settings->force_release_allowed);
    ui->trim_reset->setChecked(settings->trim_reset_allowed);
    updating = false;
}

void TrimSettingsWidget::storeFlag(bool TrimSettings::*flag, int state)
{
    if (updating || !settings)
        return;
    settings->*flag = state > 0;
    emit settingsChanged();
}
