// The main window built in the test's own process against the base emulator: the
// pure start-up helpers, the start values it hands out, and the wiring of its table.
#include "directcontrolthread.h"
#include "effectprofilefolder.h"
#include "gameconfigwidget.h"
#include "hardwaretrimsetupwidget.h"
#include "mainwindow.h"
#include "releaseinformation.h"
#include "releaseserverrows.h"
#include "screenfit.h"
#include "statuswidget.h"
#include "threeaxiseffectswidget.h"
#include "widgettest.h"
#include "windowplacement.h"
#include "workerfixture.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include <functional>

namespace {

constexpr int rudderAxis = 2;

// What the window wires together; a row of the connection table undoes its connection.
struct Wiring {
    StatusWidget* status;
    ThreeAxisEffectsWidget* effectsPage;
    HardwareTrimSetupWidget* trimPage;
    GameConfigWidget* gamePage;
    AppConfig* config;
    DirectControlThread* worker;
    QTimer* startTimer;
};
using Disconnect = std::function<bool(const Wiring&)>;

} // namespace

Q_DECLARE_METATYPE(Disconnect)

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void centredWindowPosition_data();
    void centredWindowPosition();
    void windowOpensWholeAndFitsBesideTaskBar();
    void releaseInformationUrl_data();
    void releaseInformationUrl();
    void startingSourceReachesPanelAndWorkerOnly_data();
    void startingSourceReachesPanelAndWorkerOnly();
    void everyConnectionOfTheTableIsMadeOnce_data();
    void everyConnectionOfTheTableIsMadeOnce();
    void wheelScrollsPageAndSetsNothingUnpicked_data();
    void wheelScrollsPageAndSetsNothingUnpicked();
};

void TestMainWindow::initTestCase()
{
    qputenv("TORQUIX_RELEASE_SERVER_URL", ""); // no request from these tests
    BaseEmulator::reset();
    BaseEmulator::setReadTimeoutWait(0);
    BaseEmulator::addBase(PRODUCT_ID_RUDDER);
}

void TestMainWindow::centredWindowPosition_data()
{
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("around");
    QTest::addColumn<QPoint>("position");
    // Screens less a 40-pixel task bar.
    const QRect second(1920, 40, 1366, 728);
    QTest::newRow("second screen, task bar on top") << second << QSize(1308, 700) << second << QPoint(1949, 54);
    QTest::newRow("odd differences truncate") << QRect(0, 0, 1280, 984) << QSize(1277, 981) << QRect(0, 0, 1280, 984) << QPoint(1, 1);
    QTest::newRow("frame larger than the area keeps the title bar on screen")
        << QRect(0, 40, 1366, 728) << QSize(1400, 1071) << QRect(0, 40, 1366, 728) << QPoint(0, 40);
    // A dialog on its parent's window.
    QTest::newRow("centred on the parent") << second << QSize(962, 725) << QRect(1930, 40, 1302, 728) << QPoint(2100, 41);
    QTest::newRow("parent near the edge: moved only into the area")
        << QRect(0, 0, 1280, 720) << QSize(962, 600) << QRect(900, 300, 600, 400) << QPoint(318, 120);
}

void TestMainWindow::centredWindowPosition()
{
    QFETCH(QRect, available);
    QFETCH(QSize, frame);
    QFETCH(QRect, around);
    QTEST(::centredWindowPosition(available, frame, around), "position");
}

