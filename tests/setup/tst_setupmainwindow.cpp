#include "baseemulator.h"
#include "httpresponder.h"
#include "everypagewindow.h"
#include "mainwindow.h"
#include "releaseserverrows.h"
#include "startoptions.h"
#include "widgettest.h"
#include "windowfit.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QMessageBox>
#include <QMutex>
#include <QNetworkReply>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace {

QByteArray releaseFile(const QByteArray& year, const QByteArray& version, const QByteArray& patch, const QByteArray& whatsNew = "[]")
{
    return "{\"RC\": {\"setup\": {\"release_year\": " + year + ", \"release_version\": " + version + ", \"release_patch\": " + patch
           + ", \"whats_new\": " + whatsNew + "}}}";
}

QMutex warningsMutex;
QStringList warnings; // each message logged while the handler below is installed

// A base whose four records hold value: as motion range of axis 0, power limit, smoothing
// of the first analog axis and latch delay.
void addBaseWithRecords(unsigned short pid, uint8_t value)
{
    BaseEmulator::addBase(pid, {1, 24, 1, 2});
    for (auto [id, offset] : {std::pair{EFFECT_SETTINGS_REPORT_ID, 6}, {HARDWARE_SETTINGS_REPORT_ID, 6}, {ADC_EXTENSION_SETTINGS_REPORT_ID, 12}, {GPIO_EXTENSION_SETTINGS_REPORT_ID, 45}}) {
        std::array<uint8_t, 64> record{};
        record[size_t(offset)] = value;
        BaseEmulator::setFeatureReport(pid, id, record);
    }
}

} // namespace

class TestSetupMainWindow : public QObject
{
    Q_OBJECT

