#include "il2datagram.h"
#include "loopbacksource.h"
#include "telemetrysourceshturmovik.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <limits>

namespace {
// Detected and past the first parsed sample, airborne.
void startAirborne(LoopbackSource<TelemetrySourceShturmovik>& fixture)
{
    fixture.detect(Il2Datagram().indicator(5, {0.0f}).bytes());
    fixture.deliver(Il2Datagram().indicator(5, {0.0f}).bytes());
    fixture.log.take();
}

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
}

class TestTelemetrySourceShturmovik : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void indicatorsGiveRecordValues_data();
    void indicatorsGiveRecordValues();
    void datagramWithoutRecordsKeepsTheRecord_data();
    void datagramWithoutRecordsKeepsTheRecord();
    void malformedRecordsStopTheWalkKeepingWhatWasStored_data();
    void malformedRecordsStopTheWalkKeepingWhatWasStored();
    void moreThanFourValuesKeepFourAndWalkOn();
    void indicatorsNotCarriedKeepTheirValues();
    void touchdownWhenWheelsTakeLoad();
    void firstSampleOnGroundIsNoTouchdown();
    void verticalSpeedSettlesAtTheSumOfTheRing();
    void firstSampleSeedsVerticalSpeedAtAltitude();
};

void TestTelemetrySourceShturmovik::initTestCase()
{
    Telemetry::registerMetaTypes();
}

void TestTelemetrySourceShturmovik::indicatorsGiveRecordValues_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<Telemetry>("expected");

    Telemetry flying;
    flying.airspeed = 360.0f;
    flying.aoa = 5.72958f;
    flying.gForce = 2.0f;
    flying.engineRpm = 2500;
    flying.propAirflow = 91;
    flying.gear = 50;
    flying.flaps = 29;
    flying.airbrake = 100;
    flying.shakeFrequency = 12;
    flying.shakeMagnitude = 40;
    QTest::newRow("full datagram") << Il2Datagram()
        .indicator(0, {2000.0f, 2500.0f})
        .indicator(1, {150000.0f, 150000.0f})
        .indicator(2, {1.0f})
        .indicator(4, {0.0f, 1.0f})
        .indicator(5, {0.0f, 0.0f})
        .indicator(6, {100.0f})
        .indicator(7, {0.1f})
        .indicator(8, {0.0f, 19.62f, 0.0f})
        .indicator(9, {12.7f, 0.1f})
        .indicator(11, {0.29f})
        .indicator(12, {1.0f})
        .indicator(99, {5.0f})
        .bytes() << flying;

    Telemetry capped;
    capped.engineRpm = 3000;
    capped.propAirflow = 100;
    QTest::newRow("power estimate caps at 100") << Il2Datagram()
        .indicator(0, {3000.0f})
        .indicator(1, {1e9f})
        .bytes() << capped;

    Telemetry nanSafe;
    nanSafe.engineRpm = 1800;
    QTest::newRow("NaN engine speed never wins") << Il2Datagram()
        .indicator(0, {notANumber, 1800.0f})
        .bytes() << nanSafe;

    // The fastest engine is infinite, and a non-finite value becomes 0.
    QTest::newRow("infinite engine speed gives 0") << Il2Datagram()
        .indicator(0, {1800.0f, infinity})
        .bytes() << Telemetry();

    QTest::newRow("non-finite values become 0") << Il2Datagram()
        .indicator(0, {notANumber, 0.0f, infinity})
        .indicator(1, {1.0f, 1.0f, 1.0f})
        .indicator(6, {infinity})
        .indicator(7, {notANumber})
        .indicator(8, {0.0f, notANumber, 0.0f})
        .indicator(9, {infinity, notANumber})
        .indicator(11, {1e30f})
        .bytes() << [] { Telemetry t; t.flaps = std::numeric_limits<qint32>::max(); return t; }();

    Telemetry stopped;
    QTest::newRow("no engines") << Il2Datagram().rawIndicator(0, 0, {}).bytes() << stopped;
}

