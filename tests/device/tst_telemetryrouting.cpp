#include "workerfixture.h"

#include "telemetrysourcecondor2.h"
#include "telemetrysourcedcs.h"

#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <functional>
#include <limits>

using namespace BaseEmulator;

namespace {

const QByteArray condorDatagram = "airspeed=25\ngforce=1.5\nturb=0.37\n";

// Polls the worker's telemetry until done() holds (loopback delivery is quick, but
// not instant by contract); false after two seconds.
bool pollUntil(DirectControlThread* worker, const std::function<bool()>& done)
{
    QDeadlineTimer deadline(2000);
    while (!deadline.hasExpired()) {
        invoke(worker, "updateTelemetry");
        if (done())
            return true;
        QThread::msleep(1);
    }
    return false;
}

QByteArray dcsDatagram(QJsonObject fields)
{
    fields.insert("name", "F-16C_50");
    return QJsonDocument(fields).toJson(QJsonDocument::Compact);
}

} // namespace

class TestTelemetryRouting : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void selectedSourceReachesTheWorker();
    void autodetectPollsOnlyTheSourceItFound();
    void silenceLosesTheSource_data();
    void silenceLosesTheSource();
    void gameIdGoesToEveryBase_data();
    void gameIdGoesToEveryBase();

    // One running worker, past its fade-in, whose rudder force shows its record.
    void manualRecordsCountOnlyWithoutSimulator_data();
    void manualRecordsCountOnlyWithoutSimulator();
    void changingTheSourceClearsTheRecord();
    void nonFiniteValuesFromTheTestPanelBecomeZero_data();
    void nonFiniteValuesFromTheTestPanelBecomeZero();
    void nonFiniteValuesFromASourceBecomeZero();
    void flightEventsOfTheSourceStartJolts_data();
    void flightEventsOfTheSourceStartJolts();
    void sourceSignalsCountOnlyWhileASimulatorIsSelected_data();
    void sourceSignalsCountOnlyWhileASimulatorIsSelected();
    void cleanupTestCase();

private:
    DirectControlThread* runningWorker();
    int rudderSpring();
    int shakingRudderTicks();
    void send(quint16 port, const QByteArray& datagram);

    WorkerPorts ports;
    QUdpSocket sender;
    WorkerPointer running;
};

void TestTelemetryRouting::init()
{
    clearWrittenReports();
}

void TestTelemetryRouting::cleanupTestCase()
{
    running.reset();
}

void TestTelemetryRouting::send(quint16 port, const QByteArray& datagram)
{
    sender.writeDatagram(datagram, QHostAddress::LocalHost, port);
}

DirectControlThread* TestTelemetryRouting::runningWorker()
{
    if (running)
        return running.get();
    reset();
    setReadTimeoutWait(0);
    addBase(PRODUCT_ID_RUDDER);
    ports = freeWorkerPorts();
    running = makeWorker(Telemetry::TELEMETRY_SOURCE_NONE, 50, AppConfig::TrimConfig(), ports);
    running->start();
    invoke(running.get(), "updateDevicePositions");
    spin(1050); // the fade-in after start
    return running.get();
}

// The rudder's spring force for the worker's current record, in 0.01 %.
int TestTelemetryRouting::rudderSpring()
{
    clearWrittenReports();
    invoke(running.get(), "updateAxisDirectControl", 2);
    const std::vector<Report> reports = directControlReports(PRODUCT_ID_RUDDER);
    return reports.empty() ? -1 : directControlOf(reports.back()).springForce;
}

// Runs eight rudder ticks 8 ms apart; how many of their reports carry a periodic force.
int TestTelemetryRouting::shakingRudderTicks()
{
    clearWrittenReports();
    for (int tick = 0; tick < 8; ++tick) {
        invoke(running.get(), "updateAxisDirectControl", 2);
        QThread::msleep(8);
    }
    return shakingReports(PRODUCT_ID_RUDDER);
}

void TestTelemetryRouting::selectedSourceReachesTheWorker()
{
    reset();
    ports = freeWorkerPorts();
    auto worker = makeWorker(Telemetry::TELEMETRY_SOURCE_CONDOR, 50, AppConfig::TrimConfig(), ports);
    QSignalSpy modules(worker.get(), &DirectControlThread::flightModuleChanged);
    QSignalSpy records(worker.get(), &DirectControlThread::telemetryChanged);

    send(ports.xplane, "x-plane"); // not selected: never polled
    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker.get(), [&] { return modules.count() > 0; }));
    QCOMPARE(modules.at(0), QVariantList({QVariant::fromValue(Telemetry::TELEMETRY_SOURCE_CONDOR),
                                          QString("Generic glider")}));
    QCOMPARE(records.count(), 0);

    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker.get(), [&] { return records.count() > 0; }));
    const Telemetry record = records.at(0).at(0).value<Telemetry>();
    QCOMPARE(record.airspeed, 90.0f);
    QCOMPARE(record.gForce, 1.5f);
    QCOMPARE(record.shakeMagnitude, 37);
    QCOMPARE(modules.count(), 1);
}

