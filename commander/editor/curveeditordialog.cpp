#include "curveeditordialog.h"
#include "ui_curveeditordialog.h"

#include "responsecurve.h"
#include "screenfit.h"

#include <QSignalBlocker>

#include <cmath>

namespace {
constexpr int pointCount = ResponseCurve::pointCount;
constexpr int lastPoint = pointCount - 1;

// A spin box rounds its limits to its decimals; rounding inward keeps a typed value at least
// one step from its neighbours. The slack absorbs float noise of values already on the grid.
double roundUp(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::ceil(value * scale - 1e-3) / scale;
}

double roundDown(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::floor(value * scale + 1e-3) / scale;
}
} // namespace

CurveEditorDialog::CurveEditorDialog(QWidget* parent)
    : QDialog(parent)
    , ui(new Ui::CurveEditorDialog)
{
    ui->setupUi(this);
    // Where the designed size does not fit the screen, the plot gives way first.
    ScreenFit::keep(this);
    inputs = {ui->input_0, ui->input_1, ui->input_2, ui->input_3, ui->input_4, ui->input_5,
              ui->input_6, ui->input_7, ui->input_8, ui->input_9, ui->input_10};
    outputs = {ui->output_0, ui->output_1, ui->output_2, ui->output_3, ui->output_4, ui->output_5,
               ui->output_6, ui->output_7, ui->output_8, ui->output_9, ui->output_10};
    // The editor pins the end inputs to the input range; they are never typed in.
    ui->input_0->setEnabled(false);
    ui->input_10->setEnabled(false);
    for (int k = 0; k < pointCount; ++k) {
        connect(inputs[k], &QDoubleSpinBox::valueChanged, this, [this, k](double value) { changeInput(k, value); });
        connect(outputs[k], &QDoubleSpinBox::valueChanged, this, [this, k](double value) { changeOutput(k, value); });
    }
    connect(ui->curveEditor, &CurveEditor::curveChanged, this, &CurveEditorDialog::showDraggedCurve);
}

CurveEditorDialog::~CurveEditorDialog()
{
    delete ui;
}

void CurveEditorDialog::setAxisNames(const QString& input, const QString& output)
{
    ui->input_label->setText(input);
    ui->output_label->setText(output);
}

void CurveEditorDialog::setReferenceLevel(float level, bool visible)
{
    ui->curveEditor->setReferenceLevel(level, visible);
}

void CurveEditorDialog::setInputRange(float min, float max)
{
    inputMin = min;
    inputMax = max;
    ui->curveEditor->setInputRange(min, max);
}

void CurveEditorDialog::setOutputRange(float min, float max)
{
    outputMin = min;
    outputMax = max;
    ui->curveEditor->setOutputRange(min, max);
}

void CurveEditorDialog::setFixedFirstOutput(float value, bool fixed)
{
    ui->curveEditor->setFixedFirstOutput(value, fixed);
    if (fixed)
        ui->output_0->setEnabled(false);
}

void CurveEditorDialog::setMinimumInputStep(float step)
{
    minimumInputStep = step;
    ui->curveEditor->setMinimumInputStep(step);
}

void CurveEditorDialog::setCurve(ResponseCurvePoint* points)
{
    this->points.clear();
    if (!points)
        return;
    for (int k = 0; k < pointCount; ++k)
        this->points.append(points + k);
    updating = true;
    for (int k = 0; k < pointCount; ++k) {
        const QSignalBlocker blockOutput(outputs[k]);
        outputs[k]->setRange(outputMin, outputMax);
        outputs[k]->setValue(points[k].out);
    }
    applyAllInputLimits();
    updating = false;
    ui->curveEditor->setCurve(points);
    ui->curveEditor->redraw();
}

void CurveEditorDialog::applyInputLimits(int index)
{
    // Called with the handlers suppressed: a limit that clamps the shown value must not
    // write it back into the curve.
    QDoubleSpinBox* box = inputs[index];
    const float own = points[index]->in;
    const double lower =
        roundUp(index == 0 ? inputMin : points[index - 1]->in + minimumInputStep, box->decimals());
    const double upper =
        roundDown(index == lastPoint ? inputMax : points[index + 1]->in - minimumInputStep, box->decimals());
    const QSignalBlocker block(box);
    if (upper < lower) {
        // Neighbours closer than two steps (a file can hold such a curve): the box shows its
        // point as it is and offers no room to move.
        box->setRange(own, own);
    } else {
        box->setMinimum(lower);
        box->setMaximum(upper);
    }
    box->setValue(own);
}

void CurveEditorDialog::applyAllInputLimits()
{
    for (int k = 0; k < pointCount; ++k)
        applyInputLimits(k);
}

void CurveEditorDialog::changeInput(int index, double value)
{
    if (updating || points.isEmpty())
        return;
    // The box's limits are kept current, so the value is already between its neighbours.
    points[index]->in = float(value);
    updating = true;
    applyAllInputLimits();
    updating = false;
    ui->curveEditor->updateMarkers();
    ui->curveEditor->redraw();
    emit curveChanged();
}

void CurveEditorDialog::changeOutput(int index, double value)
{
    if (updating || points.isEmpty())
        return;
    points[index]->out = float(value);
    ui->curveEditor->updateMarkers();
    ui->curveEditor->redraw();
    emit curveChanged();
}

void CurveEditorDialog::showDraggedCurve()
{
    updating = true;
    applyAllInputLimits();
    for (int k = 0; k < pointCount; ++k) {
        // Shown rounded to the box's decimals; the point keeps the dragged value.
        const QSignalBlocker block(outputs[k]);
        outputs[k]->setValue(points[k]->out);
    }
    updating = false;
    emit curveChanged();
}
