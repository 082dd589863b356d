#pragma once

#include "responsecurve.h"

#include <qcustomplot.h>

#include <QList>
#include <QVector>
#include <QWidget>

class QCustomPlotMarker;
class QMouseEvent;

namespace Ui {
class CurveEditor;
}

// The plot in which the user drags the 11 points of a response curve. It edits the points
// in place: every drag step is written straight into the bound points. Inputs stay at least
// the minimum step apart, the end inputs are pinned to the input range, outputs stay inside
// the output range. GUI thread only.
class CurveEditor : public QWidget
{
    Q_OBJECT

public:
    explicit CurveEditor(QWidget* parent = nullptr);
    ~CurveEditor() override;

    // Binds the editor to the 11 points at points (not owned; they must outlive the editor
    // or the next call). A second call replaces the markers of the first.
    void setCurve(ResponseCurvePoint* points);
    void setInputRange(float min, float max);
    void setOutputRange(float min, float max);
    void setReferenceLevel(float level, bool visible);
    // Takes effect with the next updateMarkers.
    void setFixedFirstOutput(float value, bool fixed);
    void setMinimumInputStep(float step);
    void setAxisLabels(const QString& x, const QString& y);
    void redraw();
    // Copies the bound points into the plot and moves the markers onto them.
    void updateMarkers();

signals:
    void curveChanged();
    void curvePointChanged(int index, float in, float out);

private slots:
    void limitXRange(QCPRange range);
    void limitYRange(QCPRange range);
    void mousePress(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);

private:
    void removeMarkers();
    // Makes marker (or none) the held, tinted one.
    void hover(QCustomPlotMarker* marker);
    void replot();

    Ui::CurveEditor* ui;
    QVector<double> x;
    QVector<double> y;
    QVector<double> referenceX;
    QVector<double> referenceY;
    bool dragging = false;
    bool fitted = false;
    QCustomPlotMarker* heldMarker = nullptr;
    QList<QCustomPlotMarker*> markers;
    ResponseCurvePoint* points = nullptr;
    float dragOffsetX = 0.0f;
    float dragOffsetY = 0.0f;
    float inputMin = -100.0f;
    float inputMax = 100.0f;
    float outputMin = -100.0f;
    float outputMax = 100.0f;
    float minimumInputStep = ResponseCurve::minimumInputStep;
    float referenceLevel = 0.0f;
    bool referenceVisible = false;
    float fixedFirstOutput = 0.0f;
    bool firstOutputFixed = false;
};
