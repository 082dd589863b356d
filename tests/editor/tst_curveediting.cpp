#include "curveeditor.h"
#include "curveeditordialog.h"
#include "curveview.h"
#include "qcustomplotmarker.h"
#include "responsecurve.h"
#include "widgettest.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace WidgetTest;
using Steps = QList<QPair<QString, double>>;

namespace {

// Inputs 0, 10, ..., 100; outputs the same times outputScale.
ResponseCurve tenStepCurve(float outputScale = 1.0f)
{
    ResponseCurve curve;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        curve.points[k] = {10.0f * k, 10.0f * k * outputScale};
    return curve;
}

QCustomPlot* plotOf(QWidget* widget) { return widget->findChild<QCustomPlot*>("customPlot"); }
QDoubleSpinBox* box(const QWidget* dialog, const QString& name) { return dialog->findChild<QDoubleSpinBox*>(name); }
bool screenshot(QWidget* widget, const QString& name) { return !saveScreenshot(widget, name).isEmpty(); }
QString tagged(const char* prefix) { return prefix + QString(QTest::currentDataTag()); }

// Inputs 0 to 100, outputs outputMin to 100, bound to curve and shown.
QCustomPlot* showBound(CurveEditor& editor, ResponseCurve& curve, float outputMin = 0)
{
    editor.setInputRange(0, 100);
    editor.setOutputRange(outputMin, 100);
    editor.setCurve(curve.points);
    return showExposed(&editor, QSize(600, 450)) ? plotOf(&editor) : nullptr;
}

// The dialog set up in the order the effect editors use (the first output pinned at 0) on
// its own curve, its curveChanged spied on from the start.
struct Dialog {
    explicit Dialog(const ResponseCurve& points = tenStepCurve(), float outputMin = 0)
        : curve(points)
    {
        dialog.setWindowTitle("Shaking strength dependency on speed");
        dialog.setReferenceLevel(0, false);
        dialog.setFixedFirstOutput(0, true);
        dialog.setInputRange(0, 100);
        dialog.setOutputRange(outputMin, 100);
        dialog.setAxisNames("Speed (km/h)", "Out (%)");
        dialog.setCurve(curve.points);
        dialog.resize(960, 720);
    }
    bool show() { return showExposed(&dialog, dialog.size()); }
    QDoubleSpinBox* box(const QString& name) const { return ::box(&dialog, name); }

    ResponseCurve curve;
    CurveEditorDialog dialog;
    QSignalSpy changed{&dialog, &CurveEditorDialog::curveChanged};
};

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

class TestCurveEditing : public QObject {
    Q_OBJECT

private slots:
    // The preview and its markers.

    void previewPressedByEveryButton_data()
    {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("left") << Qt::LeftButton;
        QTest::newRow("middle") << Qt::MiddleButton;
        QTest::newRow("right") << Qt::RightButton;
    }

    void previewPressedByEveryButton()
    {
        QFETCH(Qt::MouseButton, button);
        CurveView view;
        view.setCurve(genericCurveTable, "In (%)", "Out (%)");
        QVERIFY(showExposed(&view, QSize(400, 200)));
        QSignalSpy pressed(&view, &CurveView::pressed);
        QTest::mouseClick(plotOf(&view), button, Qt::NoModifier, QPoint(200, 100));
        QCOMPARE(pressed.count(), 1);
        QVERIFY(screenshot(&view, tagged("pressed-")));
    }

    void previewFitsIdentityCurveAndHoverTints()
    {
        CurveView view;
        view.setCurve(genericCurveTable, "In (%)", "Out (%)");
        QVERIFY(showExposed(&view, QSize(400, 200)));
        QCustomPlot* plot = plotOf(&view);
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
        QVERIFY(screenshot(&view, "hover"));
        sendLeave(&view);
        QCOMPARE(grabbedPixel(&view, QPoint(0, 0)), QColor(200, 200, 200));
        QCOMPARE(grabbedPixel(&view, empty), QColor(Qt::white));
    }

    void markerMoveToCentresCircle_data()
    {
        QTest::addColumn<QCPRange>("xRange");
        QTest::addColumn<QCPRange>("yRange");
        QTest::newRow("percent") << QCPRange(-100, 100) << QCPRange(-100, 100);
        QTest::newRow("zoomed in") << QCPRange(20, 30) << QCPRange(45, 55);
    }