    QUrl opened;

public slots:
    void openUrl(const QUrl& url) { opened = url; } // in place of the browser

private slots:
    void startOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("language"); // "UI/lang"; null: no config.ini
        QTest::addColumn<bool>("advanced");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("nothing") << QStringList() << QString() << false << "";
        QTest::newRow("en") << QStringList() << "en" << false << "";
        QTest::newRow("de") << QStringList() << "de" << false << "de";
        QTest::newRow("advanced beats the language") << QStringList{"advanced", "more"} << "de" << true << "";
        QTest::newRow("Advanced") << QStringList{"Advanced"} << "de" << false << "";
        QTest::newRow("path") << QStringList() << "/../../etc/de" << false << "";
        QTest::newRow("17 letters") << QStringList() << "abcdefghijklmnopq" << false << "";
    }

    void startOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, language);
        WidgetTest::ScopedWorkingDirectory directory;
        if (!language.isNull())
            QSettings("config.ini", QSettings::IniFormat).setValue("UI/lang", language);
        const StartOptions options = readStartOptions(QStringList{"torquix-setup"} + arguments, directory.filePath("config.ini"));
        QTEST(options.advanced, "advanced");
        QTEST(options.language, "loaded");
    }

    void releaseServerUrl_data()
    {
        addReleaseServerRows();
    }

    void releaseServerUrl()
    {
        QFETCH(QString, server);
        QTEST(::releaseServerUrl(server, "/assets/firmware/version.json").toString(), "url");
    }

    void releaseCheck_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("ownPatch"); // of RC 24.1
        QTest::addColumn<int>("status"); // 0: the release file read on its own; else the server's reply to a new window
        QTest::addColumn<QString>("details"); // empty: no box; "Fix" in it: download chosen
        QTest::newRow("24.1.2 for setup") << releaseFile("24", "1", "2") << 2 << 0 << "";
        QTest::newRow("24.0.9") << releaseFile("24", "0", "9") << 2 << 0 << "";
        QTest::newRow("24.1.3") << releaseFile("24", "1", "3", "[\"a\"]") << 2 << 0 << "RC.24.1.3\n\n- a\n";
        QTest::newRow("24.2.0") << releaseFile("24", "2", "0") << 2 << 0 << "RC.24.2.0\n\n";
        QTest::newRow("25.0.0") << releaseFile("25", "0", "0") << 2 << 0 << "RC.25.0.0\n\n";
        QTest::newRow("24.1.2 for device-settings") << releaseFile("24", "1", "2") << 1 << 0 << "RC.24.1.2\n\n";
        QTest::newRow("fractions truncated") << releaseFile("24", "1", "2.99") << 2 << 0 << "";
        QTest::newRow("only strings") << releaseFile("25", "0", "0", "[\"<b>x</b>\", 7, {}, \"**y**\"]") << 2 << 0 << "RC.25.0.0\n\n- <b>x</b>\n- **y**\n";
        QTest::newRow("malformed JSON") << QByteArray("{\"RC\": {\"setup\": {\"release_year\": 25") << 2 << 0 << "";
        QTest::newRow("year beyond int") << releaseFile("1e12", "0", "0") << 2 << 0 << "";
        QTest::newRow("patch below int, year newer") << releaseFile("25", "0", "-3e9") << 2 << 0 << "";
        QTest::newRow("served newer, download") << releaseFile("24", "1", "3", "[\"<i>Fix</i>\", 3]") << 2 << 200 << "RC.24.1.3\n\n- <i>Fix</i>\n";
        QTest::newRow("served with an HTTP error") << releaseFile("25", "0", "0") << 2 << 500 << "";
        QTest::newRow("served larger than 64 KiB") << releaseFile("25", "0", "0") + QByteArray(64 * 1024, ' ') << 2 << 200 << "";
    }

    // A window asks the server once. Its box shows the details as plain text, open,
    // unwrapped, 300 pixels high, with the download button in focus, which opens the
    // download page of the same server.
    void releaseCheck()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, ownPatch);
        QFETCH(int, status);
        QFETCH(QString, details);
        if (status == 0) {
            QTEST(newerReleaseDetails(body, {24, 1, ownPatch}), "details");
            return;
        }
        WidgetTest::ScopedWorkingDirectory directory;
        HttpResponder server;
        QVERIFY(server.listen());
        server.setResponse("/assets/firmware/version.json", {status, body, {}, 0, 0});
        QDesktopServices::setUrlHandler("http", this, "openUrl");
        opened.clear();
        QStringList seen;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&seen] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            auto* text = box ? box->findChild<QTextEdit*>() : nullptr;
            if (!text)
                return;
            seen << box->windowTitle() << box->text() << box->detailedText()
                 << QString("%1%2%3%4").arg(box->textFormat() == Qt::MarkdownText).arg(text->isVisible() && text->height() == 300)
                        .arg(text->lineWrapMode() == QTextEdit::NoWrap).arg(box->focusWidget() == box->defaultButton());
            QVERIFY(!WidgetTest::saveScreenshot(box, QTest::currentDataTag()).isEmpty());
            (seen[2].contains("Fix") ? box->defaultButton() : box->button(QMessageBox::Cancel))->click();
        });
        poll.start(10);
        MainWindow window({24, 1, 2}, server.baseUrl().toString());
        QTRY_COMPARE(server.requestedPaths(), QList<QByteArray>{"/assets/firmware/version.json"});
        QTRY_VERIFY(window.findChildren<QNetworkReply*>().isEmpty());
        QDesktopServices::unsetUrlHandler("http");
        const QStringList box = {"Torquix Setup (RC.24.1.2)", "**New version of Torquix Setup is available!**", details, "1111"};
        QCOMPARE(seen, details.isEmpty() ? QStringList() : box);
        QCOMPARE(opened, details.contains("Fix") ? server.baseUrl().resolved(QUrl("/docs/en/downloads.html")) : QUrl());
    }

    void frameKeptWithin_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("kept");
        // Screens of 1366x768, each less a 40-pixel task bar.
        QTest::newRow("fits where it is") << QRect(0, 0, 1366, 728) << QRect(100, 20, 806, 700) << QRect(100, 20, 806, 700);
        QTest::newRow("too tall below the task bar") << QRect(0, 0, 1366, 728) << QRect(100, 20, 806, 838) << QRect(100, 0, 806, 728);
        QTest::newRow("under a task bar on top") << QRect(0, 40, 1366, 728) << QRect(10, 0, 806, 700) << QRect(10, 40, 806, 700);
        QTest::newRow("over a task bar on the left") << QRect(40, 0, 1326, 768) << QRect(0, 30, 806, 700) << QRect(40, 30, 806, 700);
        QTest::newRow("larger than the area") << QRect(0, 40, 1366, 728) << QRect(-20, -30, 1500, 900) << QRect(0, 40, 1366, 728);
    }

    void frameKeptWithin()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, frame);
        QTEST(::frameKeptWithin(available, frame), "kept");
    }

    // A 1366x768 screen less a 40-pixel task bar leaves 1366x728, and a title bar up to 38:
    // the window with a joystick and every periphery section fits 1366x690.
    void windowFitsBesideTaskBar()
    {
        WidgetTest::ScopedWorkingDirectory directory;
        MainWindow window({24, 1, 2}, QString());
        QVERIFY(loadEveryPage(window));
        QVERIFY(WidgetTest::showExposed(&window, QSize(1366, 690)));
        QCOMPARE(window.size(), QSize(1366, 690));
        QVERIFY(!WidgetTest::saveScreenshot(&window, "fits").isEmpty());
        QCOMPARE(WidgetTest::unreachableControls(&window).join(","), QString());
    }

    // A record of a base that is not the selected one is not shown.
    void onlyTheSelectedBaseIsShown()
    {
        WidgetTest::ScopedWorkingDirectory directory;
        MainWindow window({24, 1, 2}, QString());
        const FirmwareVersionTypeDef firmware{1, 24, 1, 2};
        for (int pid : {22777, 22888})
            QVERIFY(QMetaObject::invokeMethod(&window, "addConnectedDevice", Q_ARG(int, pid), Q_ARG(FirmwareVersionTypeDef, firmware)));
        QVERIFY(QMetaObject::invokeMethod(&window, "on_devices_combo_box_activated", Q_ARG(int, 1)));
        GpioExtensionSettingsTypeDef record{};
        record.extensionType = 5;
        QVERIFY(QMetaObject::invokeMethod(&window, "gpioSettingsToUi", Q_ARG(GpioExtensionSettingsTypeDef, record), Q_ARG(int, 22888)));
        QCOMPARE(window.findChild<QComboBox*>("spiModeCombo_1")->currentIndex(), 0);
        QVERIFY(QMetaObject::invokeMethod(&window, "adcSettingsToUi", Q_ARG(AdcExtensionSettingsTypeDef, {}), Q_ARG(int, 22777)));
        QVERIFY(QMetaObject::invokeMethod(&window, "gpioSettingsToUi", Q_ARG(GpioExtensionSettingsTypeDef, record), Q_ARG(int, 22777)));
        QCOMPARE(window.findChild<QComboBox*>("spiModeCombo_1")->currentIndex(), 5);
        QVERIFY(WidgetTest::showExposed(&window, QSize(800, 800)));
        QVERIFY(!WidgetTest::saveScreenshot(&window, "selected_base").isEmpty());
    }

    void pickedBaseShowsOnlyItsOwnRecords_data()
    {
        QTest::addColumn<int>("reportId"); // of the rudder's record that is not read whole
        QTest::addColumn<int>("length");   // what that read returns; 0: it fails
        QTest::addColumn<QString>("why");
        QTest::addColumn<QString>("expected"); // as shown() below
        const QString failed = "the read failed (feature report failed)";
        QTest::newRow("effect record short") << 0x22 << 40 << "40 of 65 bytes arrived" << "0 3 3 3 011";
        QTest::newRow("hardware record fails") << 0x21 << 0 << failed << "3 0 3 3 101";
        QTest::newRow("ADC record one byte short") << 0xa2 << 64 << "64 of 65 bytes arrived" << "3 3 0 1 110";
        QTest::newRow("GPIO record fails") << 0xa1 << 0 << failed << "3 3 0 1 110";
    }

    // After the joystick, the rudder is picked and one of its records cannot be read
    // whole: that page is disabled with the form's values, the log says why, the other
    // pages show the rudder's values, and nothing is written to either base.
    void pickedBaseShowsOnlyItsOwnRecords()
    {
        QFETCH(int, reportId);
        QFETCH(int, length);
        QFETCH(QString, why);
        WidgetTest::ScopedWorkingDirectory directory;
        BaseEmulator::reset();
        addBaseWithRecords(PRODUCT_ID_JOYSTICK, 9);
        addBaseWithRecords(PRODUCT_ID_RUDDER, 3);
        BaseEmulator::setFeatureReadLength(PRODUCT_ID_RUDDER, uint8_t(reportId), length);
        warnings.clear();
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) { QMutexLocker lock(&warningsMutex); warnings << text; });
        const auto restoreHandler = qScopeGuard([] { qInstallMessageHandler(nullptr); });
        MainWindow window({24, 1, 2}, QString());
        QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QComboBox*>("devices_combo_box")->placeholderText(), "Select compatible device (2 connected)", 20000);
        // A value of each record (0, 0, 0 and 1 as the form sets them), and the pages enabled.
        const auto shown = [&window] {
            QString text;
            for (const char* name : {"motion_range_axis0", "power_limit", "analogSmoothingSpinBox_1", "spi_latch_delay"})
                text += QString::number(window.findChild<QSpinBox*>(name)->value()) + ' ';
            for (const char* name : {"effects_settings_widget", "hardware_settings_widget", "gpio_extension_widget"})
                text += window.findChild<QWidget*>(name)->isEnabled() ? '1' : '0';
            return text;
        };
        QVERIFY(QMetaObject::invokeMethod(&window, "on_devices_combo_box_activated", Q_ARG(int, 1)));
        QTRY_COMPARE_WITH_TIMEOUT(shown(), "9 9 9 9 111", 20000);

        QVERIFY(QMetaObject::invokeMethod(&window, "on_devices_combo_box_activated", Q_ARG(int, 2)));
        const QString warning = QString("settings report 0x%1 of base 22888 not read: %2").arg(reportId, 0, 16).arg(why);
        QTRY_VERIFY_WITH_TIMEOUT(([&warning] { QMutexLocker lock(&warningsMutex); return warnings.contains(warning); }()), 20000);
        QFETCH(QString, expected);
        QTRY_COMPARE_WITH_TIMEOUT(shown(), expected, 20000);
        QCOMPARE(int(BaseEmulator::writtenReports().size()), 0);
        QVERIFY(WidgetTest::showExposed(&window, QSize(800, 800)));
        QVERIFY(!WidgetTest::saveScreenshot(&window, QString("switched_") + QTest::currentDataTag()).isEmpty());
    }

    void wheelScrollsPageAndWritesNothingUnpicked_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("box"); // a spin box on the page, and where its record holds it
        QTest::addColumn<int>("reportId");
        QTest::addColumn<int>("offset");
        QTest::newRow("effects") << 0 << "motion_range_axis0" << int(EFFECT_SETTINGS_REPORT_ID) << 6;
        QTest::newRow("periphery") << 1 << "" << 0 << 0;
        QTest::newRow("controller") << 2 << "power_limit" << int(HARDWARE_SETTINGS_REPORT_ID) << 6;
    }

    // With a joystick's records loaded, a notch anywhere on a page scrolls it and writes
    // nothing; a spin box clicked into takes each notch as one write.
    void wheelScrollsPageAndWritesNothingUnpicked()
    {
        QFETCH(int, tab);
        QFETCH(QString, box);
        WidgetTest::ScopedWorkingDirectory directory;
        BaseEmulator::reset();
        addBaseWithRecords(PRODUCT_ID_JOYSTICK, 9);
        MainWindow window({24, 1, 2}, QString());
        QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QComboBox*>("devices_combo_box")->placeholderText(), "Select compatible device (1 connected)", 20000);
        QVERIFY(QMetaObject::invokeMethod(&window, "on_devices_combo_box_activated", Q_ARG(int, 1)));
        QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QSpinBox*>("motion_range_axis0")->value(), 9, 20000); // read last
        window.findChild<QTabWidget*>("main_tab_widget")->setCurrentIndex(tab);
        QVERIFY(WidgetTest::showExposed(&window, QSize(800, 420)) && QTest::qWaitForWindowActive(&window));
        auto spies = WidgetTest::spyOnSignals({window.findChild<QWidget*>("effects_settings_widget"), window.findChild<QWidget*>("gpio_extension_widget"),
                                               window.findChild<QWidget*>("hardware_settings_widget")});
        auto* area = window.findChild<QScrollArea*>(QTest::currentDataTag() + QString("_scroll_area"));
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        QCOMPARE(WidgetTest::unscrolledPoints(area, 12), QStringList());
        QCOMPARE(WidgetTest::emissions(spies), 0);
        QVERIFY(!WidgetTest::saveScreenshot(&window, QString("wheel-scrolled-") + QTest::currentDataTag()).isEmpty());
        if (box.isEmpty())
            return;
        auto* spin = window.findChild<QSpinBox*>(box);
        area->ensureWidgetVisible(spin);
        QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(4, spin->height() / 2));
        WidgetTest::wheelDown(spin, QPoint(4, spin->height() / 2), 2);
        QCOMPARE(spin->value(), 7);
        QCOMPARE(WidgetTest::emissions(spies), 2);
        // The base takes the writes in order: once it holds the last, any from the sweep is counted.
        QFETCH(int, reportId);
        QFETCH(int, offset);
        QTRY_COMPARE(int(BaseEmulator::settingsRecord(PRODUCT_ID_JOYSTICK, uint8_t(reportId))[size_t(offset)]), 7);
        QCOMPARE(int(BaseEmulator::writtenReports().size()), 2);
    }
};

QTEST_MAIN(TestSetupMainWindow)
#include "tst_setupmainwindow.moc"