void TestTelemetryRouting::autodetectPollsOnlyTheSourceItFound()
{
    reset();
    addBase(PRODUCT_ID_JOYSTICK);
    ports = freeWorkerPorts();
    auto worker =
        makeWorker(Telemetry::TELEMETRY_SOURCE_AUTODETECT, 50, AppConfig::TrimConfig(), ports);
    invoke(worker.get(), "updateDevicePositions");
    QSignalSpy modules(worker.get(), &DirectControlThread::flightModuleChanged);

    invoke(worker.get(), "updateTelemetry");
    std::vector<Report> gameIds = overrideReports(PRODUCT_ID_JOYSTICK, TELEMETRY_OVERRIDE_GAME_ID);
    QCOMPARE(gameIds.back()[4], uint8_t(0));

    send(ports.xplane, "x-plane");
    QVERIFY(pollUntil(worker.get(), [&] { return modules.count() > 0; }));
    QCOMPARE(modules.at(0).at(0).value<Telemetry::Source>(), Telemetry::TELEMETRY_SOURCE_X_PLANE);

    // Once found, only X-Plane is polled: the Condor 2 datagram waits unread.
    send(ports.condor2, condorDatagram);
    QThread::msleep(20);
    for (int poll = 0; poll < 5; ++poll)
        invoke(worker.get(), "updateTelemetry");
    QCOMPARE(modules.count(), 1);
    gameIds = overrideReports(PRODUCT_ID_JOYSTICK, TELEMETRY_OVERRIDE_GAME_ID);
    QCOMPARE(gameIds.back()[4], uint8_t(Telemetry::TELEMETRY_SOURCE_X_PLANE));

    // Choosing one simulator and coming back keeps the earlier find.
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_DCS);
    invoke(worker.get(), "updateTelemetry");
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_AUTODETECT);
    for (int poll = 0; poll < 5; ++poll)
        invoke(worker.get(), "updateTelemetry");
    QCOMPARE(modules.count(), 1);
}

void TestTelemetryRouting::silenceLosesTheSource_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<QStringList>("signalsOnLoss");

    QTest::newRow("autodetect forgets the source")
        << int(Telemetry::TELEMETRY_SOURCE_AUTODETECT)
        << QStringList({"telemetry 0", "module 0 N/A", "lost"});
    QTest::newRow("a selected source only reports N/A")
        << int(Telemetry::TELEMETRY_SOURCE_X_PLANE) << QStringList({"telemetry 0", "module 0 N/A"});
}

void TestTelemetryRouting::silenceLosesTheSource()
{
    QFETCH(int, selection);
    QFETCH(QStringList, signalsOnLoss);
    reset();
    ports = freeWorkerPorts();
    auto worker = makeWorker(Telemetry::Source(selection), 50, AppConfig::TrimConfig(), ports);
    QStringList log;
    connect(worker.get(), &DirectControlThread::telemetryChanged, this,
            [&](const Telemetry& record) { log << QString("telemetry %1").arg(record.airspeed); });
    connect(worker.get(), &DirectControlThread::flightModuleChanged, this,
            [&](Telemetry::Source source, const QString& module) {
                log << QString("module %1 %2").arg(int(source)).arg(module);
            });
    connect(worker.get(), &DirectControlThread::telemetrySourceLost, this,
            [&] { log << "lost"; });

    send(ports.xplane, "x-plane");
    QVERIFY(pollUntil(worker.get(), [&] { return !log.isEmpty(); }));
    log.clear();
    QThread::msleep(1050);
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(log, signalsOnLoss);

    // Whatever was selected, the next datagram finds the simulator again.
    log.clear();
    send(ports.xplane, "x-plane");
    QVERIFY(pollUntil(worker.get(), [&] { return !log.isEmpty(); }));
    QCOMPARE(log, QStringList({"module 6 Generic X-Plane plane"}));
}

void TestTelemetryRouting::gameIdGoesToEveryBase_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("gameId");

    QTest::newRow("test panel") << 0 << 0;
    QTest::newRow("DCS") << 1 << 1;
    QTest::newRow("War Thunder") << 4 << 4;
    QTest::newRow("X-Plane") << 6 << 6;
    QTest::newRow("autodetect before a find") << 7 << 0;
    QTest::newRow("configuration default 10") << 10 << 0;
}