    void markerMoveToCentresCircle()
    {
        QFETCH(QCPRange, xRange); QFETCH(QCPRange, yRange);
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
        QVERIFY(screenshot(&plot, tagged("marker-")));
        marker->stopMoving();
        marker->stopHower();
        QCOMPARE(grabbedPixel(&plot, centre), QColor(Qt::white));
        QVERIFY(grabbedPixel(&plot, onCrosshair).lightness() > 128);
    }

    // The curve editor.

    void editorFillsRangesWithIdentityCurve()
    {
        CurveEditor editor;
        ResponseCurve curve;
        curve.setPoints(genericCurveTable);
        editor.setInputRange(-100, 100);
        editor.setOutputRange(-100, 100);
        editor.setReferenceLevel(50, true);
        editor.setCurve(curve.points);
        QVERIFY(showExposed(&editor, QSize(600, 450)));
        QCustomPlot* plot = plotOf(&editor);
        for (QCPAxis* axis : {plot->xAxis, plot->xAxis2, plot->yAxis, plot->yAxis2})
            QCOMPARE(axis->range(), QCPRange(-100, 100));
        QVERIFY(grabbedPixel(plot, plotPixel(plot, -60, 50)).red() > 80); // the reference line

        editor.setFixedFirstOutput(-50, true); // moves the line's start, not marker 0
        editor.updateMarkers();
        QCOMPARE(plot->graph(1)->data()->at(0)->value, -50.0);
        QCOMPARE(markerAt(plot, 0)->tracer()->position->coords(), QPointF(-100, -100));
        QVERIFY(screenshot(&editor, "identity"));
    }

    void secondCurveReplacesMarkers()
    {
        CurveEditor editor;
        ResponseCurve first = tenStepCurve(), second = tenStepCurve(0.5f);
        editor.setCurve(first.points);
        QCustomPlot* plot = showBound(editor, second);
        QCOMPARE(plot->graphCount(), 2);
        QCOMPARE(plot->itemCount(), 2 * ResponseCurve::pointCount); // one set of markers and tracers
        drag(plot, Qt::LeftButton, plotPixel(plot, 50, 25), plotPixel(plot, 50, 60));
        QCOMPARE(first, tenStepCurve());
        QVERIFY(qAbs(second.points[5].out - 60) < 0.6f);
        QVERIFY(screenshot(&editor, "rebound"));
    }

    void dragKeepsPointInBounds_data()
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

    void dragKeepsPointInBounds()
    {
        QFETCH(int, index); QFETCH(QPoint, grabOffset); QFETCH(bool, firstOutputFixed);
        QFETCH(QPointF, target); QFETCH(QPointF, expected); QFETCH(QPointF, tolerance);
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
        QVERIFY(screenshot(&editor, tagged("drag-")));
    }

    void crowdedPointTakesUpperBound()
    {
        CurveEditor editor;
        ResponseCurve curve = tenStepCurve();
        curve.points[3].in = 39.2f; // less than two steps from point 5
        curve.points[5].in = 40.5f;
        editor.setOutputRange(0, 100);
        editor.setCurve(curve.points);
        editor.setInputRange(36, 44); // spreads the three markers apart
        QVERIFY(showExposed(&editor, QSize(600, 450)));
        QCustomPlot* plot = plotOf(&editor);
        drag(plot, Qt::LeftButton, plotPixel(plot, 40, 40), plotPixel(plot, 37, 45));
        QCOMPARE(curve.points[4].in, 39.5f);
        QVERIFY(screenshot(&editor, "crowded"));
    }

    void endMarkersGrabbedOffTheAxisRect_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QPoint>("outward"); // from the marker's centre, off the axis rect
        QTest::newRow("last point top right") << 10 << QPoint(2, -2);
        QTest::newRow("first point bottom left") << 0 << QPoint(-2, 2);
    }

