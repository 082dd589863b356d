#include "qcustomplotmarker.h"

namespace {
constexpr double radius = 5.0;

// Above the axes, so that the axis line does not cross a marker on the plot's edge.
QString markerLayer(QCustomPlot* plot)
{
    const QString name = QStringLiteral("markers");
    if (!plot->layer(name))
        plot->addLayer(name, plot->layer(QStringLiteral("axes")), QCustomPlot::limAbove);
    return name;
}
} // namespace

QCustomPlotMarker::QCustomPlotMarker(QCustomPlot* parentPlot, int index)
    : QCPItemEllipse(parentPlot)
    , mTracer(new QCPItemTracer(parentPlot))
    , mIndex(index)
{
    setBrush(QBrush(mNormalColor));
    setPen(QPen(Qt::black, 2));
    setSelectable(true);
    // The curve's first and last points lie on the plot's edges: unclipped, their markers
    // show whole and a press anywhere on the disc grabs them.
    setClipToAxisRect(false);
    setLayer(markerLayer(parentPlot));
    for (QCPItemPosition* corner : {topLeft, bottomRight}) {
        corner->setParentAnchor(mTracer->position);
        corner->setType(QCPItemPosition::ptAbsolute);
    }
    topLeft->setCoords(-radius, -radius);
    bottomRight->setCoords(radius, radius);
    mTracer->setStyle(QCPItemTracer::tsNone);
}

double QCustomPlotMarker::selectTest(const QPointF& pos, bool onlySelectable, QVariant* details) const
{
    // The ellipse's distance formula divides by the distance to the centre and gives NaN
    // there, so a press right on the centre would miss the marker.
    if (onlySelectable && !selectable())
        return -1;
    const QPointF offset = pos - mTracer->position->pixelPosition();
    if (offset.x() * offset.x() + offset.y() * offset.y() <= radius * radius)
        return mParentPlot->selectionTolerance() * 0.99;
    return QCPItemEllipse::selectTest(pos, onlySelectable, details);
}

void QCustomPlotMarker::startHower()
{
    setBrush(QBrush(mHoverColor));
    replotParent();
}

void QCustomPlotMarker::stopHower()
{
    setBrush(QBrush(mNormalColor));
    replotParent();
}

void QCustomPlotMarker::startMoving()
{
    mTracer->setStyle(QCPItemTracer::tsCrosshair);
    replotParent();
}

void QCustomPlotMarker::stopMoving()
{
    mTracer->setStyle(QCPItemTracer::tsNone);
    replotParent();
}

void QCustomPlotMarker::moveTo(float x, float y)
{
    mTracer->position->setCoords(x, y);
    replotParent();
}

void QCustomPlotMarker::replotParent()
{
    // Queued, so that the moves of all markers in one drag step give one replot.
    parentPlot()->replot(QCustomPlot::rpQueuedReplot);
}
