#include "curveview.h"
#include "qcustomplotmarker.h"
#include "responsecurve.h"
#include "widgettest.h"

#include <QSignalSpy>
#include <QTest>

using namespace WidgetTest;

class TestCurveView : public QObject {
    Q_OBJECT

private slots:
    void everyButtonPresses_data();
    void everyButtonPresses();
    void identityCurveFitsAndHoverTints();
    void markerMoveToCentresCircle_data();
    void markerMoveToCentresCircle();
};

void TestCurveView::everyButtonPresses_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("middle") << Qt::MiddleButton;
    QTest::newRow("right") << Qt::RightButton;
}

void TestCurveView::everyButtonPresses()
{
    QFETCH(Qt::MouseButton, button);
    CurveView view;
    view.setCurve(genericCurveTable, "In (%)", "Out (%)");
    QVERIFY(showExposed(&view, QSize(400, 200)));
    QSignalSpy pressed(&view, &CurveView::pressed);
    QTest::mouseClick(view.findChild<QCustomPlot*>("customPlot"), button, Qt::NoModifier, QPoint(200, 100));
    QCOMPARE(pressed.count(), 1);
    QVERIFY(!saveScreenshot(&view, QStringLiteral("pressed-") + QTest::currentDataTag()).isEmpty());
}

void TestCurveView::identityCurveFitsAndHoverTints()
{
    CurveView view;
    view.setCurve(genericCurveTable, "In (%)", "Out (%)");
    QVERIFY(showExposed(&view, QSize(400, 200)));
    auto* plot = view.findChild<QCustomPlot*>("customPlot");
    QCOMPARE(plot->xAxis->range(), QCPRange(-100, 100));
    QCOMPARE(plot->yAxis->range(), QCPRange(-100, 100));
    QCOMPARE(QStringList({plot->xAxis->label(), plot->xAxis2->label(), plot->yAxis->label(), plot->yAxis2->label()}),
             QStringList({"In (%)", "", "Out (%)", "Out (%)"}));
    const QRect rect = plot->axisRect()->rect();
    QCOMPARE(plotPixel(plot, -100, -100), QPoint(rect.left(), rect.bottom()));
    QVERIFY(grabbedPixel(plot, plotPixel(plot, 0, 0)).lightness() < 30);

    const QPoint empty = plot->mapTo(&view, plotPixel(plot, 60, -60));
    QCOMPARE(grabbedPixel(&view, QPoint(0, 0)), QColor(200, 200, 200));
    QCOMPARE(grabbedPixel(&view, empty), QColor(Qt::white));
    sendEnter(&view, QPoint(200, 100));
    QCOMPARE(grabbedPixel(&view, QPoint(399, 199)), QColor(0, 120, 215));
    const QColor tint = grabbedPixel(&view, empty);
    QVERIFY2(tint.blue() > tint.red() + 5 && tint.lightness() > 200, qPrintable(tint.name()));
    for (int repaint = 0; repaint < 5; ++repaint)
        view.repaint();
    QCOMPARE(grabbedPixel(&view, empty), tint); // a faint tint, not one that deepens
    QVERIFY(!saveScreenshot(&view, "hover").isEmpty());
    sendLeave(&view);
    QCOMPARE(grabbedPixel(&view, QPoint(0, 0)), QColor(200, 200, 200));
    QCOMPARE(grabbedPixel(&view, empty), QColor(Qt::white));
}

void TestCurveView::markerMoveToCentresCircle_data()
{
    QTest::addColumn<QCPRange>("xRange");
    QTest::addColumn<QCPRange>("yRange");
    QTest::newRow("percent") << QCPRange(-100, 100) << QCPRange(-100, 100);
    QTest::newRow("zoomed in") << QCPRange(20, 30) << QCPRange(45, 55);
    QTest::newRow("zoomed out") << QCPRange(0, 1000) << QCPRange(0, 400);
}

void TestCurveView::markerMoveToCentresCircle()
{
    QFETCH(QCPRange, xRange);
    QFETCH(QCPRange, yRange);
    QCustomPlot plot;
    plot.xAxis->setRange(xRange);
    plot.yAxis->setRange(yRange);
    auto* marker = new QCustomPlotMarker(&plot, 7);
    QVERIFY(showExposed(&plot, QSize(400, 300)));
    marker->moveTo(25, 50);
    const QPoint centre = plotPixel(&plot, 25, 50);
    const QPointF exact(plot.xAxis->coordToPixel(25), plot.yAxis->coordToPixel(50));
    QCOMPARE(marker->topLeft->pixelPosition(), exact - QPointF(5, 5));
    QCOMPARE(marker->bottomRight->pixelPosition(), exact + QPointF(5, 5));
    QCOMPARE(plot.itemAt<QCustomPlotMarker>(exact, true), marker); // the very centre hits it too

    QCOMPARE(grabbedPixel(&plot, centre), QColor(Qt::white));
    marker->startHower();
    QCOMPARE(grabbedPixel(&plot, centre + QPoint(2, 1)), QColor(Qt::red));
    QVERIFY(grabbedPixel(&plot, centre + QPoint(9, 0)) != QColor(Qt::red));
    marker->startMoving();
    const QPoint onCrosshair(plot.axisRect()->rect().left() + 15, centre.y());
    QVERIFY(grabbedPixel(&plot, onCrosshair).lightness() < 128);
    QVERIFY(!saveScreenshot(&plot, QStringLiteral("marker-") + QTest::currentDataTag()).isEmpty());
    marker->stopMoving();
    marker->stopHower();
    QCOMPARE(grabbedPixel(&plot, centre), QColor(Qt::white));
    QVERIFY(grabbedPixel(&plot, onCrosshair).lightness() > 128);
}

QTEST_MAIN(TestCurveView)
#include "tst_curveview.moc"
