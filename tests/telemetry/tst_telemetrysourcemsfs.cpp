#include "fakesimconnect.h"
#include "telemetrysourcemsfs.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

namespace {

using Variables = QHash<QByteArray, double>;
using Call = FakeSimConnectCall;

FakeSimConnect& simulator()
{
    return FakeSimConnect::instance();
}

FakeAircraft aircraft(const Variables& variables = {}, const QByteArray& title = "Test Aircraft")
{
    FakeAircraft result;
    result.variables = variables;
    result.title = title;
    return result;
}

// Every signal of a source, in the order it came.
struct SignalLog
{
    QStringList order;
    QList<Telemetry> records;
    QList<Telemetry::Source> sources;
    QStringList modules;
    QList<QPair<float, float>> touchdowns;

    explicit SignalLog(TelemetrySource& source)
    {
        QObject::connect(&source, &TelemetrySource::telemetrySourceFound,
                         [this](Telemetry::Source s) {
                             order << "found";
                             sources << s;
                         });
        QObject::connect(&source, &TelemetrySource::flightModuleChanged,
                         [this](Telemetry::Source s, const QString& module) {
                             order << "module";
                             sources << s;
                             modules << module;
                         });
        QObject::connect(&source, &TelemetrySource::telemetryChanged, [this](const Telemetry& t) {
            order << "telemetry";
            records << t;
        });
        QObject::connect(&source, &TelemetrySource::touchdownDetected,
                         [this](float verticalSpeed, float airspeed) {
                             order << "touchdown";
                             touchdowns << qMakePair(verticalSpeed, airspeed);
                         });
        QObject::connect(&source, &TelemetrySource::gearLock, [this] { order << "gearLock"; });
        QObject::connect(&source, &TelemetrySource::telemetrySourceLost,
                         [this] { order << "lost"; });
        QObject::connect(&source, &TelemetrySource::weaponReleased, [this] { order << "weapon"; });
        QObject::connect(&source, &TelemetrySource::damageReceived, [this] { order << "damage"; });
        QObject::connect(&source, &TelemetrySource::countermeasureReleased,
                         [this] { order << "countermeasure"; });
    }
};

int requestCount()
{
    return int(simulator().callsOf(Call::REQUEST_DATA_ON_SIM_OBJECT_TYPE).size());
}

// Opens the connection and lets the source find the aircraft.
void findAircraft(TelemetrySourceMSFS& source, const FakeAircraft& found = aircraft())
{
    source.pollTelemetry();
    simulator().queueAircraft(found);
    source.pollTelemetry();
}

constexpr quint32 simStart = 0;
constexpr quint32 simStop = 1;

} // namespace

Q_DECLARE_METATYPE(Variables)

class TestTelemetrySourceMSFS : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void openFailureIsRetriedOnEveryPoll_data();
    void openFailureIsRetriedOnEveryPoll();
    void openingDefinesRequestsThenSubscribes();
    void definitionsFollowTheDataBlock_data();
    void definitionsFollowTheDataBlock();

    void firstDataFindsAircraftByTitle_data();
    void firstDataFindsAircraftByTitle();
    void dataIsMappedIntoRecord_data();
    void dataIsMappedIntoRecord();
    void dataOfAnotherRequestIsIgnored();
    void incompleteDataMessageIsIgnored_data();
    void incompleteDataMessageIsIgnored();
    void otherMessagesChangeNothing_data();
    void otherMessagesChangeNothing();

    void gearAndTouchdownEvents_data();
    void gearAndTouchdownEvents();
    void touchdownCarriesItsSample();
    void firstSampleAfterDetectionEmitsNoEvents();

    void simStopLosesSource_data();
    void simStopLosesSource();
    void simStartFindsAircraftAgain();
    void endedRequestIsAskedAgain_data();
    void endedRequestIsAskedAgain();
    void quitClosesAndNextPollReopens_data();
    void quitClosesAndNextPollReopens();
    void silenceWhileFoundLosesSource();
    void destructorClosesConnection();
};

void TestTelemetrySourceMSFS::init()
{
    simulator().reset();
}

void TestTelemetrySourceMSFS::openFailureIsRetriedOnEveryPoll_data()
{
    QTest::addColumn<int>("failures");
    QTest::newRow("simulator running") << 0;
    QTest::newRow("one failure") << 1;
    QTest::newRow("five failures") << 5;
}

