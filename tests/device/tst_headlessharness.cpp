#include "headlessharness.h"
#include "virtualjoystick.h"
#include "workerfixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QMetaMethod>
#include <QPointer>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <SDL.h>

using namespace BaseEmulator;

// Stands in for the window's widgets: the signals they send to the worker.
class FakeGui : public QObject
{
    Q_OBJECT

signals:
    void moderateValueChange(EffectsSettings settings);
    void telemetryChanged(Telemetry telemetry);
    void buttonAssignmentRequested(int axis, int buttonType);
};

namespace {

constexpr int rudder = 2;

EffectsSettings rudderSpringSettings()
{
    EffectsSettings settings = airspeedSpringSettings(rudder);
    settings.axes[rudder].trim.active = true;
    return settings;
}

int lastRudderSpring()
{
    const std::vector<Report> reports = directControlReports(PRODUCT_ID_RUDDER);
    return reports.empty() ? -1 : directControlOf(reports.back()).springForce;
}

std::vector<int16_t> rudderSprings()
{
    std::vector<int16_t> springs;
    for (const Report& report : directControlReports(PRODUCT_ID_RUDDER))
        springs.push_back(directControlOf(report).springForce);
    return springs;
}

} // namespace

class TestHeadlessHarness : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void workerMethodsKeepTheirOrderAndTypes_data();
    void workerMethodsKeepTheirOrderAndTypes();
    void workerIsBuiltFromConfigIni();
    void condorDatagramChangesTheNextSpringReport();
    void assignedTrimButtonIsStoredAndThenUsed();
    void shutDownLeavesTheBasesSafeAndClosed();

private:
    void writeConfig(quint16 condorPort);
    void connectGui(HeadlessHarness& harness);

    QTemporaryDir dir;
    QString previousDir;
    FakeGui gui;
};

void TestHeadlessHarness::initTestCase()
{
    QVERIFY(dir.isValid());
    QVERIFY(VirtualJoystick::initialiseSdl());
    previousDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
}

void TestHeadlessHarness::cleanupTestCase()
{
    QDir::setCurrent(previousDir);
    SDL_Quit();
}

void TestHeadlessHarness::init()
{
    reset();
    setReadTimeoutWait(0);
    addBase(PRODUCT_ID_JOYSTICK);
    addBase(PRODUCT_ID_RUDDER);
    addBase(PRODUCT_ID_COLLECTIVE);
}

void TestHeadlessHarness::cleanup()
{
    QFile::remove(dir.filePath("config.ini"));
}

void TestHeadlessHarness::writeConfig(quint16 condorPort)
{
    QSettings ini(dir.filePath("config.ini"), QSettings::IniFormat);
    ini.setValue("CORE/trim_increment", 70);
    ini.setValue("CORE/default_telemetry", int(Telemetry::TELEMETRY_SOURCE_CONDOR));
    ini.setValue("CONDOR2/port", condorPort);
    ini.sync();
}

void TestHeadlessHarness::connectGui(HeadlessHarness& harness)
{
    DirectControlThread* worker = harness.worker();
    connect(&gui, &FakeGui::moderateValueChange, worker,
            &DirectControlThread::changeSettingsModerately);
    connect(&gui, &FakeGui::telemetryChanged, worker, &DirectControlThread::changeTelemetry);
    connect(&gui, &FakeGui::buttonAssignmentRequested, worker,
            &DirectControlThread::startButtonAssignment);
}

