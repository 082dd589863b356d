#include "httpresponder.h"
#include "telemetrysourcewarthunder.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTest>

#include <limits>

namespace {

constexpr int maxBody = 64 * 1024;
// A request limit no busy machine reaches: where a test expects an answer, only the
// answer decides, not how fast the machine gave it.
constexpr int patientLimitMs = 60000;

HttpResponder::Response reply(const QByteArray& body, int status = 200, int delayMs = 0)
{
    HttpResponder::Response response;
    response.status = status;
    response.body = body;
    response.delayMs = delayMs;
    return response;
}

// A JSON state padded with spaces to exactly size bytes.
QByteArray paddedState(int size)
{
    QByteArray body = R"({"IAS, km/h": 321})";
    body.append(QByteArray(size - body.size(), ' '));
    return body;
}

// Every signal of a source, in the order it came.
struct SignalLog
{
    QStringList order;
    QList<Telemetry> records;
    QStringList modules;

    explicit SignalLog(TelemetrySource& source)
    {
        QObject::connect(&source, &TelemetrySource::telemetrySourceFound,
                         [this](Telemetry::Source s) {
                             order << QStringLiteral("found %1").arg(int(s));
                         });
        QObject::connect(&source, &TelemetrySource::flightModuleChanged,
                         [this](Telemetry::Source s, const QString& module) {
                             order << QStringLiteral("module %1").arg(int(s));
                             modules << module;
                         });
        QObject::connect(&source, &TelemetrySource::telemetryChanged, [this](const Telemetry& t) {
            order << "telemetry";
            records << t;
        });
        QObject::connect(&source, &TelemetrySource::telemetrySourceLost,
                         [this] { order << "lost"; });
        QObject::connect(&source, &TelemetrySource::touchdownDetected, [this] { order << "event"; });
        QObject::connect(&source, &TelemetrySource::gearLock, [this] { order << "event"; });
        QObject::connect(&source, &TelemetrySource::weaponReleased, [this] { order << "event"; });
        QObject::connect(&source, &TelemetrySource::damageReceived, [this] { order << "event"; });
        QObject::connect(&source, &TelemetrySource::countermeasureReleased,
                         [this] { order << "event"; });
    }
};

const QStringList foundSignals{"found 4", "module 4"};

} // namespace

Q_DECLARE_METATYPE(HttpResponder::Response)

class TestTelemetrySourceWarthunder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void oneRequestInFlightAtATime();
    void firstReplyFindsThenValuesArePublished_data();
    void firstReplyFindsThenValuesArePublished();
    void nonJsonBodyPublishesZeroFields();
    void failedRequestWhileFoundLosesSource_data();
    void failedRequestWhileFoundLosesSource();
    void failedRequestWhileNotFoundDoesNothing_data();
    void failedRequestWhileNotFoundDoesNothing();
    void refusedConnectionWhileNotFoundDoesNothing();
    void redirectIsNotFollowed();
    void bodyOfExactlyTheLimitIsAccepted();
    void destroyedWithRequestInFlight();
    void productionAddressWithItsLimit();
    void addsNoSignalsOrSlots();

private:
    // Gives the source's requests limitMs in all (0: as made), polls once and waits until
    // the request has been answered.
    bool pollAndWait(TelemetrySourceWarthunder& source, int limitMs = patientLimitMs);

    HttpResponder* server = nullptr;
};

void TestTelemetrySourceWarthunder::init()
{
    server = new HttpResponder(this);
    QVERIFY(server->listen());
    server->setResponse("/state", reply(R"({"IAS, km/h": 100})"));
}

void TestTelemetrySourceWarthunder::cleanup()
{
    delete server;
    server = nullptr;
}

bool TestTelemetrySourceWarthunder::pollAndWait(TelemetrySourceWarthunder& source, int limitMs)
{
    if (limitMs > 0)
        source.setRequestLimit(limitMs);
    auto* network = source.findChild<QNetworkAccessManager*>();
    if (!network)
        return false;
    QSignalSpy finished(network, &QNetworkAccessManager::finished);
    source.pollTelemetry();
    if (!finished.wait(patientLimitMs / 2))
        return false;
    // The source handles the reply in the same delivery; let deleteLater run too.
    QCoreApplication::processEvents();
    return true;
}