void TestTelemetryRouting::gameIdGoesToEveryBase()
{
    QFETCH(int, selection);
    QFETCH(int, gameId);
    reset();
    addBase(PRODUCT_ID_JOYSTICK);
    addBase(PRODUCT_ID_RUDDER);
    addBase(PRODUCT_ID_COLLECTIVE);
    ports = freeWorkerPorts();
    auto worker = makeWorker(Telemetry::Source(selection), 50, AppConfig::TrimConfig(), ports);
    invoke(worker.get(), "updateDevicePositions");
    clearWrittenReports();
    invoke(worker.get(), "updateTelemetry");

    const Report expected = [&] {
        Report report(65, 0);
        report[0] = 0xA3;
        report[1] = 0x10;
        report[2] = 0x02;
        report[4] = uint8_t(gameId);
        return report;
    }();
    const std::vector<WrittenReport> written = writtenReports();
    QCOMPARE(written.size(), size_t(3));
    const unsigned short order[] = {PRODUCT_ID_JOYSTICK, PRODUCT_ID_RUDDER, PRODUCT_ID_COLLECTIVE};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(written[i].productId, order[i]);
        QVERIFY(written[i].bytes == expected);
    }
}

void TestTelemetryRouting::manualRecordsCountOnlyWithoutSimulator_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<int>("spring");

    QTest::newRow("test panel selected") << 0 << 3000;
    QTest::newRow("Condor 2 selected") << 5 << 0;
    QTest::newRow("autodetect") << 7 << 0;
    QTest::newRow("configuration default 10") << 10 << 0;
}

void TestTelemetryRouting::manualRecordsCountOnlyWithoutSimulator()
{
    QFETCH(int, selection);
    QFETCH(int, spring);
    DirectControlThread* worker = runningWorker();
    worker->changeSettingsModerately(airspeedSpringSettings(2));

    worker->listenTelemetrySource(Telemetry::Source(selection));
    Telemetry manual;
    manual.airspeed = 300.0f;
    worker->changeTelemetry(manual);
    QCOMPARE(rudderSpring(), spring);
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

void TestTelemetryRouting::changingTheSourceClearsTheRecord()
{
    DirectControlThread* worker = runningWorker();
    worker->changeSettingsModerately(airspeedSpringSettings(2));

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
    Telemetry manual;
    manual.airspeed = 300.0f;
    worker->changeTelemetry(manual);
    QCOMPARE(rudderSpring(), 3000);
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
    QCOMPARE(rudderSpring(), 3000); // the same choice again changes nothing

    // Condor 2 sends nothing yet; the test panel's last record must not stay.
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_CONDOR);
    QCOMPARE(rudderSpring(), 0);

    QSignalSpy modules(worker, &DirectControlThread::flightModuleChanged);
    QSignalSpy records(worker, &DirectControlThread::telemetryChanged);
    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker, [&] { return modules.count() > 0; }));
    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker, [&] { return records.count() > 0; }));
    QCOMPARE(rudderSpring(), 900);
    // A source that stops being selected stops driving the motors at once.
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_DCS);
    QCOMPARE(rudderSpring(), 0);
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

void TestTelemetryRouting::nonFiniteValuesFromTheTestPanelBecomeZero_data()
{
    QTest::addColumn<float>("gForce");

    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("+infinity") << std::numeric_limits<float>::infinity();
    QTest::newRow("-infinity") << -std::numeric_limits<float>::infinity();
}

void TestTelemetryRouting::nonFiniteValuesFromTheTestPanelBecomeZero()
{
    QFETCH(float, gForce);
    DirectControlThread* worker = runningWorker();
    // 40 % at 0 g rising to 100 % at 1000 g: a non-finite g would give 100 %.
    EffectsSettings settings = quietSettings();
    settings.axes[2].gForceSpring.active = true;
    settings.axes[2].gForceSpring.total_effect_strength = 100;
    ResponseCurvePoint table[ResponseCurve::pointCount];
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        table[i] = {float(i * 100), float(40 + i * 6)};
    settings.axes[2].gForceSpring.curve1.setPoints(table);
    worker->changeSettingsModerately(settings);

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
    Telemetry manual;
    manual.gForce = gForce;
    worker->changeTelemetry(manual);
    QCOMPARE(rudderSpring(), 4000);
}

void TestTelemetryRouting::nonFiniteValuesFromASourceBecomeZero()
{
    DirectControlThread* worker = runningWorker();
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_CONDOR);
    auto* source = worker->findChild<TelemetrySourceCondor2*>();
    QVERIFY(source);
    QSignalSpy records(worker, &DirectControlThread::telemetryChanged);

    Telemetry broken;
    broken.airspeed = std::numeric_limits<float>::quiet_NaN();
    broken.verticalSpeed = std::numeric_limits<float>::infinity();
    broken.gForce = -std::numeric_limits<float>::infinity();
    broken.aoa = std::numeric_limits<float>::quiet_NaN();
    broken.aileronTrim = std::numeric_limits<float>::infinity();
    broken.elevatorTrim = std::numeric_limits<float>::quiet_NaN();
    broken.rudderTrim = -std::numeric_limits<float>::infinity();
    broken.engineRpm = 2400;
    emit source->telemetryChanged(broken);

    QCOMPARE(records.count(), 1);
    Telemetry expected;
    expected.engineRpm = 2400;
    QVERIFY(records.at(0).at(0).value<Telemetry>() == expected);
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

