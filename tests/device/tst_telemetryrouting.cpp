#include "workerfixture.h"

#include "telemetrysourcecondor2.h"
#include "telemetrysourcedcs.h"
#include "telemetrysourcewarthunder.h"
#include "telemetrysourcexplane.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <limits>

using namespace BaseEmulator;

namespace {

const QByteArray condorDatagram = "airspeed=25\ngforce=1.5\nturb=0.37\n";

// True once the worker's source of that kind holds a datagram; false after ten seconds.
template <class Source>
bool queuedAt(DirectControlThread* worker)
{
    auto* socket = worker->findChild<Source*>()->template findChild<QUdpSocket*>();
    for (QDeadlineTimer deadline(10000); !socket->hasPendingDatagrams() && !deadline.hasExpired();)
        QThread::msleep(1);
    return socket->hasPendingDatagrams();
}

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

// The game id last sent to a base; -1 before any.
int lastGameId(unsigned short productId)
{
    const std::vector<Report> gameIds = overrideReports(productId, TELEMETRY_OVERRIDE_GAME_ID);
    return gameIds.empty() ? -1 : gameIds.back()[4];
}

enum JoltKind { WEAPON_RELEASE, DAMAGE, COUNTERMEASURE, GEAR_LOCK, LANDING };
constexpr JoltKind joltKinds[] = {WEAPON_RELEASE, DAMAGE, COUNTERMEASURE, GEAR_LOCK, LANDING};

// The rudder's jolts of the given kinds, each at full strength whatever the event's size.
EffectsSettings rudderJolts(const QList<JoltKind>& kinds)
{
    EffectsSettings settings = quietSettings();
    AxisEffectsSettings& rudder = settings.axes[2];
    const auto full = [](auto& jolt) {
        jolt.active = true;
        jolt.total_effect_strength = 100;
    };
    for (JoltKind kind : kinds) {
        switch (kind) {
        case WEAPON_RELEASE: full(rudder.weaponReleaseJolt); setFlatCurve(rudder.weaponReleaseJolt.curve1, 100.0f); break;
        case DAMAGE: full(rudder.damageJolt); setFlatCurve(rudder.damageJolt.curve1, 100.0f); break;
        case COUNTERMEASURE: full(rudder.countermeasuresJolt); break;
        case GEAR_LOCK: full(rudder.gearExtractionJolt); break;
        case LANDING:
            rudder.landingJolt.active = true;
            setFlatCurve(rudder.landingJolt.curve1, 100.0f);
            setFlatCurve(rudder.landingJolt.curve2, 100.0f);
            break;
        }
    }
    return settings;
}

// Logs the worker's routing signals as text, in order.
class RoutingLog : public QObject
{
public:
    explicit RoutingLog(DirectControlThread* worker)
    {
        connect(worker, &DirectControlThread::telemetryChanged, this,
                [this](const Telemetry& record) {
                    lines << QString("telemetry %1").arg(record.airspeed);
                });
        connect(worker, &DirectControlThread::flightModuleChanged, this,
                [this](Telemetry::Source source, const QString& module) {
                    lines << QString("module %1 %2").arg(int(source)).arg(module);
                });
        connect(worker, &DirectControlThread::telemetrySourceLost, this,
                [this] { lines << "lost"; });
    }
    QStringList lines;
};

} // namespace

Q_DECLARE_METATYPE(JoltKind)

class TestTelemetryRouting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void selectedSourceReachesTheWorker();
    void autodetectPollsOnlyTheSourceItFound();
    void silenceLosesTheSource_data();
    void silenceLosesTheSource();
    void gameIdGoesToEveryBase_data();
    void gameIdGoesToEveryBase();
    void autodetectFindsAnotherSimulatorAfterTheChosenOneFellSilent();
    void runningChosenSimulatorIsDetectedOnEnteringAutodetect();
    void simulatorFoundBesideTheDetectedOneTakesOverWhenItIsLost();

    // One running worker, past its fade-in, whose rudder force shows its record.
    void manualRecordsCountOnlyWithoutSimulator_data();
    void manualRecordsCountOnlyWithoutSimulator();
    void changingTheSourceClearsTheRecord();
    void nonFiniteValuesFromTheTestPanelBecomeZero_data();
    void nonFiniteValuesFromTheTestPanelBecomeZero();
    void nonFiniteValuesFromASourceBecomeZero();
    void eachSourceEventStartsItsOwnJolt_data();
    void eachSourceEventStartsItsOwnJolt();
    void sourceSignalsCountOnlyFromTheRoutedSource_data();
    void sourceSignalsCountOnlyFromTheRoutedSource();
    void lateWarThunderReplyAfterASwitchChangesNothing_data();
    void lateWarThunderReplyAfterASwitchChangesNothing();
    void cleanupTestCase();