void TestHeadlessHarness::workerMethodsKeepTheirOrderAndTypes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("signature");

    // The window connects to these by name and argument type; the order is the
    // meta-object's, with the shut-down slot added after all the others.
    const QByteArray methods[] = {
        "flightModuleChanged(Telemetry::Source,QString)",
        "telemetryChanged(Telemetry)",
        "telemetrySourceLost()",
        "deviceDisconnected(DeviceTypeEnum)",
        "deviceConnected(DeviceTypeEnum,FirmwareVersionTypeDef)",
        "hardwareAxisTrimChanged(int,int,bool)",
        "trimButtonChanged(int,QString,int,bool,int,int)",
        "inputStateChanged(int,int,int)",
        "listenTelemetrySource(Telemetry::Source)",
        "changeSettingsSuddenly(EffectsSettings)",
        "changeSettingsModerately(EffectsSettings)",
        "changeIntegratedSpringCurve(int,SimpleSpringSettings)",
        "changeTelemetry(Telemetry)",
        "startLandingJolt(float,float)",
        "startWeaponReleaseJolt(float)",
        "startDamageJolt(float)",
        "startCountermeasureJolt()",
        "startGearLockJolt()",
        "changeTrimConfig(AppConfig::TrimConfig)",
        "startButtonAssignment(int,int)",
        "stopButtonAssignment()",
        "start()",
        "readTorquixDevice",
        "updateAxisDirectControl",
        "updateDevicePositions",
        "updateTrim",
        "onForceUpdateTimeout",
        "updateTelemetry",
        "isListeningForGameTelemetry",
        "isInAutodetectMode",
        "clearActiveTelemetryDataSource",
        "deviceAxisForEffectAxis",
        "deviceForEffectAxis",
        "sendUInt8OverrideReport",
        "sendUInt16OverrideReport",
        "sendDataReport",
        "createUInt8OverrideReport",
        "createUInt16OverrideReport",
        "createBufferOverrideReport",
        "readDeviceState",
        "writeToDevice",
        "obtainDeviceConnection",
        "disconnectDevice",
        "stop()",
    };
    int index = 0;
    for (const QByteArray& method : methods) {
        QTest::addRow("%d %s", index, method.constData()) << index << method;
        ++index;
    }
}

// Rows without an argument list check the name only.
void TestHeadlessHarness::workerMethodsKeepTheirOrderAndTypes()
{
    QFETCH(int, index);
    QFETCH(QByteArray, signature);
    const QMetaObject& meta = DirectControlThread::staticMetaObject;
    QCOMPARE(meta.methodCount() - meta.methodOffset(), 44);
    const QMetaMethod method = meta.method(meta.methodOffset() + index);
    if (signature.contains('('))
        QCOMPARE(method.methodSignature(), signature);
    else
        QCOMPARE(method.name(), signature);
}

void TestHeadlessHarness::workerIsBuiltFromConfigIni()
{
    const quint16 condorPort = freeUdpPort();
    writeConfig(condorPort);
    HeadlessHarness harness;
    connectGui(harness);
    QueuedSignalLog modules(harness.worker(), &DirectControlThread::flightModuleChanged);
    harness.startWorker();
    QVERIFY(harness.workerThread()->isRunning());
    QCOMPARE(harness.worker()->thread(), harness.workerThread());

    // Condor 2 is the selected source and listens on the configured port.
    QUdpSocket sender;
    sender.writeDatagram("airspeed=10\n", QHostAddress::LocalHost, condorPort);
    QVERIFY(modules.wait(10000));
    QCOMPARE(modules.at(0).at(0).value<Telemetry::Source>(), Telemetry::TELEMETRY_SOURCE_CONDOR);
}

void TestHeadlessHarness::condorDatagramChangesTheNextSpringReport()
{
    const quint16 condorPort = freeUdpPort();
    writeConfig(condorPort);
    HeadlessHarness harness;
    connectGui(harness);
    harness.startWorker();
    emit gui.moderateValueChange(rudderSpringSettings());

    // Sends every 100 ms until the rudder's spring is springForce, so the simulator never
    // falls silent however slowly the worker runs: the first datagram finds it, the next
    // ones are records. False after 10 s.
    QUdpSocket sender;
    const auto flyUntilRudderSpring = [&](int metresPerSecond, int springForce) {
        const QByteArray datagram = "airspeed=" + QByteArray::number(metresPerSecond) + "\n";
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QTest::qWait(100)) {
            sender.writeDatagram(datagram, QHostAddress::LocalHost, condorPort);
            if (lastRudderSpring() == springForce)
                return true;
        }
        return false;
    };
    QVERIFY(flyUntilRudderSpring(25, 900)); // 90 km/h, past the fade-in

    clearWrittenReports();
    QVERIFY(flyUntilRudderSpring(50, 1800));
    // Every report is either the old force or, from the first changed one on, the new.
    const std::vector<int16_t> springs = rudderSprings();
    const auto first = std::find(springs.begin(), springs.end(), int16_t(1800));
    QVERIFY(std::all_of(springs.begin(), first, [](int16_t s) { return s == 900; }));
    QVERIFY(std::all_of(first, springs.end(), [](int16_t s) { return s == 1800; }));
}

