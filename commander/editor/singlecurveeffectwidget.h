#pragma once

#include "curvedescriptor.h"
#include "effecteditorcontrols.h"

#include <QWidget>

class SingleCurveEffectSettings;

namespace Ui {
class SingleCurveEffectWidget;
}

// Edits an effect whose strength follows one curve, in place: strength and curve (through
// the curve dialog). GUI thread only.
class SingleCurveEffectWidget : public QWidget
{
    Q_OBJECT

public:
    explicit SingleCurveEffectWidget(QWidget* parent = nullptr);
    ~SingleCurveEffectWidget() override;

    // Binds the edited object (not owned; it must outlive the binding), keeps a copy of the
    // curve's descriptor and shows it all.
    void setSettings(SingleCurveEffectSettings* settings, const CurveDescriptor& curve1Descriptor);
    // Shows what the settings hold; a load stores and reports nothing.
    void refresh();

signals:
    void settingsChanged();

private:
    Ui::SingleCurveEffectWidget* ui;
    SingleCurveEffectSettings* settings = nullptr;
    CurveDescriptor curve1Descriptor;
    bool updating = false; // refresh is loading the controls
    EffectEditorControls controls; // works on the members above
};
