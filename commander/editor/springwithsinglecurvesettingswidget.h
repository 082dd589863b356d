#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class SpringWithSingleCurveSettings;

namespace Ui {
class SpringWithSingleCurveSettingsWidget;
}

// Edits one curve spring in place: its strength, its curve (through the curve dialog) and
// the part of it added as damping. GUI thread only.
class SpringWithSingleCurveSettingsWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SpringWithSingleCurveSettingsWidget(QWidget* parent = nullptr);
    ~SpringWithSingleCurveSettingsWidget() override;

    // Binds the edited object (not owned, non-null) with the description of its curve and
    // shows its values without reporting them.
    void setSettings(SpringWithSingleCurveSettings* settings, const CurveDescriptor& curve1Descriptor);
    void refresh();

signals:
    void settingsChanged();
    // The curve changed in the curve dialog (always after settingsChanged); the simple
    // spring's curve goes on to the base.
    void curveChanged();

private:
    void changeDampeningContribution(int value);

    Ui::SpringWithSingleCurveSettingsWidget* ui;
    SpringWithSingleCurveSettings* settings = nullptr;
    CurveDescriptor curve1Descriptor;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
    EffectEditorControls controls; // works on the members above
};