    void endMarkersGrabbedOffTheAxisRect()
    {
        QFETCH(int, index); QFETCH(QPoint, outward);
        CurveEditor editor;
        ResponseCurve curve = tenStepCurve(); // (0, 0) and (100, 100) lie on the corners
        QCustomPlot* plot = showBound(editor, curve);
        const ResponseCurvePoint start = curve.points[index];
        const QPoint grab = plotPixel(plot, start.in, start.out) + outward;
        QVERIFY(!plot->axisRect()->rect().contains(grab));
        QVERIFY(plot->rect().contains(grab + outward * 2)); // the whole marker fits the widget
        QTest::mouseMove(plot, grab);
        QCOMPARE(grabbedPixel(plot, grab), QColor(Qt::red)); // hovered, and drawn there
        const QPoint onAxisLine = grab - QPoint(outward.x(), 2 * outward.y()); // inside, on the side axis
        QCOMPARE(grabbedPixel(plot, onAxisLine), QColor(Qt::red)); // drawn over the axis line
        QVERIFY(screenshot(&editor, tagged("corners-")));
        drag(plot, Qt::LeftButton, grab, plotPixel(plot, start.in, 50) + outward);
        QCOMPARE(curve.points[index].in, start.in);
        QVERIFY2(qAbs(curve.points[index].out - 50) < 0.6f, qPrintable(QString::number(curve.points[index].out)));
    }

