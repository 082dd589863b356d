#include "curveeditor.h"
#include "ui_curveeditor.h"

#include "qcustomplotmarker.h"
#include "responsecurve.h"

#include <algorithm>

namespace {
constexpr int referenceGraph = 0;
constexpr int curveGraph = 1;
constexpr int pointCount = ResponseCurve::pointCount;

// An axis and the one opposite it always show the same range.
void setAxisPairRange(QCPAxis* axis, QCPAxis* opposite, float lower, float upper)
{
    axis->setRange(lower, upper);
    opposite->setRange(lower, upper);
}

// Cuts range to the configured min and max; setting an unchanged range emits nothing,
// which ends the recursion through rangeChanged.
void limitAxisPairRange(QCPAxis* axis, QCPAxis* opposite, const QCPRange& range, float min, float max)
{
    const float lower = min > range.lower ? min : float(range.lower);
    const float upper = range.upper > max ? max : float(range.upper);
    setAxisPairRange(axis, opposite, lower, upper);
}
} // namespace

CurveEditor::CurveEditor(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::CurveEditor)
    , x(pointCount, 0.0)
    , y(pointCount, 0.0)
    , referenceX(2, 0.0)
    , referenceY(2, 0.0)
    , markers(pointCount, nullptr)
{
    ui->setupUi(this);
    QCustomPlot* plot = ui->customPlot;
    plot->addGraph()->setPen(QPen(Qt::darkRed, 2));
    plot->addGraph()->setPen(QPen(Qt::black, 3));
    plot->xAxis2->setVisible(true);
    plot->xAxis2->setTickLabels(true);
    plot->yAxis2->setVisible(true);
    plot->yAxis2->setTickLabels(true);
    connect(plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &CurveEditor::limitXRange);
    connect(plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &CurveEditor::limitYRange);
    connect(plot, &QCustomPlot::mousePress, this, &CurveEditor::mousePress);
    // Qt hands a quick second press to the plot as a double-click instead of a press.
    connect(plot, &QCustomPlot::mouseDoubleClick, this, &CurveEditor::mousePress);
    connect(plot, &QCustomPlot::mouseRelease, this, &CurveEditor::mouseRelease);
    connect(plot, &QCustomPlot::mouseMove, this, &CurveEditor::mouseMove);
}

CurveEditor::~CurveEditor()
{
    delete ui;
}

void CurveEditor::setCurve(ResponseCurvePoint* points)
{
    removeMarkers();
    this->points = points;
    if (!points)
        return;
    QCustomPlot* plot = ui->customPlot;
    for (int k = 0; k < pointCount; ++k)
        markers[k] = new QCustomPlotMarker(plot, k);
    updateMarkers();
    plot->rescaleAxes(false);
    replot();
}

void CurveEditor::removeMarkers()
{
    // A marker's tracer is a separate item of the plot; it goes with its marker.
    QCustomPlot* plot = ui->customPlot;
    for (QCustomPlotMarker*& marker : markers) {
        if (!marker)
            continue;
        plot->removeItem(marker->tracer());
        plot->removeItem(marker);
        marker = nullptr;
    }
    heldMarker = nullptr;
    dragging = false;
}

void CurveEditor::setInputRange(float min, float max)
{
    inputMin = min;
    inputMax = max;
    setAxisPairRange(ui->customPlot->xAxis, ui->customPlot->xAxis2, min, max);
    redraw();
}

void CurveEditor::setOutputRange(float min, float max)
{
    outputMin = min;
    outputMax = max;
    setAxisPairRange(ui->customPlot->yAxis, ui->customPlot->yAxis2, min, max);
    redraw();
}

void CurveEditor::setReferenceLevel(float level, bool visible)
{
    referenceLevel = level;
    referenceVisible = visible;
    redraw();
}

void CurveEditor::setFixedFirstOutput(float value, bool fixed)
{
    fixedFirstOutput = value;
    firstOutputFixed = fixed;
}

void CurveEditor::setMinimumInputStep(float step)
{
    minimumInputStep = step;
}

void CurveEditor::setAxisLabels(const QString& x, const QString& y)
{
    QCustomPlot* plot = ui->customPlot;
    plot->xAxis->setLabel(x);
    plot->xAxis2->setLabel(x);
    plot->yAxis->setLabel(y);
    plot->yAxis2->setLabel(y);
}

