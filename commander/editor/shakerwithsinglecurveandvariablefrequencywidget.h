#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class ShakerWithSingleCurveAndVariableFrequencySettings;

namespace Ui {
class ShakerWithSingleCurveAndVariableFrequencyWidget;
}

// Edits a variable-frequency shaker whose strength follows one curve, in place: strength,
// curve (through the curve dialog), base and max frequency and, when shown, the frequency
// mode. GUI thread only.
class ShakerWithSingleCurveAndVariableFrequencyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ShakerWithSingleCurveAndVariableFrequencyWidget(QWidget* parent = nullptr);
    ~ShakerWithSingleCurveAndVariableFrequencyWidget() override;

    // Binds the edited object (not owned; it must outlive the binding), keeps a copy of the
    // curve's descriptor, shows the frequency-mode box only when showModeGroup, and shows it all.
    void setSettings(ShakerWithSingleCurveAndVariableFrequencySettings* settings,
                     const CurveDescriptor& curve1Descriptor, bool showModeGroup);
    // Shows what the settings hold; a load stores and reports nothing.
    void refresh();

signals:
    void settingsChanged();

private slots:
    void on_base_frequency_valueChanged(int arg1);
    void on_max_frequency_valueChanged(int arg1);
    void on_mode_check_box_toggled(bool checked);

private:
    Ui::ShakerWithSingleCurveAndVariableFrequencyWidget* ui;
    ShakerWithSingleCurveAndVariableFrequencySettings* settings = nullptr;
    CurveDescriptor curve1Descriptor;
    bool updating = false; // refresh is loading the controls
    EffectEditorControls controls; // works on the members above
};
