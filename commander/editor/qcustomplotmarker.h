#pragma once

#include <qcustomplot.h>

#include <QColor>

// The round, draggable handle on one point of the edited curve: a 10-pixel circle centred
// on an invisible tracer that holds the point in plot coordinates. The plot owns both items.
class QCustomPlotMarker : public QCPItemEllipse
{
    Q_OBJECT

public:
    QCustomPlotMarker(QCustomPlot* parentPlot, int index);

    // The curve point (0 to 10) this marker stands for.
    int index() const { return mIndex; }
    // Holds the marker's centre; created on the same plot, which deletes it.
    QCPItemTracer* tracer() const { return mTracer; }

    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;

public slots:
    void startHower();
    void stopHower();
    void startMoving();
    void stopMoving();
    // Plot coordinates; the circle follows the tracer.
    void moveTo(float x, float y);

private:
    void replotParent();

    QCPItemTracer* mTracer;
    QColor mNormalColor = Qt::white;
    QColor mHoverColor = Qt::red;
    int mIndex;
};
