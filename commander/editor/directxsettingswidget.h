#pragma once

#include <QWidget>

class DirectXSettings;

namespace Ui {
class DirectXSettingsWidget;
}

// Edits, in place, how strongly the game's own DirectX force feedback reaches the base.
// GUI thread only.
class DirectXSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit DirectXSettingsWidget(QWidget* parent = nullptr);
    ~DirectXSettingsWidget() override;

    // Binds the edited object (not owned) and shows its values without reporting them.
    void setSettings(DirectXSettings* settings);
    void refresh();

signals:
    void settingsChanged();

private:
    void storeValue(int DirectXSettings::*field, int value);

    Ui::DirectXSettingsWidget* ui;
    DirectXSettings* settings = nullptr;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
};