void TestHeadlessHarness::assignedTrimButtonIsStoredAndThenUsed()
{
    writeConfig(freeUdpPort());
    VirtualJoystick stick("Stick:Left", 8, 1); // a ':' in the name must survive the file
    HeadlessHarness harness;
    connectGui(harness);
    QSignalSpy stored(harness.appConfig(), &AppConfig::trimSettingsChanged);
    QueuedSignalLog trims(harness.worker(), &DirectControlThread::hardwareAxisTrimChanged);
    harness.startWorker();
    emit gui.moderateValueChange(rudderSpringSettings());

    emit gui.buttonAssignmentRequested(rudder, AppConfig::BUTTON_TYPE_DECREASE);
    QTest::qWait(60);
    stick.setButton(5, true);
    QVERIFY(stored.wait(10000));
    stick.setButton(5, false);
    QSettings ini(dir.filePath("config.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value("YAW_TRIMMER/decrease").toString(), QString("Stick:Left:Button:5"));

    // The worker now has the binding: holding the button raises the yaw trim by 70 a poll.
    trims.entries.clear();
    stick.setButton(5, true);
    const auto raisedTwice = [](const QVariantList& args) {
        return args.at(0).toInt() == rudder && args.at(1).toInt() >= 140;
    };
    QTRY_VERIFY(std::any_of(trims.entries.begin(), trims.entries.end(), raisedTwice));
    for (const QVariantList& args : std::as_const(trims.entries))
        QCOMPARE(args.at(1).toInt() % 70, 0);
}

void TestHeadlessHarness::shutDownLeavesTheBasesSafeAndClosed()
{
    writeConfig(freeUdpPort());
    HeadlessHarness harness;
    connectGui(harness);
    QueuedSignalLog connected(harness.worker(), &DirectControlThread::deviceConnected);
    QueuedSignalLog disconnected(harness.worker(), &DirectControlThread::deviceDisconnected);
    QPointer<DirectControlThread> worker = harness.worker();
    QVERIFY(!harness.workerThread());
    harness.startWorker();
    QTRY_COMPARE(connected.count(), 3);

    EffectsSettings settings = quietSettings();
    for (AxisEffectsSettings& axis : settings.axes) {
        axis.airspeedSpring.active = true;
        axis.airspeedSpring.total_effect_strength = 100;
        setFlatCurve(axis.airspeedSpring.curve1, 60.0f);
    }
    emit gui.moderateValueChange(settings);
    QTRY_VERIFY(lastRudderSpring() > 0);

    harness.shutDown();
    QVERIFY(worker.isNull());
    QVERIFY(!harness.worker());
    QCOMPARE(openHandleCount(PRODUCT_ID_JOYSTICK), 0);
    QCOMPARE(openHandleCount(PRODUCT_ID_RUDDER), 0);
    QCOMPARE(openHandleCount(PRODUCT_ID_COLLECTIVE), 0);

    const std::vector<Report> joystick = directControlReports(PRODUCT_ID_JOYSTICK);
    QVERIFY(joystick.size() >= 2);
    QVERIFY(joystick[joystick.size() - 2] == zeroForceReport(0));
    QVERIFY(joystick.back() == zeroForceReport(1));
    QVERIFY(directControlReports(PRODUCT_ID_RUDDER).back() == zeroForceReport(0));
    QVERIFY(directControlReports(PRODUCT_ID_COLLECTIVE).back() == zeroForceReport(0));

    QCoreApplication::processEvents(); // the queued reports of the closing
    QCOMPARE(disconnected.count(), 3);
    harness.shutDown(); // a second call does nothing
}

QTEST_GUILESS_MAIN(TestHeadlessHarness)
#include "tst_headlessharness.moc"
