#pragma once

#include <QWidget>

class TotalEffectStrengthSettingsAddon;

namespace Ui {
class TotalEffectStrengthSettingsWidget;
}

// Edits the strength percentage of one effect in place; alone on a page or embedded in
// the other effect editors. GUI thread only.
class TotalEffectStrengthSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TotalEffectStrengthSettingsWidget(QWidget* parent = nullptr);
    ~TotalEffectStrengthSettingsWidget() override;

    // Binds the edited object (not owned, non-null) and shows its value without reporting it.
    void setSettings(TotalEffectStrengthSettingsAddon* settings);
    void refresh();

signals:
    void settingsChanged();

private:
    void changeStrength(int value);

    Ui::TotalEffectStrengthSettingsWidget* ui;
    TotalEffectStrengthSettingsAddon* settings = nullptr;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
};
