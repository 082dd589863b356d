#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class ShakerWithDualCurveAndFixedFrequencySettings;

namespace Ui {
class ShakerWithDualCurveAndFixedFrequencyWidget;
}

// Edits a shaker of one frequency whose strength follows the product of two curves, in
// place: strength, both curves (through the curve dialog), base frequency and, when shown,
// the frequency mode. GUI thread only.
class ShakerWithDualCurveAndFixedFrequencyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ShakerWithDualCurveAndFixedFrequencyWidget(QWidget* parent = nullptr);
    ~ShakerWithDualCurveAndFixedFrequencyWidget() override;

    // Binds the edited object (not owned; it must outlive the binding), keeps copies of the
    // curves' descriptors, shows the frequency-mode box only when showModeGroup, and shows it all.
    void setSettings(ShakerWithDualCurveAndFixedFrequencySettings* settings,
                     const CurveDescriptor& curve1Descriptor, const CurveDescriptor& curve2Descriptor,
                     bool showModeGroup);
    // Shows what the settings hold; a load stores and reports nothing.
    void refresh();

signals:
    void settingsChanged();

private slots:
    void on_mode_check_box_toggled(bool checked);

private:
    Ui::ShakerWithDualCurveAndFixedFrequencyWidget* ui;
    ShakerWithDualCurveAndFixedFrequencySettings* settings = nullptr;
    CurveDescriptor curve1Descriptor;
    CurveDescriptor curve2Descriptor;
    bool updating = false; // refresh is loading the controls
    EffectEditorControls controls; // works on the members above
};