// Where the screen has room the window opens with every page and the status panel whole.
// A 1366x768 screen less a 40-pixel task bar leaves 1366x728, and a title bar up to 38:
// there they scroll, even with 300-character folders, which are elided where painted only.
void TestMainWindow::windowOpensWholeAndFitsBesideTaskBar()
{
    const QString folder = "C:/" + QString(297, 'f');
    WidgetTest::ScopedWorkingDirectory directory;
    QVERIFY(directory.isValid());
    for (const char* group : {"DCS", "IL2", "CONDOR2"})
        QSettings(directory.filePath("config.ini"), QSettings::IniFormat).setValue(group + QStringLiteral("/path"), folder);
    MainWindow window;
    const QLabel* label = window.findChild<QLabel*>("il2_path_label");
    QVERIFY(label->text() == folder && label->toolTip() == folder);
    QVERIFY(WidgetTest::showExposed(&window, window.size()));
    const QStringList pages = {"effects", "hardware_trim", "game_config"};
    for (int tab = 0; tab < pages.size(); ++tab) {
        window.findChild<QTabWidget*>("tabWidget")->setCurrentIndex(tab);
        WidgetTest::settle();
        for (const QString& name : {pages[tab], QStringLiteral("status")}) {
            const auto* area = window.findChild<QScrollArea*>(name + "_scroll_area");
            QVERIFY2(area->horizontalScrollBar()->maximum() == 0 && area->verticalScrollBar()->maximum() == 0, qPrintable(name));
        }
    }
    QVERIFY(WidgetTest::showExposed(&window, QSize(1366, 690)));
    QCOMPARE(window.size(), QSize(1366, 690));
    QVERIFY(!WidgetTest::saveScreenshot(&window, "fits-1366x690").isEmpty());
    QCOMPARE(WidgetTest::unreachableControls(&window).join(","), QString());
}

void TestMainWindow::releaseInformationUrl_data()
{
    addReleaseServerRows();
}

void TestMainWindow::releaseInformationUrl()
{
    QFETCH(QString, server);
    QTEST(::releaseInformationUrl(server).toString(), "url");
}

void TestMainWindow::startingSourceReachesPanelAndWorkerOnly_data()
{
    QTest::addColumn<QByteArray>("configIni");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<bool>("workerTakesManualRecords");
    // Without "config.ini" the source is 10, which names none: no choice shown, and the
    // worker takes neither the test panel's records nor a simulator's.
    QTest::newRow("first start without config.ini") << QByteArray() << -1 << false;
    QTest::newRow("test panel stored") << QByteArray("[CORE]\ndefault_telemetry=0\n") << 0 << true;
}

void TestMainWindow::startingSourceReachesPanelAndWorkerOnly()
{
    QFETCH(QByteArray, configIni);
    QFETCH(int, comboIndex);
    QFETCH(bool, workerTakesManualRecords);
    WidgetTest::ScopedWorkingDirectory folder;
    QVERIFY(folder.isValid());
    QFile ini(folder.filePath("config.ini"));
    if (!configIni.isNull())
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write(configIni) == configIni.size());
    ini.close();
    BaseEmulator::clearWrittenReports();

    {
        MainWindow window;
        auto* tabs = window.findChild<QTabWidget*>("tabWidget");
        QCOMPARE(window.windowTitle(), QString("Torquix Commander (RC.24.1.2)"));
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(tabs->tabText(tabs->currentIndex()), QString("Effects"));
        auto* status = window.findChild<StatusWidget*>("status_widget");
        QCOMPARE(status->findChild<QComboBox*>("telemetry_data_source_combo")->currentIndex(), comboIndex);
        QVERIFY(WidgetTest::showExposed(&window, QSize(909, 539)));
        WidgetTest::saveScreenshot(&window, QTest::currentDataTag());

        emit window.findChild<ThreeAxisEffectsWidget*>()->moderateValueChange(airspeedSpringSettings(rudderAxis));
        Telemetry record;
        record.airspeed = 300.0f;
        emit status->telemetryChanged(record);
        const auto rudderSpring = [] {
            const Report last = lastDirectControl(PRODUCT_ID_RUDDER, 0);
            return last.empty() ? -1 : directControlOf(last).springForce;
        };
        QVERIFY(spinUntil([&] { return rudderSpring() >= 0; }));
        if (workerTakesManualRecords)
            QVERIFY(spinUntil([&] { return rudderSpring() == 3000; }));
        else
            QVERIFY(!spinUntil([&] { return rudderSpring() != 0; }, 300));
    }
    // Nothing of the start-up is written back.
    QCOMPARE(ini.exists(), !configIni.isNull());
    if (ini.exists()) {
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), configIni);
    }
}