void TestTelemetrySourceMSFS::openFailureIsRetriedOnEveryPoll()
{
    QFETCH(int, failures);
    simulator().failNextOpens(failures);
    TelemetrySourceMSFS source;
    SignalLog log(source);

    for (int poll = 1; poll <= failures; ++poll) {
        source.pollTelemetry();
        QCOMPARE(simulator().callsOf(Call::OPEN).size(), poll);
        QVERIFY(!simulator().isOpen());
        // A failed open makes no further call.
        QCOMPARE(simulator().calls.size(), poll);
    }
    source.pollTelemetry();
    source.pollTelemetry();

    QVERIFY(simulator().isOpen());
    QCOMPARE(simulator().callsOf(Call::OPEN).size(), failures + 1);
    for (const Call& open : simulator().callsOf(Call::OPEN)) {
        QCOMPARE(open.name, QByteArray("Torquix"));
        QVERIFY(!open.hasWindow);
        QCOMPARE(open.userMessage, 0u);
        QVERIFY(!open.hasEventHandle);
        QCOMPARE(open.id, 0u);
    }
    QVERIFY(log.order.isEmpty());
}

void TestTelemetrySourceMSFS::openingDefinesRequestsThenSubscribes()
{
    TelemetrySourceMSFS source;
    source.pollTelemetry();

    QStringList functions;
    for (const Call& call : simulator().calls)
        functions << QString::number(call.function);
    QStringList expected;
    expected << QString::number(Call::OPEN);
    for (int i = 0; i < 25; ++i)
        expected << QString::number(Call::ADD_TO_DATA_DEFINITION);
    expected << QString::number(Call::REQUEST_DATA_ON_SIM_OBJECT_TYPE)
             << QString::number(Call::SUBSCRIBE_TO_SYSTEM_EVENT)
             << QString::number(Call::SUBSCRIBE_TO_SYSTEM_EVENT)
             << QString::number(Call::GET_NEXT_DISPATCH);
    QCOMPARE(functions, expected);

    const Call request = simulator().callsOf(Call::REQUEST_DATA_ON_SIM_OBJECT_TYPE).first();
    QCOMPARE(request.id, 0u);
    QCOMPARE(request.definitionId, 0u);
    QCOMPARE(request.radiusMeters, 0u);
    QCOMPARE(request.objectType, quint32(SIMCONNECT_SIMOBJECT_TYPE_USER));

    const QList<Call> subscriptions = simulator().callsOf(Call::SUBSCRIBE_TO_SYSTEM_EVENT);
    QCOMPARE(subscriptions.at(0).id, simStart);
    QCOMPARE(subscriptions.at(0).name, QByteArray("SimStart"));
    QCOMPARE(subscriptions.at(1).id, simStop);
    QCOMPARE(subscriptions.at(1).name, QByteArray("SimStop"));

    for (const Call& call : simulator().calls)
        QVERIFY(call.function == Call::OPEN || call.handle != nullptr);
}

void TestTelemetrySourceMSFS::definitionsFollowTheDataBlock_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("unit");

    const char* const table[][2] = {
        {"SIM ON GROUND", "Bool"},
        {"TRAILING EDGE FLAPS LEFT PERCENT", "percent over 100"},
        {"TRAILING EDGE FLAPS RIGHT PERCENT", "percent over 100"},
        {"AILERON TRIM PCT", "percent over 100"},
        {"ELEVATOR TRIM PCT", "percent over 100"},
        {"RUDDER TRIM PCT", "percent over 100"},
        {"G FORCE", "GForce"},
        {"INCIDENCE ALPHA", "degree"},
        {"AIRSPEED INDICATED", "kilometer per hour"},
        {"GEAR CENTER POSITION", "percent over 100"},
        {"GEAR LEFT POSITION", "percent over 100"},
        {"GEAR RIGHT POSITION", "percent over 100"},
        {"NUMBER OF ENGINES", "Number"},
        {"GENERAL ENG PCT MAX RPM:1", "percent"},
        {"GENERAL ENG PCT MAX RPM:2", "percent"},
        {"GENERAL ENG PCT MAX RPM:3", "percent"},
        {"GENERAL ENG PCT MAX RPM:4", "percent"},
        {"GENERAL ENG RPM:1", "rpm"},
        {"GENERAL ENG RPM:2", "rpm"},
        {"GENERAL ENG RPM:3", "rpm"},
        {"GENERAL ENG RPM:4", "rpm"},
        {"ROTOR RPM:1", "rpm"},
        {"ROTOR RPM:2", "rpm"},
        {"VERTICAL SPEED", "m/s"},
        {"TITLE", nullptr},
    };
    int index = 0;
    for (const auto& row : table) {
        QTest::newRow(row[0]) << index << QByteArray(row[0]) << QByteArray(row[1]);
        ++index;
    }
}