void TestTelemetrySourceShturmovik::indicatorsGiveRecordValues()
{
    QFETCH(QByteArray, datagram);
    QFETCH(Telemetry, expected);
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(datagram);
    fixture.deliver(datagram);
    QCOMPARE(changed.count(), 1);
    const Telemetry record = lastRecord(changed);
    QCOMPARE(record.airspeed, expected.airspeed);
    QVERIFY(std::abs(record.aoa - expected.aoa) < 1e-3f);
    QCOMPARE(record.gForce, expected.gForce);
    QCOMPARE(record.engineRpm, expected.engineRpm);
    QCOMPARE(record.propAirflow, expected.propAirflow);
    QCOMPARE(record.gear, expected.gear);
    QCOMPARE(record.flaps, expected.flaps);
    QCOMPARE(record.airbrake, expected.airbrake);
    QCOMPARE(record.shakeFrequency, expected.shakeFrequency);
    QCOMPARE(record.shakeMagnitude, expected.shakeMagnitude);
    QCOMPARE(record.verticalSpeed, 0.0f);
    QCOMPARE(record.onGround, false);
    QCOMPARE(record.rotorRpm, 0);
    QCOMPARE(record.afterburner, 0);
}

void TestTelemetrySourceShturmovik::datagramWithoutRecordsKeepsTheRecord_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::newRow("count 0") << Il2Datagram().bytes();
    QTest::newRow("negative count") << Il2Datagram().indicator(6, {10.0f}).declaredRecords(-1).bytes();
    QTest::newRow("header only") << QByteArray(10, '\7');
    QTest::newRow("one byte") << QByteArray(1, '\7');
}

void TestTelemetrySourceShturmovik::datagramWithoutRecordsKeepsTheRecord()
{
    QFETCH(QByteArray, datagram);
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    const QByteArray flying = Il2Datagram().indicator(6, {100.0f}).bytes();
    fixture.detect(flying);
    fixture.deliver(flying);
    fixture.deliver(datagram);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(lastRecord(changed).airspeed, 360.0f);
}

void TestTelemetrySourceShturmovik::malformedRecordsStopTheWalkKeepingWhatWasStored_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::newRow("negative value count") << Il2Datagram()
        .indicator(6, {50.0f}).rawIndicator(11, -2, {0.5f}).indicator(12, {1.0f}).bytes();
    QTest::newRow("record runs past the end") << Il2Datagram()
        .indicator(6, {50.0f}).rawIndicator(11, 100, {0.5f}).bytes();
    QTest::newRow("more records declared than present") << Il2Datagram()
        .indicator(6, {50.0f}).declaredRecords(120).bytes();
    QByteArray cut = Il2Datagram().indicator(6, {50.0f}).indicator(11, {0.5f}).bytes();
    cut.chop(1);
    QTest::newRow("last record cut short") << cut;
    QTest::newRow("record header cut short") << Il2Datagram().indicator(6, {50.0f}).bytes() + QByteArray(2, '\0');
}

void TestTelemetrySourceShturmovik::malformedRecordsStopTheWalkKeepingWhatWasStored()
{
    QFETCH(QByteArray, datagram);
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(datagram);
    fixture.deliver(datagram);
    QCOMPARE(changed.count(), 1);
    const Telemetry record = lastRecord(changed);
    QCOMPARE(record.airspeed, 180.0f);
    QCOMPARE(record.flaps, 0);
    QCOMPARE(record.airbrake, 0);
}

void TestTelemetrySourceShturmovik::moreThanFourValuesKeepFourAndWalkOn()
{
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    const QByteArray datagram = Il2Datagram()
        .indicator(0, {1000.0f, 1100.0f, 1200.0f, 1300.0f, 9000.0f, 9500.0f})
        .indicator(6, {10.0f})
        .bytes();
    fixture.detect(datagram);
    fixture.deliver(datagram);
    const Telemetry record = lastRecord(changed);
    QCOMPARE(record.engineRpm, 1300);
    QCOMPARE(record.airspeed, 36.0f);
}

