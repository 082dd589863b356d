// The main window and the curve dialog on a real X server whose window manager frames a
// window only after it is shown, on laptop screens less their task bar: every frame lies
// within the screen, pages scroll up and down only, the dialog's buttons can be clicked.
#include "baseemulator.h"
#include "curveeditordialog.h"
#include "mainwindow.h"
#include "responsecurve.h"
#include "screenfit.h"
#include "widgettest.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

namespace {

QRect availableArea(const QWidget* window) { return window->screen()->availableGeometry(); }

QString screenName(const QWidget* window)
{
    const QScreen* screen = window->screen();
    const QString size = QStringLiteral("%1x%2").arg(screen->size().width()).arg(screen->size().height());
    return screen->devicePixelRatio() == 1 ? size : size + QStringLiteral("@%1").arg(screen->devicePixelRatio());
}

// Framed by the window manager (its frame extents read), title bar and all in the area.
bool framedWithin(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle->isExposed() && handle->frameMargins().top() > 0 && availableArea(window).contains(handle->frameGeometry());
}

QByteArray frameText(const QWidget* window)
{
    QString text;
    QDebug(&text) << window->frameGeometry() << window->windowHandle()->frameMargins() << availableArea(window);
    return text.toUtf8();
}

// Whole inside its window and on screen, and what the pointer finds there.
bool wholeOnScreen(QWidget* widget)
{
    QWidget* window = widget->window();
    const QRect inWindow(widget->mapTo(window, QPoint()), widget->size());
    QWidget* found = window->childAt(inWindow.center());
    return window->rect().contains(inWindow) && availableArea(window).contains(QRect(widget->mapToGlobal(QPoint()), widget->size()))
        && (found == widget || widget->isAncestorOf(found));
}

} // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

    WidgetTest::ScopedWorkingDirectory directory;

private slots:
    void initTestCase()
    {
        qputenv("TORQUIX_RELEASE_SERVER_URL", ""); // no request from these tests
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
    }

    // The window is taller than these screens: it shrinks so that its frame stays on the
    // screen, and its pages then scroll up and down, never sideways.
    void mainWindowFitsWithItsFrame()
    {
        MainWindow window;
        ScreenFit::keep(&window);
        window.show();
        QTRY_VERIFY2_WITH_TIMEOUT(framedWithin(&window), frameText(&window), 10000);
        QVERIFY(!WidgetTest::saveScreenScreenshot(&window, "commander-" + screenName(&window)).isEmpty());
        auto* tabs = window.findChild<QTabWidget*>("tabWidget");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            WidgetTest::settle();
            for (const QScrollArea* area : window.findChildren<QScrollArea*>())
                QVERIFY2(!area->isVisible() || !area->horizontalScrollBar()->isVisible(), qPrintable(area->objectName()));
        }
        QCOMPARE(WidgetTest::unreachableControls(&window).join(","), QString());
    }

    // Opened from the effects page: its designed size where that fits, otherwise smaller,
    // centred on the window, with every box and both buttons whole on the screen.
    void curveDialogFitsWithItsButtons()
    {
        MainWindow window;
        ScreenFit::keep(&window);
        window.show();
        QTRY_VERIFY2_WITH_TIMEOUT(framedWithin(&window), frameText(&window), 10000);
        ResponseCurve curve;
        for (int k = 0; k < ResponseCurve::pointCount; ++k)
            curve.points[k] = {10.0f * k, 10.0f * k};
        CurveEditorDialog dialog(window.findChild<QWidget*>("effect_settings_widget"));
        dialog.setWindowTitle("Spring strength dependency on airspeed");
        dialog.setInputRange(0, 100);
        dialog.setOutputRange(0, 100);
        dialog.setAxisNames("Airspeed (km/h)", "Strength (%)");
        dialog.setCurve(curve.points);
        dialog.show();
        QTRY_VERIFY2_WITH_TIMEOUT(framedWithin(&dialog), frameText(&dialog), 10000);

        if (availableArea(&dialog).height() >= 1080)
            QCOMPARE(dialog.size(), QSize(960, 720));
        QVERIFY2(qAbs(dialog.frameGeometry().center().x() - window.frameGeometry().center().x()) <= 1, frameText(&dialog));
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            if (control->inherits("QAbstractSpinBox") || control->inherits("QPushButton"))
                QVERIFY2(wholeOnScreen(control), qPrintable(control->objectName() + control->property("text").toString()));
        }
        QVERIFY(!WidgetTest::saveScreenScreenshot(&dialog, "curve-dialog-" + screenName(&dialog)).isEmpty());
        // Through the window, as the pointer does: OK must be what is there.
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, Qt::NoModifier, ok->mapTo(&dialog, ok->rect().center()));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
