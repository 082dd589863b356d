#pragma once

#include "gunfireshakersettings.h"

#include <QWidget>

#include <array>

class ShakerWithFixedFrequencyWidget;

namespace Ui {
class GunfireSettingsWidget;
}

// Edits the gunfire shaker in place: one fixed-frequency shaker editor per gun trigger,
// whose changes it passes on. GUI thread only.
class GunfireSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit GunfireSettingsWidget(QWidget* parent = nullptr);
    ~GunfireSettingsWidget() override;

    // Binds gun editor k to element k of the settings' guns (not owned; they must outlive
    // the binding) and shows them.
    void setSettings(GunfireShakerSettings* settings);
    // Shows what the settings hold; a load stores and reports nothing.
    void refresh();

signals:
    void settingsChanged();

private:
    // The gun editors in trigger order.
    std::array<ShakerWithFixedFrequencyWidget*, GunfireShakerSettings::gunCount> guns() const;

    Ui::GunfireSettingsWidget* ui;
    GunfireShakerSettings* settings = nullptr;
    bool updating = false; // refresh is loading the guns' editors
};
