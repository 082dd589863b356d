#include "curveeditor.h"
#include "qcustomplotmarker.h"
#include "responsecurve.h"
#include "widgettest.h"

#include <QSignalSpy>
#include <QTest>

using namespace WidgetTest;

namespace {

// Inputs 0, 10, ..., 100; outputs the same times outputScale.
ResponseCurve tenStepCurve(float outputScale = 1.0f)
{
    ResponseCurve curve;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        curve.points[k] = {10.0f * k, 10.0f * k * outputScale};
    return curve;
}

QCustomPlot* showBound(CurveEditor& editor, ResponseCurve& curve, float outputMin = 0)
{
    editor.setInputRange(0, 100);
    editor.setOutputRange(outputMin, 100);
    editor.setCurve(curve.points);
    return showExposed(&editor, QSize(600, 450)) ? editor.findChild<QCustomPlot*>("customPlot") : nullptr;
}

QCustomPlotMarker* markerAt(QCustomPlot* plot, int index)
{
    for (int i = 0; i < plot->itemCount(); ++i) {
        auto* marker = qobject_cast<QCustomPlotMarker*>(plot->item(i));
        if (marker && marker->index() == index)
            return marker;
    }
    return nullptr;
}

} // namespace

class TestCurveEditor : public QObject {
    Q_OBJECT

private slots:
    void identityCurveFillsRanges();
    void secondCurveReplacesMarkers();
    void dragKeepsPointInBounds_data();
    void dragKeepsPointInBounds();
    void crowdedPointTakesUpperBound();
    void heldMarkerKeepsHoverWhileDragging();
    void middleButtonTogglesFitRightDoesNothing();
    void limitRangeEndsAtConfiguredRange_data();
    void limitRangeEndsAtConfiguredRange();
};

void TestCurveEditor::identityCurveFillsRanges()
{
    CurveEditor editor;
    ResponseCurve curve;
    curve.setPoints(genericCurveTable);
    editor.setInputRange(-100, 100);
    editor.setOutputRange(-100, 100);
    editor.setReferenceLevel(50, true);
    editor.setCurve(curve.points);
    QVERIFY(showExposed(&editor, QSize(600, 450)));
    auto* plot = editor.findChild<QCustomPlot*>("customPlot");
    for (QCPAxis* axis : {plot->xAxis, plot->xAxis2, plot->yAxis, plot->yAxis2})
        QCOMPARE(axis->range(), QCPRange(-100, 100));
    QVERIFY(grabbedPixel(plot, plotPixel(plot, -60, 50)).red() > 80); // the reference line

    editor.setFixedFirstOutput(-50, true); // moves the line's start, not marker 0
    editor.updateMarkers();
    QCOMPARE(plot->graph(1)->data()->at(0)->value, -50.0);
    QCOMPARE(markerAt(plot, 0)->tracer()->position->coords(), QPointF(-100, -100));
    QVERIFY(!saveScreenshot(&editor, "identity").isEmpty());
}

void TestCurveEditor::secondCurveReplacesMarkers()
{
    CurveEditor editor;
    ResponseCurve first = tenStepCurve();
    ResponseCurve second = tenStepCurve(0.5f);
    editor.setCurve(first.points);
    QCustomPlot* plot = showBound(editor, second);
    QCOMPARE(plot->graphCount(), 2);
    QCOMPARE(plot->itemCount(), 2 * ResponseCurve::pointCount); // one set of markers and tracers
    drag(plot, Qt::LeftButton, plotPixel(plot, 50, 25), plotPixel(plot, 50, 60));
    QCOMPARE(first, tenStepCurve());
    QVERIFY(qAbs(second.points[5].out - 60) < 0.6f);
    QVERIFY(!saveScreenshot(&editor, "rebound").isEmpty());
}