void CurveEditor::redraw()
{
    referenceX = {inputMin, inputMax};
    referenceY = {referenceLevel, referenceLevel};
    QCPGraph* reference = ui->customPlot->graph(referenceGraph);
    reference->setData(referenceX, referenceY);
    reference->setVisible(referenceVisible);
    replot();
}

void CurveEditor::updateMarkers()
{
    if (!points)
        return;
    for (int k = 0; k < pointCount; ++k) {
        x[k] = points[k].in;
        y[k] = points[k].out;
        if (markers[k])
            markers[k]->moveTo(float(x[k]), float(y[k]));
    }
    // Only the drawn line starts at the pinned value; marker 0 shows the stored output.
    if (firstOutputFixed)
        y[0] = fixedFirstOutput;
    ui->customPlot->graph(curveGraph)->setData(x, y);
}

void CurveEditor::limitXRange(QCPRange range)
{
    limitAxisPairRange(ui->customPlot->xAxis, ui->customPlot->xAxis2, range, inputMin, inputMax);
}

void CurveEditor::limitYRange(QCPRange range)
{
    limitAxisPairRange(ui->customPlot->yAxis, ui->customPlot->yAxis2, range, outputMin, outputMax);
}

void CurveEditor::mousePress(QMouseEvent* event)
{
    QCustomPlot* plot = ui->customPlot;
    if (event->button() == Qt::LeftButton) {
        // Decided by this press alone: motion events are merged and a release can be lost,
        // so neither the hover nor a drag left running may pick the marker.
        mouseRelease(event);
        const QPoint pointer = event->position().toPoint();
        hover(plot->itemAt<QCustomPlotMarker>(pointer, true));
        if (!heldMarker)
            return;
        const QPointF centre = heldMarker->tracer()->position->coords();
        dragOffsetX = float(plot->xAxis->pixelToCoord(pointer.x()) - centre.x());
        dragOffsetY = float(plot->yAxis->pixelToCoord(pointer.y()) - centre.y());
        heldMarker->startMoving();
        dragging = true;
    } else if (event->button() == Qt::MiddleButton) {
        fitted = !fitted;
        if (fitted) {
            plot->graph(curveGraph)->rescaleAxes(false);
        } else {
            setAxisPairRange(plot->yAxis, plot->yAxis2, outputMin, outputMax);
        }
        replot();
    }
}

void CurveEditor::mouseRelease(QMouseEvent*)
{
    if (heldMarker)
        heldMarker->stopMoving();
    dragging = false;
}

void CurveEditor::mouseMove(QMouseEvent* event)
{
    QCustomPlot* plot = ui->customPlot;
    const QPoint pointer = event->position().toPoint();
    // A running drag keeps its marker when the pointer leaves it or crosses another.
    if (!dragging) {
        hover(plot->itemAt<QCustomPlotMarker>(pointer, true));
        return;
    }
    if (!heldMarker || !points)
        return;

    const int i = heldMarker->index();
    float newX = float(plot->xAxis->pixelToCoord(pointer.x())) - dragOffsetX;
    float newY = float(plot->yAxis->pixelToCoord(pointer.y())) - dragOffsetY;
    if (i == 0) {
        newX = inputMin;
    } else if (i == pointCount - 1) {
        newX = inputMax;
    } else {
        // Neighbours closer than two steps leave no room; then the upper bound wins.
        const float lower = float(x[i - 1]) + minimumInputStep;
        const float upper = float(x[i + 1]) - minimumInputStep;
        newX = std::min(upper, std::max(lower, newX));
    }
    newY = newY > outputMax ? outputMax : std::max(outputMin, newY);
    if (i == 0 && firstOutputFixed)
        newY = outputMin;

    points[i].in = newX;
    points[i].out = newY;
    emit curveChanged();
    emit curvePointChanged(i, newX, newY);
    updateMarkers();
    replot();
}

void CurveEditor::hover(QCustomPlotMarker* marker)
{
    if (marker == heldMarker)
        return;
    if (heldMarker)
        heldMarker->stopHower();
    heldMarker = marker;
    if (heldMarker)
        heldMarker->startHower();
}

void CurveEditor::replot()
{
    // Queued: the markers queue theirs too, so one change is drawn once.
    ui->customPlot->replot(QCustomPlot::rpQueuedReplot);
}