private:
    DirectControlThread* runningWorker();
    int rudderSpring();
    int shakingRudderTicks();
    void send(quint16 port, const QByteArray& datagram);
    void sendDcsRecord(DirectControlThread* worker, const QJsonObject& fields);
    WorkerPointer joystickWorker(Telemetry::Source selection);

    QTemporaryDir workDir; // the DCS source reads its weapon weights from here
    QString previousDir;
    WorkerPorts ports;
    QUdpSocket sender;
    qint64 now = 0; // the running worker's clock, which outlives it
    WorkerPointer running;
};

void TestTelemetryRouting::initTestCase()
{
    QVERIFY(workDir.isValid());
    QFile weights(workDir.filePath("payload_weight_mapping.json"));
    QVERIFY(weights.open(QIODevice::WriteOnly));
    weights.write(R"({"Mk-82": {"weight": 241}})");
    weights.close();
    previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir.path()));
}

void TestTelemetryRouting::init()
{
    clearWrittenReports();
}

void TestTelemetryRouting::cleanupTestCase()
{
    running.reset();
    QDir::setCurrent(previousDir);
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
    running->setClock([this] { return now; });
    // Its timers run only when this thread spins, which it does not: the test ticks.
    running->start();
    invoke(running.get(), "updateDevicePositions");
    now += 1001; // past the fade-in after start
    return running.get();
}

// A worker of its own with the joystick base, not started.
WorkerPointer TestTelemetryRouting::joystickWorker(Telemetry::Source selection)
{
    reset();
    addBase(PRODUCT_ID_JOYSTICK);
    ports = freeWorkerPorts();
    auto worker = makeWorker(selection, 50, AppConfig::TrimConfig(), ports);
    invoke(worker.get(), "updateDevicePositions");
    return worker;
}

// Sends one DCS datagram and polls until the worker has taken it: it finds the source
// (the first after a loss) or becomes the record. A poll that comes before the datagram
// and more than a second after the last one loses the source first.
void TestTelemetryRouting::sendDcsRecord(DirectControlThread* worker, const QJsonObject& fields)
{
    QSignalSpy modules(worker, &DirectControlThread::flightModuleChanged);
    QSignalSpy records(worker, &DirectControlThread::telemetryChanged);
    send(ports.dcs, dcsDatagram(fields));
    QVERIFY(pollUntil(worker, [&] {
        const bool lost = !modules.isEmpty()
            && modules.first().first().value<Telemetry::Source>()
                == Telemetry::TELEMETRY_SOURCE_NONE;
        return lost ? modules.count() > 1 : modules.count() + records.count() > 0;
    }));
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
        now += 8;
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
    QVERIFY(queuedAt<TelemetrySourceCondor2>(worker.get()));
    for (int poll = 0; poll < 5; ++poll)
        invoke(worker.get(), "updateTelemetry");
    QCOMPARE(modules.count(), 1);
    QVERIFY(queuedAt<TelemetrySourceCondor2>(worker.get()));
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
    RoutingLog log(worker.get());

    send(ports.xplane, "x-plane");
    QVERIFY(pollUntil(worker.get(), [&] { return !log.lines.isEmpty(); }));
    log.lines.clear();
    QThread::msleep(1050);
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(log.lines, signalsOnLoss);

    // Whatever was selected, the next datagram finds the simulator again.
    log.lines.clear();
    send(ports.xplane, "x-plane");
    QVERIFY(pollUntil(worker.get(), [&] { return !log.lines.isEmpty(); }));
    QCOMPARE(log.lines, QStringList({"module 6 Generic X-Plane plane"}));
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

// X-Plane found, then chosen by name and fallen silent: autodetect must not keep
// polling it alone, but find the Condor 2 that runs now.
void TestTelemetryRouting::autodetectFindsAnotherSimulatorAfterTheChosenOneFellSilent()
{
    auto worker = joystickWorker(Telemetry::TELEMETRY_SOURCE_AUTODETECT);
    RoutingLog log(worker.get());

    send(ports.xplane, "x-plane");
    QVERIFY(pollUntil(worker.get(), [&] { return !log.lines.isEmpty(); }));
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_X_PLANE);
    QThread::msleep(1050);
    log.lines.clear();
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(log.lines, QStringList({"telemetry 0", "module 0 N/A"}));

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_AUTODETECT);
    log.lines.clear();
    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker.get(), [&] { return !log.lines.isEmpty(); }));
    QCOMPARE(log.lines, QStringList({"module 5 Generic glider"}));
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(lastGameId(PRODUCT_ID_JOYSTICK), int(Telemetry::TELEMETRY_SOURCE_CONDOR));
}