void TestCurveEditor::dragKeepsPointInBounds_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("grabOffset"); // pixels from the marker's centre
    QTest::addColumn<bool>("firstOutputFixed");
    QTest::addColumn<QPointF>("target"); // where the pointer takes the point
    QTest::addColumn<QPointF>("expected");
    QTest::addColumn<QPointF>("tolerance"); // 0 where the result is a bound
    const QPointF pixel(0.6, 0.6), bound(0, 0), boundX(0, 0.6), boundY(0.6, 0);
    QTest::newRow("between neighbours") << 4 << QPoint() << false << QPointF(43, 67) << QPointF(43, 67) << pixel;
    QTest::newRow("beyond upper neighbour") << 4 << QPoint() << false << QPointF(75, 40) << QPointF(49, 40) << boundX;
    QTest::newRow("beyond lower neighbour") << 4 << QPoint() << false << QPointF(5, 40) << QPointF(31, 40) << boundX;
    QTest::newRow("first input pinned") << 0 << QPoint() << false << QPointF(30, 60) << QPointF(0, 60) << boundX;
    QTest::newRow("last input pinned") << 10 << QPoint(-3, 3) << false << QPointF(70, 50) << QPointF(100, 50) << boundX;
    QTest::newRow("first output fixed") << 0 << QPoint() << true << QPointF(30, 60) << QPointF(0, 0) << bound;
    QTest::newRow("grabbed off centre") << 6 << QPoint(4, -3) << false << QPointF(57, 33) << QPointF(57, 33) << pixel;
    QTest::newRow("above output range") << 6 << QPoint() << false << QPointF(60, 115) << QPointF(60, 100) << boundY;
    QTest::newRow("below output range") << 6 << QPoint() << false << QPointF(60, -15) << QPointF(60, 0) << boundY;
}

void TestCurveEditor::dragKeepsPointInBounds()
{
    QFETCH(int, index);
    QFETCH(QPoint, grabOffset);
    QFETCH(bool, firstOutputFixed);
    QFETCH(QPointF, target);
    QFETCH(QPointF, expected);
    QFETCH(QPointF, tolerance);
    CurveEditor editor;
    ResponseCurve curve = tenStepCurve();
    editor.setFixedFirstOutput(0, firstOutputFixed);
    QCustomPlot* plot = showBound(editor, curve);
    QStringList order;
    connect(&editor, &CurveEditor::curveChanged, this, [&] { order << "curve"; });
    connect(&editor, &CurveEditor::curvePointChanged, this, [&](int i, float in, float out) {
        order << QStringLiteral("point %1").arg(i);
        QCOMPARE(curve.points[i], (ResponseCurvePoint{in, out}));
    });
    const ResponseCurvePoint start = curve.points[index];
    drag(plot, Qt::LeftButton, plotPixel(plot, start.in, start.out) + grabOffset,
         plotPixel(plot, target.x(), target.y()) + grabOffset, 2);

    const ResponseCurvePoint moved = curve.points[index];
    QVERIFY2(qAbs(moved.in - expected.x()) <= tolerance.x(), qPrintable(QString::number(moved.in)));
    QVERIFY2(qAbs(moved.out - expected.y()) <= tolerance.y(), qPrintable(QString::number(moved.out)));
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        QVERIFY(k == index || curve.points[k] == tenStepCurve().points[k]);
    const QString point = QStringLiteral("point %1").arg(index);
    QCOMPARE(order, QStringList({"curve", point, "curve", point}));
    QCOMPARE(markerAt(plot, index)->tracer()->position->coords(), QPointF(moved.in, moved.out));
    QVERIFY(!saveScreenshot(&editor, QStringLiteral("drag-") + QTest::currentDataTag()).isEmpty());
}

void TestCurveEditor::crowdedPointTakesUpperBound()
{
    CurveEditor editor;
    ResponseCurve curve = tenStepCurve();
    curve.points[3].in = 39.2f; // less than two steps from point 5
    curve.points[5].in = 40.5f;
    editor.setOutputRange(0, 100);
    editor.setCurve(curve.points);
    editor.setInputRange(36, 44); // spreads the three markers apart
    QVERIFY(showExposed(&editor, QSize(600, 450)));
    auto* plot = editor.findChild<QCustomPlot*>("customPlot");
    drag(plot, Qt::LeftButton, plotPixel(plot, 40, 40), plotPixel(plot, 37, 45));
    QCOMPARE(curve.points[4].in, 39.5f);
    QVERIFY(!saveScreenshot(&editor, "crowded").isEmpty());
}

