#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class ShakerWithVariableFrequencySettings;

namespace Ui {
class ShakerWithVariableFrequencyWidget;
}

// Edits a shaker whose frequency runs from a base to a max frequency, in place: its
// strength and the two frequencies, the max kept above the base. GUI thread only.
class ShakerWithVariableFrequencyWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ShakerWithVariableFrequencyWidget(QWidget* parent = nullptr);
    ~ShakerWithVariableFrequencyWidget() override;

    // Binds the edited object (not owned; it must outlive the binding) and shows it.
    void setSettings(ShakerWithVariableFrequencySettings* settings);
    // Shows what the settings hold; a load stores and reports nothing.
    void refresh();

signals:
    void settingsChanged();

private slots:
    void on_base_frequency_valueChanged(int arg1);
    void on_max_frequency_valueChanged(int arg1);

private:
    Ui::ShakerWithVariableFrequencyWidget* ui;
    ShakerWithVariableFrequencySettings* settings = nullptr;
    // This editor has no curve preview; the placeholders stay as they are.
    CurveDescriptor curve1Descriptor;
    CurveDescriptor curve2Descriptor;
    bool updating = false; // refresh is loading the controls
    EffectEditorControls controls; // works on the members above
};