void TestTelemetrySourceWarthunder::oneRequestInFlightAtATime()
{
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    QVERIFY(pollAndWait(source));
    auto* network = source.findChild<QNetworkAccessManager*>();
    QVERIFY(network);
    QSignalSpy finished(network, &QNetworkAccessManager::finished);
    QSignalSpy requests(server, &HttpResponder::requestReceived);
    const qsizetype asked = server->requestedPaths().size();

    server->setResponse("/state", reply(R"({"IAS, km/h": 100})", 200, 30));
    source.pollTelemetry();
    QVERIFY(requests.wait(10000));
    // The server holds its answer; polls meanwhile must not ask again.
    for (int i = 0; i < 4; ++i)
        source.pollTelemetry();
    QVERIFY(!finished.isEmpty() || finished.wait(10000));
    QCoreApplication::processEvents();
    QCOMPARE(server->requestedPaths().size(), asked + 1);

    // The reply was handled, answered or timed out: the next poll asks again.
    source.pollTelemetry();
    QVERIFY(requests.wait(10000));
    QCOMPARE(server->requestedPaths().size(), asked + 2);
    QCOMPARE(server->maxRequestsInFlight(), 1);
}

void TestTelemetrySourceWarthunder::firstReplyFindsThenValuesArePublished_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Telemetry>("expected");

    Telemetry flight;
    flight.engineRpm = 2400;
    flight.propAirflow = 87;
    flight.flaps = 20;
    flight.gear = 100;
    flight.airspeed = 312.5f;
    flight.verticalSpeed = -4.25f;
    flight.gForce = 1.5f;
    flight.aoa = 3.75f;
    QTest::newRow("all members")
        << QByteArray(R"({"valid": true, "RPM 1": 2400.9, "throttle 1, %": 87.9, "flaps, %": 20,)"
                      R"( "gear, %": 100, "IAS, km/h": 312.5, "Vy, m/s": -4.25, "Ny": 1.5,)"
                      R"( "AoA, deg": 3.75, "TAS, km/h": 330})")
        << flight;

    Telemetry negative;
    negative.propAirflow = -3;
    negative.verticalSpeed = -12.0f;
    QTest::newRow("truncated toward zero")
        << QByteArray(R"({"throttle 1, %": -3.7, "Vy, m/s": -12})") << negative;

    Telemetry partial;
    partial.airspeed = 150.0f;
    QTest::newRow("missing and non-numeric members are zero")
        << QByteArray(R"({"IAS, km/h": 150, "RPM 1": "2400", "gear, %": null, "Ny": [1]})")
        << partial;

    Telemetry saturated;
    saturated.engineRpm = std::numeric_limits<qint32>::max();
    saturated.flaps = std::numeric_limits<qint32>::min();
    saturated.airspeed = std::numeric_limits<float>::max();
    saturated.aoa = std::numeric_limits<float>::lowest();
    QTest::newRow("out of range saturates")
        << QByteArray(R"({"RPM 1": 1e300, "flaps, %": -1e12, "IAS, km/h": 1e300,)"
                      R"( "AoA, deg": -1e300})")
        << saturated;
}

void TestTelemetrySourceWarthunder::firstReplyFindsThenValuesArePublished()
{
    QFETCH(QByteArray, body);
    QFETCH(Telemetry, expected);

    server->setResponse("/state", reply(body));
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    SignalLog log(source);

    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals);
    QCOMPARE(log.modules, QStringList({"Generic warbird"}));

    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals + QStringList({"telemetry"}));
    const Telemetry& record = log.records.first();
    QCOMPARE(record.engineRpm, expected.engineRpm);
    QCOMPARE(record.propAirflow, expected.propAirflow);
    QCOMPARE(record.flaps, expected.flaps);
    QCOMPARE(record.gear, expected.gear);
    QCOMPARE(record.airspeed, expected.airspeed);
    QCOMPARE(record.verticalSpeed, expected.verticalSpeed);
    QCOMPARE(record.gForce, expected.gForce);
    QCOMPARE(record.aoa, expected.aoa);
    QCOMPARE(record, expected);
}

