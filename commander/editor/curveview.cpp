#include "curveview.h"
#include "ui_curveview.h"

#include "responsecurve.h"

#include <QColor>
#include <QVector>

namespace {
const QString restStyle = QStringLiteral("#myObject { border: 1px solid rgb(200,200,200); }");
const QString hoverStyle = QStringLiteral("#myObject { border: 1px solid rgb(0,120,215); }");
const QColor hoverBackground(0, 120, 215, 20);
} // namespace

CurveView::CurveView(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::CurveView)
{
    ui->setupUi(this);
    QCustomPlot* plot = ui->customPlot;
    // The hover background is translucent. Over an opaque-paint widget every repaint would
    // blend it onto the last picture again, darkening the preview step by step; with the
    // parent painted beneath, it is the same faint tint each time.
    plot->setAttribute(Qt::WA_OpaquePaintEvent, false);
    plot->addGraph();
    plot->graph(0)->setPen(QPen(Qt::black, 2));
    plot->xAxis2->setVisible(true);
    plot->yAxis2->setVisible(true);
    for (QCPAxis* axis : {plot->xAxis, plot->yAxis, plot->xAxis2, plot->yAxis2})
        axis->setTickLabels(false);
    // The style sheets select the frame by this name.
    ui->frame->setObjectName(QStringLiteral("myObject"));
    ui->frame->setStyleSheet(restStyle);
    connect(plot, &QCustomPlot::mousePress, this, &CurveView::pressed);
}

CurveView::~CurveView()
{
    delete ui;
}

void CurveView::setCurve(const ResponseCurvePoint* points, const QString& xLabel, const QString& yLabel)
{
    if (!points)
        return;
    QVector<double> x(ResponseCurve::pointCount);
    QVector<double> y(ResponseCurve::pointCount);
    for (int k = 0; k < ResponseCurve::pointCount; ++k) {
        x[k] = points[k].in;
        y[k] = points[k].out;
    }
    QCustomPlot* plot = ui->customPlot;
    plot->graph(0)->setData(x, y);
    plot->xAxis->setLabel(xLabel);
    plot->yAxis->setLabel(yLabel);
    plot->yAxis2->setLabel(yLabel);
    plot->rescaleAxes(false);
    plot->replot(QCustomPlot::rpRefreshHint);
}

void CurveView::enterEvent(QEnterEvent* event)
{
    ui->frame->setStyleSheet(hoverStyle);
    ui->customPlot->setBackground(QBrush(hoverBackground));
    ui->customPlot->replot(QCustomPlot::rpRefreshHint);
    QWidget::enterEvent(event);
}

void CurveView::leaveEvent(QEvent* event)
{
    ui->frame->setStyleSheet(restStyle);
    ui->customPlot->setBackground(QBrush(Qt::white));
    ui->customPlot->replot(QCustomPlot::rpRefreshHint);
    QWidget::leaveEvent(event);
}
