#pragma once

#include "effecteditorcontrols.h"

#include <QWidget>

class ShakerWithFixedFrequencySettings;

namespace Ui {
class ShakerWithFixedFrequencyWidget;
}

// Edits a shaker of one frequency in place: its strength, its base frequency and whether
// the telemetry's frequency takes over. Serves the jolt pages and each gun of the gunfire
// editor. GUI thread only.
class ShakerWithFixedFrequencyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ShakerWithFixedFrequencyWidget(QWidget* parent = nullptr);
    ~ShakerWithFixedFrequencyWidget() override;

    // Binds the edited object (not owned; it must outlive the binding) and shows it.
    void setSettings(ShakerWithFixedFrequencySettings* settings);
    // Shows what the settings hold; a load stores and reports nothing.
    void refresh();

signals:
    void settingsChanged();

private slots:
    void on_mode_check_box_toggled(bool checked);

private:
    Ui::ShakerWithFixedFrequencyWidget* ui;
    ShakerWithFixedFrequencySettings* settings = nullptr;
    bool updating = false; // refresh is loading the controls
    EffectEditorControls controls; // works on the members above
};