void TestTelemetrySourceMSFS::definitionsFollowTheDataBlock()
{
    QFETCH(int, index);
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, unit);

    TelemetrySourceMSFS source;
    source.pollTelemetry();

    const QList<Call> definitions = simulator().callsOf(Call::ADD_TO_DATA_DEFINITION);
    QCOMPARE(definitions.size(), 25);
    const Call& definition = definitions.at(index);
    QCOMPARE(definition.definitionId, 0u);
    QCOMPARE(definition.name, variable);
    QCOMPARE(definition.epsilon, 0.0f);
    QCOMPARE(definition.datumId, SIMCONNECT_UNUSED);
    if (variable == "TITLE") {
        QVERIFY(!definition.hasUnit);
        QCOMPARE(definition.dataType, quint32(SIMCONNECT_DATATYPE_STRING256));
    } else {
        QVERIFY(definition.hasUnit);
        QCOMPARE(definition.unit, unit);
        QCOMPARE(definition.dataType, quint32(SIMCONNECT_DATATYPE_FLOAT64));
    }
}

void TestTelemetrySourceMSFS::firstDataFindsAircraftByTitle_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QString>("module");

    QTest::newRow("plain") << QByteArray("Cessna 152 Asobo") << QStringLiteral("Cessna 152 Asobo");
    QTest::newRow("utf-8") << QByteArray("Aérospatiale Robin DR400")
                           << QStringLiteral("Aérospatiale Robin DR400");
    QTest::newRow("empty") << QByteArray() << QString();
    // A title that fills its 256 bytes has no terminating zero; it must not run on.
    QTest::newRow("fills the string") << QByteArray(300, 'x') << QString(256, QLatin1Char('x'));
}

void TestTelemetrySourceMSFS::firstDataFindsAircraftByTitle()
{
    QFETCH(QByteArray, title);
    QFETCH(QString, module);

    TelemetrySourceMSFS source;
    SignalLog log(source);
    source.pollTelemetry();
    const int requestsBefore = requestCount();

    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 250.0}}, title));
    source.pollTelemetry();

    QCOMPARE(log.order, QStringList({"found", "module"}));
    QCOMPARE(log.sources, QList<Telemetry::Source>({Telemetry::TELEMETRY_SOURCE_MSFS,
                                                    Telemetry::TELEMETRY_SOURCE_MSFS}));
    QCOMPARE(log.modules, QStringList({module}));
    QCOMPARE(requestCount(), requestsBefore + 1);

    // The next sample is the first one published.
    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 250.0}}, title));
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module", "telemetry"}));
    QCOMPARE(log.records.last().airspeed, 250.0f);
    QCOMPARE(requestCount(), requestsBefore + 2);
}