void TestTelemetrySourceWarthunder::nonJsonBodyPublishesZeroFields()
{
    server->setResponse("/state", reply(R"({"IAS, km/h": 280, "RPM 1": 2000, "gear, %": 100})"));
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    SignalLog log(source);
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals);
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.records.last().airspeed, 280.0f);

    server->setResponse("/state", reply("<html>Not here</html>"));
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals + QStringList({"telemetry", "telemetry"}));
    QCOMPARE(log.records.last(), Telemetry());
}

void TestTelemetrySourceWarthunder::failedRequestWhileFoundLosesSource_data()
{
    QTest::addColumn<HttpResponder::Response>("failure");
    QTest::addColumn<int>("limitMs"); // the source's request limit for the failure

    // The server's timers run on this thread after the source's, which are due first:
    // an answer due after the limit comes too late however busy the machine is.
    QTest::newRow("slower than the limit") << reply(R"({"IAS, km/h": 1})", 200, 400) << 100;
    // Never silent for 100 ms, yet far longer than that in all.
    HttpResponder::Response trickling = reply(R"({"IAS, km/h": 1})");
    trickling.byteIntervalMs = 25;
    QTest::newRow("trickling past the limit") << trickling << 100;
    QTest::newRow("not found") << reply("", 404) << patientLimitMs;
    QTest::newRow("server error") << reply(R"({"IAS, km/h": 1})", 500) << patientLimitMs;
    QTest::newRow("body over 64 KiB") << reply(paddedState(maxBody + 1)) << patientLimitMs;
    HttpResponder::Response redirect = reply("", 302);
    redirect.headers.append(qMakePair(QByteArray("Location"), QByteArray("/elsewhere")));
    QTest::newRow("redirect") << redirect << patientLimitMs;
}

void TestTelemetrySourceWarthunder::failedRequestWhileFoundLosesSource()
{
    QFETCH(HttpResponder::Response, failure);
    QFETCH(int, limitMs);

    server->setResponse("/elsewhere", reply(R"({"IAS, km/h": 500})"));
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    SignalLog log(source);
    QVERIFY(pollAndWait(source));
    QVERIFY(pollAndWait(source));
    QVERIFY(log.records.last() != Telemetry());

    server->setResponse("/state", failure);
    QVERIFY(pollAndWait(source, limitMs));
    QCOMPARE(log.order, foundSignals + QStringList({"telemetry", "telemetry", "lost"}));
    QCOMPARE(log.records.last(), Telemetry());

    // A single failure loses the source; a second one reports nothing more.
    QVERIFY(pollAndWait(source, limitMs));
    QCOMPARE(log.order.size(), 5);
    QVERIFY(!server->requestedPaths().contains("/elsewhere"));
}

void TestTelemetrySourceWarthunder::failedRequestWhileNotFoundDoesNothing_data()
{
    failedRequestWhileFoundLosesSource_data();
}

void TestTelemetrySourceWarthunder::failedRequestWhileNotFoundDoesNothing()
{
    QFETCH(HttpResponder::Response, failure);
    QFETCH(int, limitMs);

    server->setResponse("/state", failure);
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    SignalLog log(source);

    QVERIFY(pollAndWait(source, limitMs));
    QVERIFY(pollAndWait(source, limitMs));
    QVERIFY(log.order.isEmpty());
    QCOMPARE(server->requestedPaths(), QList<QByteArray>({"/state", "/state"}));

    // The game answers again: found, but the reply is not yet published.
    server->setResponse("/state", reply(R"({"IAS, km/h": 1})"));
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals);
}

void TestTelemetrySourceWarthunder::refusedConnectionWhileNotFoundDoesNothing()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();

    TelemetrySourceWarthunder source(nullptr,
                                     QUrl(QStringLiteral("http://127.0.0.1:%1").arg(port)));
    SignalLog log(source);
    QVERIFY(pollAndWait(source));
    // The request is over, so the next poll tries again.
    QVERIFY(pollAndWait(source));
    QVERIFY(log.order.isEmpty());
}