// One row per connection of the window's table, in its order: each is there exactly
// once, with the pointer-to-member form of both ends.
#define CONNECTION(number, sender, signal, receiver, slot)                                 \
    QTest::newRow(#number " " #signal) << Disconnect([](const Wiring& w) {               \
        return QObject::disconnect(w.sender, &signal, w.receiver, &slot);                 \
    })

void TestMainWindow::everyConnectionOfTheTableIsMadeOnce_data()
{
    QTest::addColumn<Disconnect>("disconnect");
    CONNECTION(1, status, StatusWidget::telemetrySourceChanged, config, AppConfig::changeDefaultTelemetry);
    CONNECTION(2, status, StatusWidget::telemetrySourceChanged, worker, DirectControlThread::listenTelemetrySource);
    CONNECTION(3, status, StatusWidget::telemetryChanged, worker, DirectControlThread::changeTelemetry);
    CONNECTION(4, status, StatusWidget::landed, worker, DirectControlThread::startLandingJolt);
    CONNECTION(5, status, StatusWidget::weaponReleased, worker, DirectControlThread::startWeaponReleaseJolt);
    CONNECTION(6, status, StatusWidget::damageReceived, worker, DirectControlThread::startDamageJolt);
    CONNECTION(7, status, StatusWidget::countermeasureReleased, worker, DirectControlThread::startCountermeasureJolt);
    CONNECTION(8, status, StatusWidget::gearLock, worker, DirectControlThread::startGearLockJolt);
    CONNECTION(9, effectsPage, ThreeAxisEffectsWidget::suddenValueChange, worker, DirectControlThread::changeSettingsSuddenly);
    CONNECTION(10, effectsPage, ThreeAxisEffectsWidget::moderateValueChange, worker, DirectControlThread::changeSettingsModerately);
    CONNECTION(11, effectsPage, ThreeAxisEffectsWidget::integratedSpringCurveChanged, worker, DirectControlThread::changeIntegratedSpringCurve);
    CONNECTION(12, trimPage, HardwareTrimSetupWidget::buttonAssignmentRequested, worker, DirectControlThread::startButtonAssignment);
    CONNECTION(13, trimPage, HardwareTrimSetupWidget::buttonAssignmentCanceled, worker, DirectControlThread::stopButtonAssignment);
    CONNECTION(14, config, AppConfig::trimSettingsChanged, trimPage, HardwareTrimSetupWidget::changeTrimConfig);
    CONNECTION(15, config, AppConfig::trimSettingsChanged, worker, DirectControlThread::changeTrimConfig);
    CONNECTION(16, gamePage, GameConfigWidget::dcsSettingsChanged, config, AppConfig::changeDcsSettings);
    CONNECTION(17, gamePage, GameConfigWidget::il2SettingsChanged, config, AppConfig::changeIl2Settings);
    CONNECTION(18, gamePage, GameConfigWidget::condor2SettingsChanged, config, AppConfig::changeCondor2Settings);
    CONNECTION(19, worker, DirectControlThread::flightModuleChanged, effectsPage, ThreeAxisEffectsWidget::activateProfileForFlightModule);
    CONNECTION(20, worker, DirectControlThread::flightModuleChanged, status, StatusWidget::changeFlightModule);
    CONNECTION(21, worker, DirectControlThread::telemetryChanged, status, StatusWidget::changeTelemetry);
    CONNECTION(22, worker, DirectControlThread::telemetrySourceLost, status, StatusWidget::endTelemetry);
    CONNECTION(23, worker, DirectControlThread::deviceConnected, status, StatusWidget::connectDevice);
    CONNECTION(24, worker, DirectControlThread::deviceDisconnected, status, StatusWidget::disconnectDevice);
    CONNECTION(25, worker, DirectControlThread::inputStateChanged, status, StatusWidget::changeInputState);
    CONNECTION(26, worker, DirectControlThread::hardwareAxisTrimChanged, status, StatusWidget::changeTrimData);
    CONNECTION(27, worker, DirectControlThread::trimButtonChanged, config, AppConfig::changeTrimButton);
    CONNECTION(28, startTimer, QTimer::timeout, worker, DirectControlThread::start);
}