void TestTelemetrySourceMSFS::dataIsMappedIntoRecord_data()
{
    QTest::addColumn<Variables>("variables");
    QTest::addColumn<Telemetry>("expected");

    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();

    Telemetry flight;
    flight.gForce = 1.5f;
    flight.aoa = 4.25f;
    flight.airspeed = 220.5f;
    flight.verticalSpeed = -2.5f;
    flight.propAirflow = 87;
    flight.engineRpm = 2350;
    flight.aileronTrim = 10.0f;
    flight.elevatorTrim = -25.0f;
    flight.rudderTrim = 50.0f;
    flight.flaps = 30;
    QTest::newRow("single engine in flight")
        << Variables{{"G FORCE", 1.5},
                     {"INCIDENCE ALPHA", 4.25},
                     {"AIRSPEED INDICATED", 220.5},
                     {"VERTICAL SPEED", -2.5},
                     {"NUMBER OF ENGINES", 1},
                     {"GENERAL ENG PCT MAX RPM:1", 87.9},
                     {"GENERAL ENG PCT MAX RPM:2", 50},
                     {"GENERAL ENG RPM:1", 2350.7},
                     {"AILERON TRIM PCT", 0.1},
                     {"ELEVATOR TRIM PCT", -0.25},
                     {"RUDDER TRIM PCT", 0.5},
                     {"TRAILING EDGE FLAPS LEFT PERCENT", 0.2},
                     {"TRAILING EDGE FLAPS RIGHT PERCENT", 0.4}}
        << flight;

    Telemetry sixEngines;
    sixEngines.propAirflow = 25;
    sixEngines.engineRpm = 250;
    QTest::newRow("six engines average the first four")
        << Variables{{"NUMBER OF ENGINES", 6},
                     {"GENERAL ENG PCT MAX RPM:1", 10}, {"GENERAL ENG PCT MAX RPM:2", 20},
                     {"GENERAL ENG PCT MAX RPM:3", 30}, {"GENERAL ENG PCT MAX RPM:4", 40},
                     {"GENERAL ENG RPM:1", 100}, {"GENERAL ENG RPM:2", 200},
                     {"GENERAL ENG RPM:3", 300}, {"GENERAL ENG RPM:4", 400}}
        << sixEngines;

    Telemetry twoEngines;
    twoEngines.propAirflow = 50;
    twoEngines.engineRpm = 1001;
    QTest::newRow("two engines, average truncated")
        << Variables{{"NUMBER OF ENGINES", 2},
                     {"GENERAL ENG PCT MAX RPM:1", 50}, {"GENERAL ENG PCT MAX RPM:2", 51},
                     {"GENERAL ENG PCT MAX RPM:3", 99},
                     {"GENERAL ENG RPM:1", 1001}, {"GENERAL ENG RPM:2", 1002}}
        << twoEngines;

    Telemetry fractionalCount;
    fractionalCount.propAirflow = 15;
    QTest::newRow("engine count truncated")
        << Variables{{"NUMBER OF ENGINES", 2.9},
                     {"GENERAL ENG PCT MAX RPM:1", 10}, {"GENERAL ENG PCT MAX RPM:2", 20},
                     {"GENERAL ENG PCT MAX RPM:3", 90}}
        << fractionalCount;

    const Variables enginesRunning{{"GENERAL ENG PCT MAX RPM:1", 80}, {"GENERAL ENG RPM:1", 2000}};
    Variables noEngines = enginesRunning;
    noEngines.insert("NUMBER OF ENGINES", 0);
    QTest::newRow("no engines") << noEngines << Telemetry();
    Variables negativeEngines = enginesRunning;
    negativeEngines.insert("NUMBER OF ENGINES", -2);
    QTest::newRow("negative engine count") << negativeEngines << Telemetry();
    Variables nanEngines = enginesRunning;
    nanEngines.insert("NUMBER OF ENGINES", nan);
    QTest::newRow("engine count not a number") << nanEngines << Telemetry();

    Telemetry helicopter;
    helicopter.rotorRpm = 395;
    QTest::newRow("first rotor only")
        << Variables{{"ROTOR RPM:1", 395.8}, {"ROTOR RPM:2", 1000}} << helicopter;

    Telemetry landed;
    landed.gear = 100;
    landed.flaps = 100;
    landed.onGround = true;
    landed.aileronTrim = -100.0f;
    QTest::newRow("on ground, gear and flaps down")
        << Variables{{"SIM ON GROUND", 1},
                     {"GEAR CENTER POSITION", 1}, {"GEAR LEFT POSITION", 1},
                     {"GEAR RIGHT POSITION", 1},
                     {"TRAILING EDGE FLAPS LEFT PERCENT", 1},
                     {"TRAILING EDGE FLAPS RIGHT PERCENT", 1},
                     {"AILERON TRIM PCT", -1}}
        << landed;

    Telemetry gearMoving;
    gearMoving.gear = 40;
    QTest::newRow("gear averaged over three legs")
        << Variables{{"GEAR CENTER POSITION", 0.2}, {"GEAR LEFT POSITION", 0.4},
                     {"GEAR RIGHT POSITION", 0.6}}
        << gearMoving;

    QTest::newRow("non-finite values become zero")
        << Variables{{"AIRSPEED INDICATED", nan}, {"G FORCE", inf}, {"INCIDENCE ALPHA", -inf},
                     {"VERTICAL SPEED", nan}, {"GEAR LEFT POSITION", nan},
                     {"TRAILING EDGE FLAPS LEFT PERCENT", inf}, {"AILERON TRIM PCT", nan},
                     {"ROTOR RPM:1", inf}, {"NUMBER OF ENGINES", 1},
                     {"GENERAL ENG RPM:1", nan}, {"GENERAL ENG PCT MAX RPM:1", -inf},
                     {"SIM ON GROUND", nan}}
        << Telemetry();

    Telemetry saturated;
    saturated.airspeed = std::numeric_limits<float>::max();
    saturated.verticalSpeed = std::numeric_limits<float>::lowest();
    saturated.engineRpm = std::numeric_limits<qint32>::max();
    saturated.propAirflow = std::numeric_limits<qint32>::min();
    saturated.rotorRpm = std::numeric_limits<qint32>::max();
    QTest::newRow("values beyond range saturate")
        << Variables{{"AIRSPEED INDICATED", 1e300}, {"VERTICAL SPEED", -1e300},
                     {"NUMBER OF ENGINES", 1}, {"GENERAL ENG RPM:1", 1e12},
                     {"GENERAL ENG PCT MAX RPM:1", -1e12}, {"ROTOR RPM:1", 5e9}}
        << saturated;
}