void TestTelemetryRouting::flightEventsOfTheSourceStartJolts_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<QJsonObject>("before");
    QTest::addColumn<QJsonObject>("after");

    QTest::newRow("countermeasure from DCS")
        << 1 << QJsonObject{{"snares", 30}} << QJsonObject{{"snares", 29}};
    QTest::newRow("touchdown from DCS while autodetecting")
        << 7 << QJsonObject{{"wow", 0}}
        << QJsonObject{{"wow", 1}, {"v_speed", -3.0}, {"speed", 200.0}};
}

void TestTelemetryRouting::flightEventsOfTheSourceStartJolts()
{
    QFETCH(int, selection);
    QFETCH(QJsonObject, before);
    QFETCH(QJsonObject, after);
    DirectControlThread* worker = runningWorker();
    EffectsSettings settings = quietSettings();
    AxisEffectsSettings& rudder = settings.axes[2];
    rudder.countermeasuresJolt.active = true;
    rudder.countermeasuresJolt.total_effect_strength = 100;
    rudder.landingJolt.active = true;
    setFlatCurve(rudder.landingJolt.curve1, 100.0f);
    setFlatCurve(rudder.landingJolt.curve2, 100.0f);
    worker->changeSettingsModerately(settings);
    worker->listenTelemetrySource(Telemetry::Source(selection));

    QSignalSpy modules(worker, &DirectControlThread::flightModuleChanged);
    QSignalSpy records(worker, &DirectControlThread::telemetryChanged);
    // The first datagram finds the source (or, found earlier, is parsed); the next
    // parsed one is the reference for the event detectors.
    send(ports.dcs, dcsDatagram(before));
    QVERIFY(pollUntil(worker, [&] { return modules.count() + records.count() > 0; }));
    const int parsed = int(records.count());
    send(ports.dcs, dcsDatagram(before));
    QVERIFY(pollUntil(worker, [&] { return records.count() > parsed; }));
    QThread::msleep(120); // no jolt started so far still plays
    QCOMPARE(rudderSpring(), 0);
    QCOMPARE(directControlOf(directControlReports(PRODUCT_ID_RUDDER).back()).periodicForce,
             int16_t(0));

    const int before2 = int(records.count());
    send(ports.dcs, dcsDatagram(after));
    QVERIFY(pollUntil(worker, [&] { return records.count() > before2; }));
    QVERIFY(shakingRudderTicks() > 0);
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

void TestTelemetryRouting::sourceSignalsCountOnlyWhileASimulatorIsSelected_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<bool>("counts");

    QTest::newRow("test panel") << 0 << false;
    QTest::newRow("DCS selected") << 1 << true;
    QTest::newRow("configuration default 10") << 10 << true;
}

// A source that emits while the test panel stands in must neither move the motors
// nor reach the window.
void TestTelemetryRouting::sourceSignalsCountOnlyWhileASimulatorIsSelected()
{
    QFETCH(int, selection);
    QFETCH(bool, counts);
    DirectControlThread* worker = runningWorker();
    EffectsSettings settings = quietSettings();
    settings.axes[2].countermeasuresJolt.active = true;
    settings.axes[2].countermeasuresJolt.total_effect_strength = 100;
    worker->changeSettingsModerately(settings);
    worker->listenTelemetrySource(Telemetry::Source(selection));
    auto* source = worker->findChild<TelemetrySourceDCS*>();
    QVERIFY(source);
    QSignalSpy modules(worker, &DirectControlThread::flightModuleChanged);
    QSignalSpy records(worker, &DirectControlThread::telemetryChanged);
    QThread::msleep(150); // no jolt of an earlier row still plays

    emit source->flightModuleChanged(Telemetry::TELEMETRY_SOURCE_DCS, "F-16C_50");
    Telemetry record;
    record.airspeed = 300.0f;
    emit source->telemetryChanged(record);
    emit source->countermeasureReleased();
    const int shaking = shakingRudderTicks();
    QCOMPARE(modules.count(), counts ? 1 : 0);
    QCOMPARE(records.count(), counts ? 1 : 0);
    QCOMPARE(shaking > 0, counts);
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

QTEST_GUILESS_MAIN(TestTelemetryRouting)
#include "tst_telemetryrouting.moc"