void TestCurveEditor::heldMarkerKeepsHoverWhileDragging()
{
    CurveEditor editor;
    ResponseCurve curve = tenStepCurve();
    QCustomPlot* plot = showBound(editor, curve);
    QCustomPlotMarker* dragged = markerAt(plot, 5);
    const QPoint over7 = plotPixel(plot, 70, 70);
    // One jump off the marker and onto another: the drag goes on, clamped at the neighbour.
    QTest::mouseMove(plot, plotPixel(plot, 50, 50));
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, plotPixel(plot, 50, 50));
    QTest::mouseMove(plot, over7);
    QCOMPARE(curve.points[5].in, 59.0f);
    QCOMPARE(dragged->brush().color(), QColor(Qt::red));
    QCOMPARE(grabbedPixel(plot, over7), QColor(Qt::white));
    QVERIFY(!saveScreenshot(&editor, "held").isEmpty());

    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, over7);
    QTest::mouseMove(plot, over7 + QPoint(1, 0));
    QCOMPARE(grabbedPixel(plot, over7), QColor(Qt::white)); // marker 5 is still held
    QTest::mouseMove(plot, plotPixel(plot, 90, 10));
    QCOMPARE(dragged->brush().color(), QColor(Qt::white));
    QTest::mouseMove(plot, over7);
    QCOMPARE(grabbedPixel(plot, over7), QColor(Qt::red));
}

void TestCurveEditor::middleButtonTogglesFitRightDoesNothing()
{
    CurveEditor editor;
    ResponseCurve curve = tenStepCurve(0.5f);
    editor.setReferenceLevel(-80, true);
    QCustomPlot* plot = showBound(editor, curve, -100);
    QCOMPARE(plot->yAxis->range(), QCPRange(-80, 50)); // the curve and the reference line
    QSignalSpy changed(&editor, &CurveEditor::curveChanged);
    const QPoint onPoint = plotPixel(plot, 50, 25);
    QTest::mouseMove(plot, onPoint);
    QTest::mouseClick(plot, Qt::RightButton, Qt::NoModifier, onPoint);
    QTest::mouseMove(plot, onPoint + QPoint(0, -20));
    QCOMPARE(plot->yAxis->range(), QCPRange(-80, 50));

    QTest::mouseClick(plot, Qt::MiddleButton, Qt::NoModifier, onPoint);
    QCOMPARE(plot->yAxis2->range(), QCPRange(0, 50));
    QVERIFY(!saveScreenshot(&editor, "fitted").isEmpty());
    QTest::mouseClick(plot, Qt::MiddleButton, Qt::NoModifier, onPoint);
    QCOMPARE(plot->yAxis2->range(), QCPRange(-100, 100));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(curve, tenStepCurve(0.5f));
}

void TestCurveEditor::limitRangeEndsAtConfiguredRange_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QCPRange>("requested");
    QTest::addColumn<QCPRange>("shown");
    // Input range -100 to 100, output range 0 to 100.
    QTest::newRow("input wider") << false << QCPRange(-300, 250) << QCPRange(-100, 100);
    QTest::newRow("input wider below") << false << QCPRange(-300, 20) << QCPRange(-100, 20);
    QTest::newRow("input narrower") << false << QCPRange(-50, 20) << QCPRange(-50, 20);
    QTest::newRow("output wider") << true << QCPRange(-20, 300) << QCPRange(0, 100);
    QTest::newRow("output wider above") << true << QCPRange(40, 300) << QCPRange(40, 100);
}

void TestCurveEditor::limitRangeEndsAtConfiguredRange()
{
    QFETCH(bool, vertical);
    QFETCH(QCPRange, requested);
    QFETCH(QCPRange, shown);
    CurveEditor editor;
    editor.setInputRange(-100, 100);
    editor.setOutputRange(0, 100);
    auto* plot = editor.findChild<QCustomPlot*>("customPlot");
    (vertical ? plot->yAxis : plot->xAxis)->setRange(requested);
    QCOMPARE((vertical ? plot->yAxis : plot->xAxis)->range(), shown);
    QCOMPARE((vertical ? plot->yAxis2 : plot->xAxis2)->range(), shown);
    QVERIFY(showExposed(&editor, QSize(600, 450)));
    QVERIFY(!saveScreenshot(&editor, QStringLiteral("range-") + QTest::currentDataTag()).isEmpty());
}

QTEST_MAIN(TestCurveEditor)
#include "tst_curveeditor.moc"