void TestTelemetrySourceMSFS::dataIsMappedIntoRecord()
{
    QFETCH(Variables, variables);
    QFETCH(Telemetry, expected);

    TelemetrySourceMSFS source;
    SignalLog log(source);
    findAircraft(source);

    simulator().queueAircraft(aircraft(variables));
    source.pollTelemetry();

    QCOMPARE(log.records.size(), 1);
    const Telemetry& record = log.records.first();
    QCOMPARE(record.airspeed, expected.airspeed);
    QCOMPARE(record.verticalSpeed, expected.verticalSpeed);
    QCOMPARE(record.gForce, expected.gForce);
    QCOMPARE(record.aoa, expected.aoa);
    QCOMPARE(record.engineRpm, expected.engineRpm);
    QCOMPARE(record.rotorRpm, expected.rotorRpm);
    QCOMPARE(record.propAirflow, expected.propAirflow);
    QCOMPARE(record.flaps, expected.flaps);
    QCOMPARE(record.gear, expected.gear);
    QCOMPARE(record.aileronTrim, expected.aileronTrim);
    QCOMPARE(record.elevatorTrim, expected.elevatorTrim);
    QCOMPARE(record.rudderTrim, expected.rudderTrim);
    QCOMPARE(record.onGround, expected.onGround);
    QCOMPARE(record.afterburner, 0);
    QCOMPARE(record.airbrake, 0);
    QCOMPARE(record, expected);
}

void TestTelemetrySourceMSFS::dataOfAnotherRequestIsIgnored()
{
    TelemetrySourceMSFS source;
    SignalLog log(source);
    source.pollTelemetry();
    const int requestsBefore = requestCount();

    simulator().queueAircraft(aircraft(), 7);
    source.pollTelemetry();
    QVERIFY(log.order.isEmpty());
    QCOMPARE(requestCount(), requestsBefore);

    simulator().queueAircraft(aircraft());
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module"}));
}

void TestTelemetrySourceMSFS::incompleteDataMessageIsIgnored_data()
{
    QTest::addColumn<int>("bytesMissing");
    QTest::addColumn<bool>("alreadyFound");

    for (const bool found : {false, true}) {
        const char* state = found ? "found" : "not found";
        QTest::addRow("%s, last byte missing", state) << 1 << found;
        QTest::addRow("%s, title missing", state) << 256 << found;
        QTest::addRow("%s, only the header", state) << 448 << found;
    }
}

void TestTelemetrySourceMSFS::incompleteDataMessageIsIgnored()
{
    QFETCH(int, bytesMissing);
    QFETCH(bool, alreadyFound);

    TelemetrySourceMSFS source;
    if (alreadyFound)
        findAircraft(source);
    else
        source.pollTelemetry();
    SignalLog log(source);
    const int requestsBefore = requestCount();

    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 300}}, QByteArray(256, 'x')), 0,
                              bytesMissing);
    source.pollTelemetry();

    QVERIFY(log.order.isEmpty());
    // The sample is asked for again, or the simulator would send no more.
    QCOMPARE(requestCount(), requestsBefore + 1);

    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 300}}));
    source.pollTelemetry();
    QCOMPARE(log.order, alreadyFound ? QStringList({"telemetry"}) : QStringList({"found", "module"}));
}

void TestTelemetrySourceMSFS::otherMessagesChangeNothing_data()
{
    QTest::addColumn<bool>("openMessage");
    QTest::addColumn<quint32>("eventId");

    QTest::newRow("open message") << true << 0u;
    QTest::newRow("unknown event") << false << 5u;
}

