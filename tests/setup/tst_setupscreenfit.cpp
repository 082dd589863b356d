// torquix-setup's window on a real X server under a window manager, which frames a window
// only after it is shown, on screens of laptops less their task bar: the frame lies
// within the screen and the pages scroll up and down only.
#include "everypagewindow.h"
#include "mainwindow.h"
#include "widgettest.h"
#include "windowfit.h"

#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QWindow>

class TestSetupScreenFit : public QObject
{
    Q_OBJECT

private slots:
    // With a joystick and every periphery section, taller than these screens.
    void windowFitsWithItsFrame()
    {
        WidgetTest::ScopedWorkingDirectory directory;
        MainWindow window({24, 1, 2}, QString());
        QVERIFY(loadEveryPage(window));
        WindowFit::keep(&window);
        window.show();

        // Framed by the window manager, another process (its frame extents read), and whole
        // within the area in the window manager's own pixels, at any scale.
        const QWindow* handle = window.windowHandle();
        QTRY_VERIFY_WITH_TIMEOUT(handle->isExposed() && handle->frameMargins().top() > 0, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(WidgetTest::frameOutsideWorkArea(&window), QString(), 10000);
        const qreal scale = window.devicePixelRatio();
        const QString name = QStringLiteral("setup-%1x%2").arg(window.screen()->size().width()).arg(window.screen()->size().height());
        QVERIFY(!WidgetTest::saveScreenScreenshot(&window, scale == 1 ? name : name + QStringLiteral("@%1").arg(scale)).isEmpty());
        auto* tabs = window.findChild<QTabWidget*>("main_tab_widget");
        for (int tab = 0; tab < tabs->count(); ++tab) {
            tabs->setCurrentIndex(tab);
            WidgetTest::settle();
            for (const QScrollArea* area : window.findChildren<QScrollArea*>())
                QVERIFY2(!area->isVisible() || !area->horizontalScrollBar()->isVisible(), qPrintable(area->objectName()));
        }
        QCOMPARE(WidgetTest::unreachableControls(&window).join(","), QString());
    }
};

QTEST_MAIN(TestSetupScreenFit)
#include "tst_setupscreenfit.moc"
