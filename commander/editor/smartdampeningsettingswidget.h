#pragma once

#include <QWidget>

class QSlider;
class QSpinBox;
class SmartDamperSettings;

namespace Ui {
class SmartDampeningSettingsWidget;
}

// Edits the base's own damper of one axis in place: strength, static and dynamic dampening.
// A dampening slider follows its spin box past 100 and keeps the larger range. GUI thread only.
class SmartDampeningSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SmartDampeningSettingsWidget(QWidget* parent = nullptr);
    ~SmartDampeningSettingsWidget() override;

    // Binds the edited object (not owned) and shows its values without reporting them.
    void setSettings(SmartDamperSettings* settings);
    void refresh();

signals:
    void settingsChanged();

private slots:
    void on_static_dampening_spinner_valueChanged(int arg1);
    void on_dynamic_dampening_spinner_valueChanged(int arg1);
    void on_dynamic_dampening_slider_valueChanged(int value);
    void on_static_dampening_slider_valueChanged(int value);

private:
    void changeStrength(int value);
    void storeDampening(float SmartDamperSettings::*field, int value);

    Ui::SmartDampeningSettingsWidget* ui;
    SmartDamperSettings* settings = nullptr;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
};
