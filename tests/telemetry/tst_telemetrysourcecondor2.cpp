#include "loopbacksource.h"
#include "telemetrysourcecondor2.h"
#include "telemetrysourcexplane.h"

#include <QSignalSpy>
#include <QTest>

class TestTelemetrySourceCondor2 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void condorLinesFillTheRecord_data();
    void condorLinesFillTheRecord();
    void xPlaneDatagramsOnlyKeepTheSourceFound();
};

void TestTelemetrySourceCondor2::initTestCase()
{
    Telemetry::registerMetaTypes();
}

void TestTelemetrySourceCondor2::condorLinesFillTheRecord_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<float>("airspeed");
    QTest::addColumn<float>("gForce");
    QTest::addColumn<int>("shakeMagnitude");

    // Each row follows a first datagram that set airspeed 10, gforce 1 and turb 0.05.
    QTest::newRow("three lines") << QByteArray("airspeed=25\ngforce=1.5\nturb=0.37\n") << 90.0f << 1.5f << 37;
    QTest::newRow("other lines ignored")
        << QByteArray("time=12.5\naltitude=1000\r\nairspeed=20\r\nvario=1.2\n") << 72.0f << 1.0f << 5;
    QTest::newRow("blank before key skips the line") << QByteArray(" airspeed=25\ngforce=2") << 36.0f << 2.0f << 5;
    QTest::newRow("key is a prefix") << QByteArray("airspeedx=25\nturbulence=0.2") << 90.0f << 1.0f << 20;
    QTest::newRow("case-sensitive keys") << QByteArray("Airspeed=25\nGFORCE=3") << 36.0f << 1.0f << 5;
    QTest::newRow("no equals sign leaves the field") << QByteArray("airspeed 25\ngforce") << 36.0f << 1.0f << 5;
    QTest::newRow("not a number gives 0") << QByteArray("airspeed=fast\nturb=") << 0.0f << 1.0f << 0;
    QTest::newRow("nan and inf texts give 0")
        << QByteArray("airspeed=nan\ngforce=inf\nturb=-inf") << 0.0f << 0.0f << 0;
    QTest::newRow("out of range saturates")
        << QByteArray("airspeed=1e300\ngforce=-1e300") << std::numeric_limits<float>::max()
        << std::numeric_limits<float>::lowest() << 5;
    QTest::newRow("no key at all") << QByteArray("hello") << 36.0f << 1.0f << 5;
}

void TestTelemetrySourceCondor2::condorLinesFillTheRecord()
{
    QFETCH(QByteArray, datagram);
    QFETCH(float, airspeed);
    QFETCH(float, gForce);
    QFETCH(int, shakeMagnitude);
    LoopbackSource<TelemetrySourceCondor2> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect("airspeed=0");
    fixture.deliver("airspeed=10\ngforce=1\nturb=0.05");
    fixture.deliver(datagram);
    QCOMPARE(changed.count(), 2);
    Telemetry expected;
    expected.airspeed = airspeed;
    expected.gForce = gForce;
    expected.shakeMagnitude = shakeMagnitude;
    QCOMPARE(lastRecord(changed), expected);
}

void TestTelemetrySourceCondor2::xPlaneDatagramsOnlyKeepTheSourceFound()
{
    LoopbackSource<TelemetrySourceXPlane> fixture;
    QSignalSpy found(&fixture.source, &TelemetrySource::telemetrySourceFound);
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.deliver(QByteArray("DATA*\0\0\0\x03\0\0\0", 13));
    QCOMPARE(found.count(), 1);
    QCOMPARE(changed.count(), 0);
    fixture.now = 900;
    fixture.deliver(QByteArray("DATA*\x01\x02\x03\x04", 9));
    fixture.now = 1800;
    fixture.deliver(QByteArray("DATA*\x05", 6));
    QCOMPARE(found.count(), 1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(lastRecord(changed), Telemetry());
    QCOMPARE(fixture.log.take(), QStringList({"found", "module", "telemetry", "telemetry"}));
}

QTEST_GUILESS_MAIN(TestTelemetrySourceCondor2)
#include "tst_telemetrysourcecondor2.moc"