void TestTelemetrySourceShturmovik::indicatorsNotCarriedKeepTheirValues()
{
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(Il2Datagram().indicator(6, {1.0f}).bytes());
    fixture.deliver(Il2Datagram().indicator(6, {100.0f}).indicator(11, {0.5f}).bytes());
    fixture.deliver(Il2Datagram().indicator(11, {0.25f}).bytes());
    QCOMPARE(lastRecord(changed).airspeed, 360.0f);
    QCOMPARE(lastRecord(changed).flaps, 25);
}

void TestTelemetrySourceShturmovik::touchdownWhenWheelsTakeLoad()
{
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    startAirborne(fixture);
    QSignalSpy touchdown(&fixture.source, &TelemetrySource::touchdownDetected);
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.deliver(Il2Datagram().indicator(5, {0.005f, 0.02f}).indicator(6, {50.0f}).bytes());
    QCOMPARE(fixture.log.take(), QStringList({"touchdown", "telemetry"}));
    QCOMPARE(touchdown.at(0).at(1).toFloat(), 180.0f);
    QVERIFY(lastRecord(changed).onGround);
    fixture.deliver(Il2Datagram().indicator(5, {0.5f, 0.5f}).bytes());
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
    // Light wheels are not weight on wheels.
    fixture.deliver(Il2Datagram().indicator(5, {0.01f, 0.01f}).bytes());
    QVERIFY(!lastRecord(changed).onGround);
}

void TestTelemetrySourceShturmovik::firstSampleOnGroundIsNoTouchdown()
{
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    const QByteArray parked = Il2Datagram().indicator(5, {0.8f, 0.8f, 0.3f}).bytes();
    fixture.detect(parked);
    fixture.deliver(parked);
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));

    // Also after a loss: the spawn on the next flight is no landing either.
    fixture.deliver(Il2Datagram().indicator(5, {0.0f}).bytes());
    fixture.now = 5000;
    fixture.source.pollTelemetry();
    fixture.detect(parked);
    fixture.deliver(parked);
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
}

void TestTelemetrySourceShturmovik::verticalSpeedSettlesAtTheSumOfTheRing()
{
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(Il2Datagram().indicator(10, {0.0f}).bytes());
    for (int i = 1; i <= 30; ++i)
        fixture.deliver(Il2Datagram().indicator(10, {float(i)}).bytes());
    QCOMPARE(lastRecord(changed).verticalSpeed, 25.0f);
    fixture.deliver(Il2Datagram().indicator(10, {31.0f}).bytes());
    QCOMPARE(lastRecord(changed).verticalSpeed, 25.0f);
}

void TestTelemetrySourceShturmovik::firstSampleSeedsVerticalSpeedAtAltitude()
{
    LoopbackSource<TelemetrySourceShturmovik> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(Il2Datagram().indicator(10, {3000.0f}).bytes());
    fixture.deliver(Il2Datagram().indicator(10, {3000.0f}).bytes());
    QCOMPARE(lastRecord(changed).verticalSpeed, 0.0f);
    fixture.deliver(Il2Datagram().indicator(10, {3002.0f}).bytes());
    QCOMPARE(lastRecord(changed).verticalSpeed, 2.0f);

    // After a loss the old climb is forgotten and the new altitude is the reference.
    fixture.now = 5000;
    fixture.source.pollTelemetry();
    fixture.detect(Il2Datagram().indicator(10, {500.0f}).bytes());
    fixture.deliver(Il2Datagram().indicator(10, {500.0f}).bytes());
    QCOMPARE(lastRecord(changed).verticalSpeed, 0.0f);
}

QTEST_GUILESS_MAIN(TestTelemetrySourceShturmovik)
#include "tst_telemetrysourceshturmovik.moc"