void TestTelemetrySourceMSFS::otherMessagesChangeNothing()
{
    QFETCH(bool, openMessage);
    QFETCH(quint32, eventId);

    TelemetrySourceMSFS source;
    findAircraft(source);
    SignalLog log(source);
    const int requestsBefore = requestCount();

    if (openMessage)
        simulator().queueOpen();
    else
        simulator().queueEvent(eventId);
    source.pollTelemetry();

    QVERIFY(log.order.isEmpty());
    QCOMPARE(requestCount(), requestsBefore);
    QVERIFY(simulator().isOpen());
}

void TestTelemetrySourceMSFS::gearAndTouchdownEvents_data()
{
    QTest::addColumn<Variables>("before");
    QTest::addColumn<Variables>("after");
    QTest::addColumn<QStringList>("signalOrder");

    const auto gear = [](double center, double left, double right) {
        return Variables{{"GEAR CENTER POSITION", center},
                         {"GEAR LEFT POSITION", left},
                         {"GEAR RIGHT POSITION", right}};
    };
    const QStringList gearLock{"gearLock", "telemetry"};
    const QStringList touchdown{"touchdown", "telemetry"};
    const QStringList none{"telemetry"};

    QTest::newRow("gear reaches down") << gear(0.5, 0.5, 0.5) << gear(1, 1, 1) << gearLock;
    QTest::newRow("left leg leaves down") << gear(1, 1, 1) << gear(1, 0.98, 1) << gearLock;
    QTest::newRow("gear leaves up") << gear(0, 0, 0) << gear(0.3, 0.3, 0.3) << gearLock;
    QTest::newRow("gear reaches up") << gear(0.4, 0.4, 0.4) << gear(0, 0, 0) << gearLock;
    QTest::newRow("gear travelling") << gear(0.3, 0.3, 0.3) << gear(0.8, 0.8, 0.8) << none;
    QTest::newRow("gear stays down") << gear(1, 1, 1) << gear(1, 1, 1) << none;
    QTest::newRow("gear stays up") << gear(0, 0, 0) << gear(0, 0, 0) << none;
    // Below one percent the stored gear is still 0; the lock has not been left.
    QTest::newRow("gear creeping below one percent")
        << gear(0.004, 0.004, 0.004) << gear(0.006, 0.006, 0.006) << none;

    QTest::newRow("touchdown") << Variables{{"SIM ON GROUND", 0}} << Variables{{"SIM ON GROUND", 1}}
                               << touchdown;
    QTest::newRow("rolling on ground") << Variables{{"SIM ON GROUND", 1}}
                                       << Variables{{"SIM ON GROUND", 1}} << none;
    QTest::newRow("take-off") << Variables{{"SIM ON GROUND", 1}} << Variables{{"SIM ON GROUND", 0}}
                              << none;

    Variables landingGearDown = gear(0.5, 0.5, 0.5);
    landingGearDown.insert("SIM ON GROUND", 0);
    Variables landedGearDown = gear(1, 1, 1);
    landedGearDown.insert("SIM ON GROUND", 1);
    QTest::newRow("touchdown and gear lock in one sample")
        << landingGearDown << landedGearDown << QStringList({"touchdown", "gearLock", "telemetry"});
}

void TestTelemetrySourceMSFS::gearAndTouchdownEvents()
{
    QFETCH(Variables, before);
    QFETCH(Variables, after);
    QFETCH(QStringList, signalOrder);

    TelemetrySourceMSFS source;
    findAircraft(source);
    simulator().queueAircraft(aircraft(before));
    source.pollTelemetry();

    SignalLog log(source);
    simulator().queueAircraft(aircraft(after));
    source.pollTelemetry();
    QCOMPARE(log.order, signalOrder);
}

void TestTelemetrySourceMSFS::touchdownCarriesItsSample()
{
    TelemetrySourceMSFS source;
    findAircraft(source);
    simulator().queueAircraft(
        aircraft({{"SIM ON GROUND", 0}, {"VERTICAL SPEED", -1.0}, {"AIRSPEED INDICATED", 200}}));
    source.pollTelemetry();

    QSignalSpy touchdowns(&source, &TelemetrySource::touchdownDetected);
    simulator().queueAircraft(
        aircraft({{"SIM ON GROUND", 1}, {"VERTICAL SPEED", -3.5}, {"AIRSPEED INDICATED", 180.25}}));
    source.pollTelemetry();

    QCOMPARE(touchdowns.size(), 1);
    QCOMPARE(touchdowns.first().at(0).toFloat(), -3.5f);
    QCOMPARE(touchdowns.first().at(1).toFloat(), 180.25f);
}

