#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class ShakerWithSingleCurveAndFixedFrequencySettings;

namespace Ui {
class ShakerWithSingleCurveAndFixedFrequencyWidget;
}

// Edits one shaker or jolt of one curve and one frequency in place: strength, curve (through
// the curve dialog), base frequency and, where offered, the telemetry frequency mode.
// GUI thread only.
class ShakerWithSingleCurveAndFixedFrequencyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ShakerWithSingleCurveAndFixedFrequencyWidget(QWidget* parent = nullptr);
    ~ShakerWithSingleCurveAndFixedFrequencyWidget() override;

    // Binds the edited object (not owned, non-null) with the description of its curve and
    // shows its values without reporting them; showModeGroup offers the frequency mode.
    void setSettings(ShakerWithSingleCurveAndFixedFrequencySettings* settings,
                     const CurveDescriptor& curve1Descriptor, bool showModeGroup);
    void refresh();

signals:
    void settingsChanged();

private slots:
    void on_mode_check_box_toggled(bool checked);

private:
    Ui::ShakerWithSingleCurveAndFixedFrequencyWidget* ui;
    ShakerWithSingleCurveAndFixedFrequencySettings* settings = nullptr;
    CurveDescriptor curve1Descriptor;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
    EffectEditorControls controls; // works on the members above
};