    void heldMarkerKeepsHoverWhileDragging()
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
        QVERIFY(screenshot(&editor, "held"));

        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, over7);
        QTest::mouseMove(plot, over7 + QPoint(1, 0));
        QCOMPARE(grabbedPixel(plot, over7), QColor(Qt::red)); // the drag ended: hover follows the pointer
        QCOMPARE(dragged->brush().color(), QColor(Qt::white));
        QTest::mouseMove(plot, plotPixel(plot, 90, 10));
        QCOMPARE(grabbedPixel(plot, over7), QColor(Qt::white));
        QCOMPARE(dragged->brush().color(), QColor(Qt::white));
        QTest::mouseMove(plot, over7);
        QCOMPARE(grabbedPixel(plot, over7), QColor(Qt::red));
    }

    void pressTakesMarkerJumpedOnto_data()
    {
        QTest::addColumn<int>("first");  // dragged to 70
        QTest::addColumn<int>("second"); // then pressed at its centre and dragged to 20
        QTest::addColumn<QString>("how"); // what comes between the first drag and the press
        QTest::newRow("point 5 then point 4") << 5 << 4 << "motion";
        QTest::newRow("point 10 then point 9") << 10 << 9 << "motion";
        QTest::newRow("point 1 then point 0") << 1 << 0 << "motion";
        QTest::newRow("point 5 then point 4, no motion before the press") << 5 << 4 << "none";
        QTest::newRow("point 5 then point 4, pressed as a double-click") << 5 << 4 << "double-click";
        QTest::newRow("point 5 then point 4, first release lost") << 5 << 4 << "release lost";
    }

    void pressTakesMarkerJumpedOnto()
    {
        QFETCH(int, first); QFETCH(int, second); QFETCH(QString, how);
        CurveEditor editor;
        ResponseCurve curve = tenStepCurve();
        QCustomPlot* plot = showBound(editor, curve);
        const ResponseCurvePoint start = curve.points[first], other = curve.points[second];
        const QPoint grab = plotPixel(plot, start.in, start.out), dropped = plotPixel(plot, start.in, 70);
        QTest::mouseMove(plot, grab);
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, grab);
        QTest::mouseMove(plot, dropped);
        if (how != "release lost")
            QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, dropped);
        const ResponseCurvePoint dragged = curve.points[first];
        QVERIFY(qAbs(dragged.out - 70) < 0.6f);
        // One motion event, or none, straight onto the other marker's centre, then a drag from there.
        const QPoint centre = plotPixel(plot, other.in, other.out), target = plotPixel(plot, other.in, 20);
        if (how == "motion")
            QTest::mouseMove(plot, centre);
        if (how == "double-click") // how Qt delivers a quick second press
            QTest::mouseDClick(plot, Qt::LeftButton, Qt::NoModifier, centre);
        else
            QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseMove(plot, target);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, target);
        QCOMPARE(curve.points[first], dragged);
        QCOMPARE(markerAt(plot, first)->tracer()->style(), QCPItemTracer::tsNone); // its drag ended
        QCOMPARE(curve.points[second].in, other.in);
        QVERIFY2(qAbs(curve.points[second].out - 20) < 0.6f, qPrintable(QString::number(curve.points[second].out)));
        QVERIFY(screenshot(&editor, tagged("jump-")));
    }

    void middleButtonTogglesFitRightDoesNothing()
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
        QVERIFY(screenshot(&editor, "fitted"));
        QTest::mouseClick(plot, Qt::MiddleButton, Qt::NoModifier, onPoint);
        QCOMPARE(plot->yAxis2->range(), QCPRange(-100, 100));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(curve, tenStepCurve(0.5f));
    }

    void limitRangeEndsAtConfiguredRange_data()
    {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<QCPRange>("requested");
        QTest::addColumn<QCPRange>("shown");
        // Input range -100 to 100, output range 0 to 100.
        QTest::newRow("input wider") << false << QCPRange(-300, 250) << QCPRange(-100, 100);
        QTest::newRow("input narrower") << false << QCPRange(-50, 20) << QCPRange(-50, 20);
        QTest::newRow("output wider") << true << QCPRange(-20, 300) << QCPRange(0, 100);
        QTest::newRow("output wider above") << true << QCPRange(40, 300) << QCPRange(40, 100);
    }

    void limitRangeEndsAtConfiguredRange()
    {
        QFETCH(bool, vertical); QFETCH(QCPRange, requested); QFETCH(QCPRange, shown);
        CurveEditor editor;
        editor.setInputRange(-100, 100);
        editor.setOutputRange(0, 100);
        QCustomPlot* plot = plotOf(&editor);
        (vertical ? plot->yAxis : plot->xAxis)->setRange(requested);
        QCOMPARE((vertical ? plot->yAxis : plot->xAxis)->range(), shown);
        QCOMPARE((vertical ? plot->yAxis2 : plot->xAxis2)->range(), shown);
        QVERIFY(showExposed(&editor, QSize(600, 450)));
        QVERIFY(screenshot(&editor, tagged("range-")));
    }

    // The dialog.

    void bindingSetsLimitsAndWritesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("middle input") << "input_3" << 21.0 << 39.0 << true;
        QTest::newRow("first input") << "input_0" << 0.0 << 9.0 << false;
        QTest::newRow("last input") << "input_10" << 91.0 << 100.0 << false;
        QTest::newRow("fixed first output") << "output_0" << 0.0 << 100.0 << false;
        QTest::newRow("other output") << "output_4" << 0.0 << 100.0 << true;
    }

    void bindingSetsLimitsAndWritesNothing()
    {
        QFETCH(QString, name); QFETCH(double, minimum); QFETCH(double, maximum); QFETCH(bool, enabled);
        Dialog d;
        QVERIFY(d.show());
        QCOMPARE(d.box(name)->minimum(), minimum);
        QCOMPARE(d.box(name)->maximum(), maximum);
        QCOMPARE(d.box(name)->isEnabled(), enabled);
        QCOMPARE(d.box("input_3")->value(), 30.0);
        QCOMPARE(d.dialog.findChild<QLabel*>("input_label")->text(), QString("Speed (km/h)"));
        QCOMPARE(d.changed.count(), 0);
        QCOMPARE(d.curve, tenStepCurve());
        QVERIFY(screenshot(&d.dialog, tagged("bound-")));
    }

    void typedValuesMovePoints_data()
    {
        QTest::addColumn<bool>("typed"); // typed into the box, or set as a value
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<int>("point");
        QTest::addColumn<QPointF>("expected");
        QTest::addColumn<int>("emits");
        // A typed number counts once, when the box is left; the numbers on the way ("3" below
        // input_3's limits, "-2" within output_4's) change nothing.
        QTest::newRow("input") << true << Steps{{"input_3", 35}} << 3 << QPointF(35, 30) << 1;
        QTest::newRow("output") << true << Steps{{"output_4", -20}} << 4 << QPointF(40, -20) << 1;
        QTest::newRow("held by the moved neighbour") << false << Steps{{"input_1", 15}, {"input_2", 12}} << 2 << QPointF(16, 20) << 2;
    }

    void typedValuesMovePoints()
    {
        QFETCH(bool, typed); QFETCH(Steps, steps); QFETCH(int, point); QFETCH(QPointF, expected); QFETCH(int, emits);
        Dialog d(tenStepCurve(), -100);
        QVERIFY(d.show());
        for (const auto& [name, value] : steps)
            typed ? typeInto(d.box(name), QString::number(value)) : d.box(name)->setValue(value);
        QCOMPARE(d.changed.count(), emits);
        QCOMPARE(QPointF(d.curve.points[point].in, d.curve.points[point].out), expected);
        // The editor shows the point, and the neighbours' limits follow it at once.
        QCOMPARE(plotOf(&d.dialog)->graph(1)->data()->at(point)->key, expected.x());
        QCOMPARE(d.box(QStringLiteral("input_%1").arg(point + 1))->minimum(), expected.x() + 1);
        QCOMPARE(d.box(QStringLiteral("input_%1").arg(point - 1))->maximum(), expected.x() - 1);
        QVERIFY(screenshot(&d.dialog, tagged("typed-")));
    }

    void crowdedBoxShowsItsValueAndStaysPut()
    {
        // Points 2 to 4 at 20, 20.5 and 21: closer than two steps, as a file may hold them.
        ResponseCurve stored = tenStepCurve();
        stored.points[3].in = 20.5f;
        stored.points[4].in = 21.0f;
        Dialog d(stored);
        QVERIFY(d.show());
        QDoubleSpinBox* crowded = d.box("input_3");
        QCOMPARE(QList<double>({crowded->value(), crowded->minimum(), crowded->maximum()}), QList<double>(3, 20.5));

        // A drag elsewhere reloads every box; the crowded ones write nothing back.
        QCustomPlot* plot = plotOf(&d.dialog);
        drag(plot, Qt::LeftButton, plotPixel(plot, 70, 70), plotPixel(plot, 70, 50), 2);
        QCOMPARE(d.changed.count(), 2);
        QCOMPARE(crowded->value(), 20.5);
        QCOMPARE(d.box("input_2")->value(), 19.5); // clamped on screen only
        for (int k = 0; k < ResponseCurve::pointCount; ++k)
            QVERIFY(k == 7 || d.curve.points[k] == stored.points[k]);
        QVERIFY(screenshot(&d.dialog, "crowded-dialog"));
    }

    void dragShowsRoundedValueAndKeepsExact()
    {
        Dialog d;
        QVERIFY(d.show());
        QCustomPlot* plot = plotOf(&d.dialog);
        QSignalSpy editorChanged(d.dialog.findChild<CurveEditor*>("curveEditor"), &CurveEditor::curveChanged);
        QSignalSpy boxChanged(d.box("input_5"), &QDoubleSpinBox::valueChanged);
        drag(plot, Qt::LeftButton, plotPixel(plot, 50, 50), plotPixel(plot, 52.37, 61.3), 3);

        QCOMPARE(QList<qsizetype>({editorChanged.count(), d.changed.count(), boxChanged.count()}), QList<qsizetype>({3, 3, 0}));
        const double exact = d.curve.points[5].in, rounded = std::round(exact * 10) / 10;
        QVERIFY2(qAbs(exact - rounded) > 1e-3, "the drag should end off the 0.1 grid");
        QCOMPARE(d.box("input_5")->value(), rounded);
        QCOMPARE(d.box("output_5")->value(), std::round(double(d.curve.points[5].out) * 10) / 10);
        QCOMPARE(d.box("input_6")->minimum(), std::ceil((exact + 1) * 10) / 10);
        QVERIFY(screenshot(&d.dialog, "dragged"));
    }

    void closingReturnsResult_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        QTest::newRow("Escape") << "escape" << 0;
        QTest::newRow("close button") << "close" << 0;
        QTest::newRow("Cancel") << "cancel" << 0;
        QTest::newRow("OK") << "ok" << 1;
    }

    void closingReturnsResult()
    {
        QFETCH(QString, how); QFETCH(int, result);
        Dialog d(tenStepCurve(), -100);
        bool handled = false;
        whenModal([&](QWidget* modal) {
            handled = modal == &d.dialog;
            typeInto(box(modal, "output_4"), "7");
            saveScreenshot(modal, "modal-" + how);
            const auto button = how == "ok" ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel;
            if (how == "escape")
                QTest::keyClick(modal, Qt::Key_Escape);
            else if (how == "close")
                modal->close();
            else
                QTest::mouseClick(modal->findChild<QDialogButtonBox*>("buttonBox")->button(button), Qt::LeftButton);
        });
        QCOMPARE(d.dialog.exec(), result);
        QVERIFY(handled);
        // The dialog restores nothing and says nothing on closing; the caller keeps a backup.
        QCOMPARE(d.changed.count(), 1);
        QCOMPARE(d.curve.points[4].out, 7.0f);
    }
};

QTEST_MAIN(TestCurveEditing)
#include "tst_curveediting.moc"
