// Presses in the curve dialog as a desktop delivers them: real pointer input through the
// X server (its test extension) under a window manager that focuses a window on a press,
// each event sent as soon as the one before has reached the plot. Sent all at once, the
// events a press's focusing holds back reach every program at the pointer's last place.
#include "curveeditordialog.h"
#include "responsecurve.h"
#include "widgettest.h"

#include <qcustomplot.h>

#include <QGuiApplication>
#include <QTest>
#include <QWindow>

#include <xcb/xtest.h>

namespace {

// Counts the mouse events an object receives.
class MouseEventCount : public QObject
{
public:
    int count = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        count += type == QEvent::MouseMove || type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick;
        return false;
    }
};

} // namespace

class TestCurvePresses : public QObject
{
    Q_OBJECT

private slots:
    void everyPressTakesThePointUnderIt_data();
    void everyPressTakesThePointUnderIt();
};

void TestCurvePresses::everyPressTakesThePointUnderIt_data()
{
    // Each step: 'm' moves to the point's place (x, y in plot units), 'p' presses and 'r'
    // releases the left button.
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QList<QPointF>>("places");
    QTest::addColumn<QList<QPointF>>("expected"); // points 8 and 9 at the end
    QTest::newRow("drag, then at once press another point") << "mpmrmpmr"
        << QList<QPointF>{{90, 90}, {90, 30}, {80, 80}, {80, 20}} << QList<QPointF>{{80, 20}, {90, 30}};
    // Qt takes the second press for a double-click.
    QTest::newRow("click, then at once drag the same point") << "mprpmr"
        << QList<QPointF>{{90, 90}, {90, 30}} << QList<QPointF>{{80, 80}, {90, 30}};
}

void TestCurvePresses::everyPressTakesThePointUnderIt()
{
    QFETCH(QString, steps);
    QFETCH(QList<QPointF>, places);
    QFETCH(QList<QPointF>, expected);
    ResponseCurve curve;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        curve.points[k] = {10.0f * k, 10.0f * k};
    CurveEditorDialog dialog;
    dialog.setInputRange(0, 100);
    dialog.setOutputRange(0, 100);
    dialog.setCurve(curve.points);
    dialog.resize(960, 720);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.isActiveWindow() && dialog.windowHandle()->isExposed(), 10000);
    auto* plot = dialog.findChild<QCustomPlot*>("customPlot");

    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY2(x11, "runs in an X session");
    xcb_connection_t* connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const qreal scale = dialog.devicePixelRatioF();
    MouseEventCount received;
    plot->installEventFilter(&received);
    for (const QChar step : steps) {
        const int before = received.count;
        if (step == 'm') {
            const QPoint place = plot->mapToGlobal(WidgetTest::plotPixel(plot, places.first().x(), places.first().y())) * scale;
            places.removeFirst();
            xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, int16_t(place.x()), int16_t(place.y()), 0);
        } else {
            xcb_test_fake_input(connection, step == 'p' ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        }
        xcb_flush(connection);
        QTRY_VERIFY_WITH_TIMEOUT(received.count > before, 5000);
    }

    for (int i : {0, 1}) {
        const ResponseCurvePoint point = curve.points[8 + i];
        QVERIFY2(qAbs(point.in - expected[i].x()) < 0.6 && qAbs(point.out - expected[i].y()) < 0.6,
                 qPrintable(QString("point %1 at %2 / %3").arg(8 + i).arg(point.in).arg(point.out)));
    }
    QVERIFY(!WidgetTest::saveScreenshot(&dialog, QTest::currentDataTag()).isEmpty());
}

QTEST_MAIN(TestCurvePresses)
#include "tst_curvepresses.moc"