void TestTelemetrySourceMSFS::firstSampleAfterDetectionEmitsNoEvents()
{
    const Variables inFlightGearUp{{"SIM ON GROUND", 0}};
    const Variables parkedGearDown{{"SIM ON GROUND", 1},
                                   {"GEAR CENTER POSITION", 1},
                                   {"GEAR LEFT POSITION", 1},
                                   {"GEAR RIGHT POSITION", 1}};

    TelemetrySourceMSFS source;
    SignalLog log(source);
    findAircraft(source);
    simulator().queueAircraft(aircraft(parkedGearDown));
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module", "telemetry"}));
    QVERIFY(log.records.last().onGround);
    QCOMPARE(log.records.last().gear, 100);

    // A new flight spawns in the air with the gear up: no jolt for that either.
    simulator().queueEvent(simStop);
    source.pollTelemetry();
    simulator().queueEvent(simStart);
    source.pollTelemetry();
    simulator().queueAircraft(aircraft(inFlightGearUp));
    source.pollTelemetry();
    simulator().queueAircraft(aircraft(inFlightGearUp));
    source.pollTelemetry();
    simulator().queueAircraft(aircraft(parkedGearDown));
    source.pollTelemetry();

    QCOMPARE(log.order, QStringList({"found", "module", "telemetry", "telemetry", "lost", "found",
                                     "module", "telemetry", "touchdown", "gearLock",
                                     "telemetry"}));
}

void TestTelemetrySourceMSFS::simStopLosesSource_data()
{
    QTest::addColumn<bool>("alreadyFound");
    QTest::newRow("while found") << true;
    QTest::newRow("while not found") << false;
}

void TestTelemetrySourceMSFS::simStopLosesSource()
{
    QFETCH(bool, alreadyFound);

    TelemetrySourceMSFS source;
    if (alreadyFound) {
        findAircraft(source);
        simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 150}}));
        source.pollTelemetry();
    } else {
        source.pollTelemetry();
    }
    SignalLog log(source);

    simulator().queueEvent(simStop);
    source.pollTelemetry();

    QCOMPARE(log.order, QStringList({"telemetry", "lost"}));
    QCOMPARE(log.records.first(), Telemetry());
    // The connection stays open, waiting for the next flight.
    QVERIFY(simulator().isOpen());
    QCOMPARE(simulator().callsOf(Call::CLOSE).size(), 0);

    source.pollTelemetry();
    QCOMPARE(log.order.size(), 2);
}

void TestTelemetrySourceMSFS::simStartFindsAircraftAgain()
{
    TelemetrySourceMSFS source;
    findAircraft(source, aircraft({}, "First"));
    simulator().queueEvent(simStop);
    source.pollTelemetry();
    SignalLog log(source);
    const int requestsBefore = requestCount();

    simulator().queueEvent(simStart);
    source.pollTelemetry();
    QCOMPARE(requestCount(), requestsBefore + 1);
    QVERIFY(log.order.isEmpty());

    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 120}}, "Second"));
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module"}));
    QCOMPARE(log.modules, QStringList({"Second"}));

    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 120}}, "Second"));
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module", "telemetry"}));
    QCOMPARE(log.records.last().airspeed, 120.0f);
}

void TestTelemetrySourceMSFS::endedRequestIsAskedAgain_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("simStarts");          // "SimStart" events after the end
    QTest::addColumn<int>("requestsAtEnd");      // asked while the request ends
    QTest::addColumn<int>("requestsAtSimStart"); // asked by the "SimStart" events
    QTest::addColumn<QStringList>("signalsAtData");

    const QStringList findsAgain{"found", "module"};
    // The running request still brings its sample, which asks for the next one.
    QTest::newRow("none: SimStart while it runs") << "none" << 1 << 0 << 0 << QStringList({"telemetry"});
    QTest::newRow("SimStop, then two SimStarts") << "SimStop" << 2 << 0 << 1 << findsAgain;
    QTest::newRow("exception") << "exception" << 1 << 0 << 1 << QStringList({"telemetry"});
    // The connection is opened again, which asks at once.
    QTest::newRow("quit") << "quit" << 1 << 1 << 0 << findsAgain;
    QTest::newRow("connection closed after silence") << "silence" << 1 << 1 << 0 << findsAgain;
}

