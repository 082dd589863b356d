#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class RPMShakerSettings;

namespace Ui {
class RPMShakerEffectWidget;
}

// Edits one RPM shaker (engine or main rotor) in place: strength, curve (through the curve
// dialog) and frequency multiplier. GUI thread only.
class RPMShakerEffectWidget : public QWidget
{
    Q_OBJECT

public:
    explicit RPMShakerEffectWidget(QWidget* parent = nullptr);
    ~RPMShakerEffectWidget() override;

    // Binds the edited object (not owned, non-null) with the description of its curve and
    // shows its values without reporting them.
    void setSettings(RPMShakerSettings* settings, const CurveDescriptor& curve1Descriptor);
    void refresh();

signals:
    void settingsChanged();

private:
    void changeFrequencyMultiplier(int value);

    Ui::RPMShakerEffectWidget* ui;
    RPMShakerSettings* settings = nullptr;
    CurveDescriptor curve1Descriptor;
    bool updating = false; // refresh is loading the controls: nothing is stored or reported
    EffectEditorControls controls; // works on the members above
};