void TestMainWindow::everyConnectionOfTheTableIsMadeOnce()
{
    QFETCH(Disconnect, disconnect);
    WidgetTest::ScopedWorkingDirectory folder;
    QVERIFY(folder.isValid());
    MainWindow window;
    const Wiring wiring = {window.findChild<StatusWidget*>("status_widget"),
                           window.findChild<ThreeAxisEffectsWidget*>("effect_settings_widget"),
                           window.findChild<HardwareTrimSetupWidget*>("hardware_trim_config_wifget"),
                           window.findChild<GameConfigWidget*>("game_config_widget"),
                           window.appConfig(), window.worker(), window.startTimer()};
    QVERIFY(disconnect(wiring));
    QVERIFY(!disconnect(wiring));
}

void TestMainWindow::wheelScrollsPageAndSetsNothingUnpicked_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("height"); // of the window, so that the page scrolls
    QTest::newRow("effects") << 0 << 400;
    QTest::newRow("game_config") << 2 << 200;
    QTest::newRow("status") << 0 << 400;
}

// With a profile active, its editors showing, the test panel on and the rudder connected, a
// notch anywhere on a page scrolls it and changes nothing; a spin box clicked into takes
// each notch as one change.
void TestMainWindow::wheelScrollsPageAndSetsNothingUnpicked()
{
    QFETCH(int, tab);
    QFETCH(int, height);
    WidgetTest::ScopedWorkingDirectory folder;
    QSettings(folder.filePath("config.ini"), QSettings::IniFormat).setValue("CORE/default_telemetry", 0);
    EffectsProfile active;
    active.metadata = {Telemetry::TELEMETRY_SOURCE_DCS, "Jet-7", {}};
    AxisEffectsSettings& ailerons = active.effects.axes[0];
    ailerons.simpleSpring.active = ailerons.overspeedShaker.active = true;
    ailerons.simpleSpring.dampening_contribution = 40, ailerons.simpleSpring.total_effect_strength = 50;
    QVERIFY(QDir().mkdir("effect_profiles") && EffectProfileFolder().save("DCS_Jet_7.json", active, nullptr));
    MainWindow window;
    auto* effectsPage = window.findChild<ThreeAxisEffectsWidget*>();
    auto* status = window.findChild<StatusWidget*>();
    effectsPage->activateProfileForFlightModule(Telemetry::TELEMETRY_SOURCE_DCS, "Jet-7");
    window.findChild<QTabWidget*>("tabWidget")->setCurrentIndex(tab);
    QVERIFY(WidgetTest::showExposed(&window, QSize(1100, height)) && QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(status->findChild<QLineEdit*>("rudder_state")->text().startsWith("Connected"));
    auto spies = WidgetTest::spyOnSignals({effectsPage, status, window.findChild<HardwareTrimSetupWidget*>(),
                                           window.findChild<GameConfigWidget*>()});
    auto* area = window.findChild<QScrollArea*>(QTest::currentDataTag() + QString("_scroll_area"));
    QCOMPARE(WidgetTest::unscrolledPoints(area, 12), QStringList());
    QCOMPARE(WidgetTest::emissions(spies), 0);
    if (qstrcmp(QTest::currentDataTag(), "effects") != 0)
        return;
    QVERIFY(!WidgetTest::saveScreenshot(&window, "wheel-scrolled-effects").isEmpty());
    auto* box = window.findChild<QWidget*>("ailerons_effects_widget")->findChild<QWidget*>("simple_spring_widget")
                    ->findChild<QSpinBox*>("smart_dampening_contribution");
    area->ensureWidgetVisible(box);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    WidgetTest::wheelDown(box, QPoint(4, box->height() / 2), 2);
    QCOMPARE(box->value(), 38);
    QCOMPARE(WidgetTest::emissions(spies), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