void TestTelemetrySourceMSFS::endedRequestIsAskedAgain()
{
    QFETCH(QString, end);
    QFETCH(int, simStarts);
    QFETCH(int, requestsAtEnd);
    QFETCH(int, requestsAtSimStart);
    QFETCH(QStringList, signalsAtData);

    TelemetrySourceMSFS source;
    findAircraft(source);
    const int requestsBefore = requestCount();

    if (end == "SimStop")
        simulator().queueEvent(simStop);
    else if (end == "exception")
        simulator().queueException(1, 42, 0);
    else if (end == "quit")
        simulator().queueQuit();
    else if (end == "silence")
        QTest::qSleep(1100);
    source.pollTelemetry();
    source.pollTelemetry(); // opens again where the connection was closed
    QCOMPARE(requestCount(), requestsBefore + requestsAtEnd);

    for (int i = 0; i < simStarts; ++i) {
        simulator().queueEvent(simStart);
        source.pollTelemetry();
    }
    QCOMPARE(requestCount(), requestsBefore + requestsAtEnd + requestsAtSimStart);

    SignalLog log(source);
    simulator().queueAircraft(aircraft({{"AIRSPEED INDICATED", 150}}, "Again"));
    source.pollTelemetry();
    QCOMPARE(log.order, signalsAtData);
    QCOMPARE(requestCount(), requestsBefore + requestsAtEnd + requestsAtSimStart + 1);
}

void TestTelemetrySourceMSFS::quitClosesAndNextPollReopens_data()
{
    QTest::addColumn<bool>("alreadyFound");
    QTest::newRow("while found") << true;
    QTest::newRow("while not found") << false;
}

void TestTelemetrySourceMSFS::quitClosesAndNextPollReopens()
{
    QFETCH(bool, alreadyFound);

    TelemetrySourceMSFS source;
    if (alreadyFound)
        findAircraft(source);
    else
        source.pollTelemetry();
    SignalLog log(source);
    const SimConnectHandle firstHandle = simulator().callsOf(Call::GET_NEXT_DISPATCH).last().handle;

    simulator().queueQuit();
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"telemetry", "lost"}));
    QCOMPARE(log.records.first(), Telemetry());
    QCOMPARE(simulator().callsOf(Call::CLOSE).size(), 1);
    QCOMPARE(simulator().callsOf(Call::CLOSE).first().handle, firstHandle);
    QVERIFY(!simulator().isOpen());

    // The simulator restarts: the next poll opens, defines, requests and subscribes again.
    source.pollTelemetry();
    QCOMPARE(simulator().callsOf(Call::OPEN).size(), 2);
    QCOMPARE(simulator().callsOf(Call::ADD_TO_DATA_DEFINITION).size(), 50);
    QCOMPARE(simulator().callsOf(Call::SUBSCRIBE_TO_SYSTEM_EVENT).size(), 4);
    QVERIFY(simulator().isOpen());

    simulator().queueAircraft(aircraft({}, "Restarted"));
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"telemetry", "lost", "found", "module"}));
    QCOMPARE(log.modules, QStringList({"Restarted"}));
}

void TestTelemetrySourceMSFS::silenceWhileFoundLosesSource()
{
    TelemetrySourceMSFS source;
    SignalLog log(source);
    findAircraft(source);
    simulator().queueAircraft(aircraft());
    source.pollTelemetry();
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module", "telemetry"}));

    QTest::qSleep(1100);
    source.pollTelemetry();
    QCOMPARE(log.order, QStringList({"found", "module", "telemetry", "telemetry", "lost"}));
    QCOMPARE(log.records.last(), Telemetry());
    QVERIFY(!simulator().isOpen());

    // Not found, nothing more is reported however long the silence lasts.
    source.pollTelemetry();
    QVERIFY(simulator().isOpen());
    QTest::qSleep(1100);
    source.pollTelemetry();
    QCOMPARE(log.order.size(), 5);

    simulator().queueAircraft(aircraft());
    source.pollTelemetry();
    QCOMPARE(log.order.mid(5), QStringList({"found", "module"}));
}

void TestTelemetrySourceMSFS::destructorClosesConnection()
{
    {
        TelemetrySourceMSFS neverOpened;
    }
    QCOMPARE(simulator().callsOf(Call::CLOSE).size(), 0);

    {
        TelemetrySourceMSFS source;
        source.pollTelemetry();
    }
    QCOMPARE(simulator().callsOf(Call::CLOSE).size(), 1);
    QVERIFY(!simulator().isOpen());
}

QTEST_GUILESS_MAIN(TestTelemetrySourceMSFS)
#include "tst_telemetrysourcemsfs.moc"
