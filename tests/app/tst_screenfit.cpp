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
    const qreal scale = screen->devicePixelRatio();
    return QStringLiteral("%1x%2").arg(screen->size().width()).arg(screen->size().height()) + (scale == 1 ? QString() : QStringLiteral("@%1").arg(scale));
}

} // namespace

class TestScreenFit : public QObject
{
    Q_OBJECT

    WidgetTest::ScopedWorkingDirectory directory;
    std::unique_ptr<MainWindow> window;

private slots:
    // The window is taller than these screens: it shrinks so that its frame, title bar and
    // all, stays on the screen once the window manager, another process, framed it (its
    // frame extents read), in the window manager's own pixels at any scale.
    void initTestCase()
    {
        qputenv("TORQUIX_RELEASE_SERVER_URL", ""); // no request from these tests
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
        window = std::make_unique<MainWindow>();
        ScreenFit::keep(window.get());
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(window->windowHandle()->isExposed() && window->windowHandle()->frameMargins().top() > 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(WidgetTest::frameOutsideWorkArea(window.get()), QString(), 10000);
    }

    // Its pages then scroll up and down, never sideways.
    void mainWindowFitsWithItsFrame()
    {
        QVERIFY(!WidgetTest::saveScreenScreenshot(window.get(), "commander-" + screenName(window.get())).isEmpty());
        auto* tabs = window->findChild<QTabWidget*>("tabWidget");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            WidgetTest::settle();
            for (const QScrollArea* area : window->findChildren<QScrollArea*>())
                QVERIFY2(!area->isVisible() || !area->horizontalScrollBar()->isVisible(), qPrintable(area->objectName()));
        }
        QCOMPARE(WidgetTest::unreachableControls(window.get()).join(","), QString());
    }

    // Opened from the effects page: its designed size where that fits, otherwise smaller,
    // centred on the window, with every box and both buttons whole in it (so on the
    // screen) and found there by the pointer.
    void curveDialogFitsWithItsButtons()
    {
        ResponseCurve curve;
        for (int k = 0; k < ResponseCurve::pointCount; ++k)
            curve.points[k] = {10.0f * k, 10.0f * k};
        window->findChild<QTabWidget*>("tabWidget")->setCurrentIndex(0);
        CurveEditorDialog dialog(window->findChild<QWidget*>("effect_settings_widget"));
        dialog.setWindowTitle("Spring strength dependency on airspeed");
        dialog.setInputRange(0, 100), dialog.setOutputRange(0, 100);
        dialog.setAxisNames("Airspeed (km/h)", "Strength (%)");
        dialog.setCurve(curve.points);
        dialog.show();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.windowHandle()->isExposed() && dialog.windowHandle()->frameMargins().top() > 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(WidgetTest::frameOutsideWorkArea(&dialog), QString(), 10000);
        if (availableArea(&dialog).height() >= 1080)
            QCOMPARE(dialog.size(), QSize(960, 720));
        QCOMPARE_LE(qAbs(dialog.frameGeometry().center().x() - window->frameGeometry().center().x()), 1);
        for (QWidget* control : dialog.findChildren<QWidget*>()) {
            const QRect inDialog(control->mapTo(&dialog, QPoint()), control->size());
            QWidget* found = dialog.childAt(inDialog.center());
            if (control->inherits("QAbstractSpinBox") || control->inherits("QPushButton"))
                QVERIFY2(dialog.rect().contains(inDialog) && (found == control || control->isAncestorOf(found)), qPrintable(control->objectName() + control->property("text").toString()));
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