void TestTelemetrySourceWarthunder::redirectIsNotFollowed()
{
    HttpResponder::Response redirect = reply("", 301);
    redirect.headers.append(qMakePair(QByteArray("Location"), QByteArray("/elsewhere")));
    server->setResponse("/state", redirect);
    server->setResponse("/elsewhere", reply(R"({"IAS, km/h": 500})"));
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    SignalLog log(source);

    QVERIFY(pollAndWait(source));
    QVERIFY(pollAndWait(source));
    QTest::qWait(50);
    QVERIFY(log.order.isEmpty());
    QCOMPARE(server->requestedPaths(), QList<QByteArray>({"/state", "/state"}));
}

void TestTelemetrySourceWarthunder::bodyOfExactlyTheLimitIsAccepted()
{
    server->setResponse("/state", reply(paddedState(maxBody)));
    TelemetrySourceWarthunder source(nullptr, server->baseUrl());
    SignalLog log(source);
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals);
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals + QStringList({"telemetry"}));
    QCOMPARE(log.records.last().airspeed, 321.0f);
}

void TestTelemetrySourceWarthunder::destroyedWithRequestInFlight()
{
    server->setResponse("/state", reply(R"({"IAS, km/h": 1})", 200, 50));
    QSignalSpy requests(server, &HttpResponder::requestReceived);
    {
        TelemetrySourceWarthunder source(nullptr, server->baseUrl());
        source.pollTelemetry();
        QVERIFY(requests.wait(10000));
    }
    // The answer arrives for a reply that no longer exists.
    QTest::qWait(100);
    QTRY_COMPARE(server->requestsInFlight(), 0);
}

void TestTelemetrySourceWarthunder::productionAddressWithItsLimit()
{
    // The source as the worker makes it, against a server where the game would be.
    // Another program may hold the port for a moment (another run of this test);
    // only one that keeps it is a reason to skip.
    HttpResponder game;
    QDeadlineTimer patience(5000);
    while (!game.listen(8111)) {
        if (game.listenError() != QAbstractSocket::AddressInUseError)
            QFAIL("cannot listen on 127.0.0.1:8111");
        if (patience.hasExpired())
            QSKIP("127.0.0.1:8111 is in use by another program");
        QTest::qWait(100);
    }
    game.setResponse("/state", reply(R"({"IAS, km/h": 250})"));
    TelemetrySourceWarthunder source;
    SignalLog log(source);
    QVERIFY(pollAndWait(source));
    QVERIFY(pollAndWait(source));
    QCOMPARE(log.order, foundSignals + QStringList({"telemetry"}));
    QCOMPARE(log.records.last().airspeed, 250.0f);
    QCOMPARE(game.requestedPaths(), QList<QByteArray>({"/state", "/state"}));

    // Left as made, a source's request gives up after 100 ms (read from the request, not
    // from a clock that a busy machine stretches): an answer due at 300 ms would have
    // found the game.
    TelemetrySourceWarthunder asTheWorkerMakesIt;
    SignalLog untouched(asTheWorkerMakesIt);
    int limit = -1;
    connect(asTheWorkerMakesIt.findChild<QNetworkAccessManager*>(), &QNetworkAccessManager::finished, this,
            [&limit](QNetworkReply* answer) { limit = answer->request().transferTimeout(); });
    game.setResponse("/state", reply(R"({"IAS, km/h": 300})", 200, 300));
    QVERIFY(pollAndWait(asTheWorkerMakesIt, 0));
    QCOMPARE(limit, 100);
    QCOMPARE(untouched.order, QStringList());
}

void TestTelemetrySourceWarthunder::addsNoSignalsOrSlots()
{
    // The worker connects to the base's signals only; a source adds no methods of its own
    // to the meta-object.
    const QMetaObject& meta = TelemetrySourceWarthunder::staticMetaObject;
    QCOMPARE(meta.methodCount(), TelemetrySource::staticMetaObject.methodCount());
}

QTEST_GUILESS_MAIN(TestTelemetrySourceWarthunder)
#include "tst_telemetrysourcewarthunder.moc"