// Condor 2 chosen by name and running: switching to autodetect keeps it, at once and
// without announcing it again, and no other source is polled.
void TestTelemetryRouting::runningChosenSimulatorIsDetectedOnEnteringAutodetect()
{
    auto worker = joystickWorker(Telemetry::TELEMETRY_SOURCE_CONDOR);
    RoutingLog log(worker.get());
    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker.get(), [&] { return !log.lines.isEmpty(); }));
    send(ports.condor2, condorDatagram);
    QVERIFY(pollUntil(worker.get(), [&] { return log.lines.size() > 1; }));
    QCOMPARE(log.lines, QStringList({"module 5 Generic glider", "telemetry 90"}));

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_AUTODETECT);
    send(ports.xplane, "x-plane");
    send(ports.condor2, condorDatagram);
    QVERIFY(queuedAt<TelemetrySourceXPlane>(worker.get()));
    QVERIFY(queuedAt<TelemetrySourceCondor2>(worker.get()));
    clearWrittenReports();
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(lastGameId(PRODUCT_ID_JOYSTICK), int(Telemetry::TELEMETRY_SOURCE_CONDOR));
    QCOMPARE(log.lines, QStringList({"module 5 Generic glider", "telemetry 90", "telemetry 90"}));
}

// Condor 2 and X-Plane both answer in the first autodetect round: the first found is
// detected. When it falls silent, X-Plane, found long ago and still sending, takes over
// although it never reports being found again.
void TestTelemetryRouting::simulatorFoundBesideTheDetectedOneTakesOverWhenItIsLost()
{
    auto worker = joystickWorker(Telemetry::TELEMETRY_SOURCE_AUTODETECT);
    RoutingLog log(worker.get());
    send(ports.condor2, condorDatagram);
    send(ports.xplane, "x-plane");
    // Both are queued before the first poll.
    QVERIFY(queuedAt<TelemetrySourceCondor2>(worker.get()));
    QVERIFY(queuedAt<TelemetrySourceXPlane>(worker.get()));
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(log.lines, QStringList({"module 5 Generic glider"}));

    QThread::msleep(1050);
    send(ports.xplane, "x-plane");
    QVERIFY(queuedAt<TelemetrySourceXPlane>(worker.get()));
    log.lines.clear();
    invoke(worker.get(), "updateTelemetry"); // Condor 2 is lost
    QCOMPARE(log.lines, QStringList({"telemetry 0", "module 0 N/A", "lost"}));
    log.lines.clear();
    invoke(worker.get(), "updateTelemetry"); // every source: X-Plane sends a record
    invoke(worker.get(), "updateTelemetry");
    QCOMPARE(log.lines, QStringList({"module 6 Generic X-Plane plane"}));
    QCOMPARE(lastGameId(PRODUCT_ID_JOYSTICK), int(Telemetry::TELEMETRY_SOURCE_X_PLANE));
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

void TestTelemetryRouting::eachSourceEventStartsItsOwnJolt_data()
{
    QTest::addColumn<JoltKind>("jolt");
    QTest::addColumn<QJsonObject>("before");
    QTest::addColumn<QJsonObject>("after");

    const auto bombs = [](int count) {
        return QJsonArray({QJsonObject{{"id", "Mk-82"}, {"count", count}}});
    };
    QTest::newRow("weapon release") << WEAPON_RELEASE << QJsonObject{{"pld", bombs(2)}}
                                    << QJsonObject{{"pld", bombs(1)}};
    QTest::newRow("damage") << DAMAGE << QJsonObject{{"dmg", 100}} << QJsonObject{{"dmg", 60}};
    QTest::newRow("countermeasure") << COUNTERMEASURE << QJsonObject{{"snares", 30}}
                                    << QJsonObject{{"snares", 29}};
    QTest::newRow("gear lock") << GEAR_LOCK << QJsonObject{{"gear", 50}}
                               << QJsonObject{{"gear", 100}};
    // The source reports (verticalSpeed, airspeed); swapped, the airspeed would be
    // negative and no touchdown would jolt.
    QTest::newRow("touchdown") << LANDING << QJsonObject{{"wow", 0}, {"speed", 200.0}}
                               << QJsonObject{{"wow", 1}, {"v_speed", -3.0}, {"speed", 200.0}};
}

// Each event of the selected source starts its own jolt, and no other: with only its
// jolt active the rudder shakes, with every other jolt active it does not.
void TestTelemetryRouting::eachSourceEventStartsItsOwnJolt()
{
    QFETCH(JoltKind, jolt);
    QFETCH(QJsonObject, before);
    QFETCH(QJsonObject, after);
    DirectControlThread* worker = runningWorker();
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_DCS);

    QList<JoltKind> others;
    for (JoltKind kind : joltKinds) {
        if (kind != jolt)
            others << kind;
    }
    for (const bool own : {true, false}) {
        worker->changeSettingsModerately(rudderJolts(own ? QList<JoltKind>{jolt} : others));
        // Twice: the first may only find the source again; the second is the reference.
        sendDcsRecord(worker, before);
        sendDcsRecord(worker, before);
        now += 120; // a jolt started by the change to "before" has ended
        QCOMPARE(shakingRudderTicks(), 0);
        sendDcsRecord(worker, after);
        QCOMPARE(shakingRudderTicks() > 0, own);
    }
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

void TestTelemetryRouting::sourceSignalsCountOnlyFromTheRoutedSource_data()
{
    QTest::addColumn<int>("selection");
    QTest::addColumn<bool>("detected"); // DCS found while autodetecting
    QTest::addColumn<bool>("counts");

    QTest::newRow("test panel") << 0 << false << false;
    QTest::newRow("DCS selected") << 1 << false << true;
    QTest::newRow("Condor 2 selected") << 5 << false << false;
    QTest::newRow("configuration default 10") << 10 << false << false;
    QTest::newRow("autodetect, nothing detected") << 7 << false << false;
    QTest::newRow("autodetect, DCS detected") << 7 << true << true;
}

// A source that emits while it is not the one routed must neither move the motors
// nor reach the window.
void TestTelemetryRouting::sourceSignalsCountOnlyFromTheRoutedSource()
{
    QFETCH(int, selection);
    QFETCH(bool, detected);
    QFETCH(bool, counts);
    DirectControlThread* worker = runningWorker();
    worker->changeSettingsModerately(rudderJolts({COUNTERMEASURE}));
    worker->listenTelemetrySource(Telemetry::Source(selection));
    auto* source = worker->findChild<TelemetrySourceDCS*>();
    QVERIFY(source);
    if (detected)
        emit source->telemetrySourceFound(Telemetry::TELEMETRY_SOURCE_DCS);
    QSignalSpy modules(worker, &DirectControlThread::flightModuleChanged);
    QSignalSpy records(worker, &DirectControlThread::telemetryChanged);
    now += 120; // no jolt of an earlier row still plays

    emit source->flightModuleChanged(Telemetry::TELEMETRY_SOURCE_DCS, "F-16C_50");
    Telemetry record;
    record.airspeed = 300.0f;
    emit source->telemetryChanged(record);
    emit source->countermeasureReleased();
    const int shaking = shakingRudderTicks();
    QCOMPARE(modules.count(), counts ? 1 : 0);
    QCOMPARE(records.count(), counts ? 1 : 0);
    QCOMPARE(shaking > 0, counts);
    if (detected)
        emit source->telemetrySourceLost(); // the next row starts with nothing detected
    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
}

void TestTelemetryRouting::lateWarThunderReplyAfterASwitchChangesNothing_data()
{
    QTest::addColumn<bool>("loss");

    QTest::newRow("a late record") << false;
    QTest::newRow("a late failure") << true;
}

// War Thunder answers from its reply handler, so a request sent before the switch to
// DCS can finish after it: neither its record nor its loss may reach the worker.
void TestTelemetryRouting::lateWarThunderReplyAfterASwitchChangesNothing()
{
    QFETCH(bool, loss);
    DirectControlThread* worker = runningWorker();
    worker->changeSettingsModerately(airspeedSpringSettings(2));
    auto* warThunder = worker->findChild<TelemetrySourceWarthunder*>();
    QVERIFY(warThunder);
    Telemetry fast;
    fast.airspeed = 500.0f;

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_WARTHUNDER);
    emit warThunder->telemetrySourceFound(Telemetry::TELEMETRY_SOURCE_WARTHUNDER);
    emit warThunder->flightModuleChanged(Telemetry::TELEMETRY_SOURCE_WARTHUNDER, "bf-109f-4");
    emit warThunder->telemetryChanged(fast);
    QCOMPARE(rudderSpring(), 5000);

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_DCS);
    sendDcsRecord(worker, {{"speed", 300.0}});
    sendDcsRecord(worker, {{"speed", 300.0}});
    QCOMPARE(rudderSpring(), 3000);

    RoutingLog log(worker);
    if (loss) {
        emit warThunder->telemetryChanged(Telemetry());
        emit warThunder->telemetrySourceLost();
    } else {
        emit warThunder->telemetryChanged(fast);
    }
    QCOMPARE(log.lines, QStringList());
    QCOMPARE(rudderSpring(), 3000);

    worker->listenTelemetrySource(Telemetry::TELEMETRY_SOURCE_NONE);
    if (!loss)
        emit warThunder->telemetrySourceLost();
}

QTEST_GUILESS_MAIN(TestTelemetryRouting)
#include "tst_telemetryrouting.moc"
