#pragma once

#include "responsecurve.h"

#include <QDialog>
#include <QList>

class QDoubleSpinBox;

namespace Ui {
class CurveEditorDialog;
}

// Modal dialog that edits one response curve in place: the curve editor on the left, one
// input and one output spin box per point on the right. Every change is written into the
// bound points at once and announced with curveChanged(); restoring on Cancel is the
// caller's. GUI thread only.
class CurveEditorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CurveEditorDialog(QWidget* parent = nullptr);
    ~CurveEditorDialog() override;

    void setAxisNames(const QString& input, const QString& output);
    void setReferenceLevel(float level, bool visible);
    void setInputRange(float min, float max);
    void setOutputRange(float min, float max);
    // When fixed, the first output cannot be typed in for the rest of the dialog's life.
    void setFixedFirstOutput(float value, bool fixed);
    void setMinimumInputStep(float step);
    // Binds the 11 points at points (not owned); call once, after the ranges.
    void setCurve(ResponseCurvePoint* points);

signals:
    void curveChanged();

private:
    void changeInput(int index, double value);
    void changeOutput(int index, double value);
    void showDraggedCurve();
    void applyInputLimits(int index);
    void applyAllInputLimits();

    Ui::CurveEditorDialog* ui;
    QList<ResponseCurvePoint*> points;
    QList<QDoubleSpinBox*> inputs;
    QList<QDoubleSpinBox*> outputs;
    float inputMin = -100.0f;
    float inputMax = 100.0f;
    float outputMin = -100.0f;
    float outputMax = 100.0f;
    float minimumInputStep = ResponseCurve::minimumInputStep;
    bool updating = false; // the spin boxes are being reloaded; their handlers write nothing
};
