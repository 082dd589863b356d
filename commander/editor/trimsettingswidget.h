#pragma once

#include <QWidget>

class TrimSettings;

namespace Ui {
class TrimSettingsWidget;
}

// Edits which hardware-trim functions may act on one axis, in place. GUI thread only.
class TrimSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TrimSettingsWidget(QWidget* parent = nullptr);
    ~TrimSettingsWidget() override;

    // Binds the edited object (not owned) and shows its flags without reporting them.
    void setSettings(TrimSettings* settings);
    void refresh();

signals:
    void settingsChanged();

private:
    void storeFlag(bool TrimSettings::*flag, int state);

    Ui::TrimSettingsWidget* ui;
    TrimSettings* settings = nullptr;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
};
