#include "loopbacksource.h"
#include "telemetrysourcecondor2.h"
#include "telemetrysourcedcs.h"
#include "telemetrysourceshturmovik.h"
#include "telemetrysourcexplane.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {
QByteArray condorAirspeed(int metresPerSecond)
{
    return "airspeed=" + QByteArray::number(metresPerSecond) + "\n";
}

// Runs one source of the given kind through detection and reports what it said.
struct Detection {
    QStringList order;
    Telemetry::Source foundSource = Telemetry::TELEMETRY_SOURCE_NONE;
    Telemetry::Source moduleSource = Telemetry::TELEMETRY_SOURCE_NONE;
    QString module;
};

template <class Source>
Detection detectWith(const QByteArray& datagram)
{
    LoopbackSource<Source> fixture;
    QSignalSpy found(&fixture.source, &TelemetrySource::telemetrySourceFound);
    QSignalSpy module(&fixture.source, &TelemetrySource::flightModuleChanged);
    fixture.deliver(datagram);
    Detection result;
    result.order = fixture.log.take();
    if (found.count() == 1)
        result.foundSource = found.at(0).at(0).value<Telemetry::Source>();
    if (module.count() == 1) {
        result.moduleSource = module.at(0).at(0).value<Telemetry::Source>();
        result.module = module.at(0).at(1).toString();
    }
    return result;
}
}

class TestTelemetrySourceUdp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void firstDatagramOnlyDetects_data();
    void firstDatagramOnlyDetects();
    void queuedDatagramsPublishOnlyTheNewest();
    void zeroLengthDatagramDoesNotFindTheSource();
    void zeroLengthDatagramIsNotTakenAsNewest();
    void zeroLengthDatagramDoesNotRestartTheSilenceTimer();
    void silenceAfterOneSecondLosesSourceOnce();
    void sourceIsFoundAgainAfterLoss();
    void onePollDrainsAtMost256Datagrams();
    void socketIsBoundToLoopbackOnly();
    void portZeroBindsNothing();
    void failedBindIsLoggedAndNeverFinds();
};

void TestTelemetrySourceUdp::initTestCase()
{
    Telemetry::registerMetaTypes();
}

void TestTelemetrySourceUdp::firstDatagramOnlyDetects_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<Telemetry::Source>("source");
    QTest::addColumn<QString>("module");
    QTest::newRow("DCS") << 0 << QByteArray(R"({"name":"F-16C_50","speed":300})")
                         << Telemetry::TELEMETRY_SOURCE_DCS << "F-16C_50";
    QTest::newRow("DCS without name") << 0 << QByteArray("not json")
                                      << Telemetry::TELEMETRY_SOURCE_DCS << "N/A";
    QTest::newRow("IL-2") << 1 << QByteArray(20, '\1') << Telemetry::TELEMETRY_SOURCE_IL2 << "Generic warbird";
    QTest::newRow("Condor 2") << 2 << condorAirspeed(30) << Telemetry::TELEMETRY_SOURCE_CONDOR << "Generic glider";
    QTest::newRow("X-Plane") << 3 << QByteArray("DATA*") << Telemetry::TELEMETRY_SOURCE_X_PLANE
                             << "Generic X-Plane plane";
}

void TestTelemetrySourceUdp::firstDatagramOnlyDetects()
{
    QFETCH(int, kind);
    QFETCH(QByteArray, datagram);
    QFETCH(Telemetry::Source, source);
    QFETCH(QString, module);
    Detection detection;
    switch (kind) {
    case 0: detection = detectWith<TelemetrySourceDCS>(datagram); break;
    case 1: detection = detectWith<TelemetrySourceShturmovik>(datagram); break;
    case 2: detection = detectWith<TelemetrySourceCondor2>(datagram); break;
    default: detection = detectWith<TelemetrySourceXPlane>(datagram); break;
    }
    QCOMPARE(detection.order, QStringList({"found", "module"}));
    QCOMPARE(detection.foundSource, source);
    QCOMPARE(detection.moduleSource, source);
    QCOMPARE(detection.module, module);
}

void TestTelemetrySourceUdp::queuedDatagramsPublishOnlyTheNewest()
{
    LoopbackSource<TelemetrySourceCondor2> fixture;
    fixture.detect(condorAirspeed(1));
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.send(condorAirspeed(10));
    fixture.send(condorAirspeed(20));
    fixture.send(condorAirspeed(30));
    QVERIFY(fixture.waitUntilQueued(3));
    fixture.source.pollTelemetry();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<Telemetry>().airspeed, 108.0f);
}

void TestTelemetrySourceUdp::zeroLengthDatagramDoesNotFindTheSource()
{
    LoopbackSource<TelemetrySourceXPlane> fixture;
    fixture.deliver(QByteArray());
    QCOMPARE(fixture.log.take(), QStringList());
    fixture.source.pollTelemetry();
    QCOMPARE(fixture.log.take(), QStringList());
}

void TestTelemetrySourceUdp::zeroLengthDatagramIsNotTakenAsNewest()
{
    LoopbackSource<TelemetrySourceCondor2> fixture;
    fixture.detect(condorAirspeed(1));
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.send(condorAirspeed(10));
    fixture.send(QByteArray());
    QVERIFY(fixture.waitUntilQueued(2));
    fixture.source.pollTelemetry();
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<Telemetry>().airspeed, 36.0f);
}

void TestTelemetrySourceUdp::zeroLengthDatagramDoesNotRestartTheSilenceTimer()
{
    LoopbackSource<TelemetrySourceXPlane> fixture;
    fixture.detect("x");
    fixture.now = 600;
    fixture.deliver(QByteArray());
    QCOMPARE(fixture.log.take(), QStringList());
    fixture.now = 1001;
    // A poll that reads only an empty datagram still applies the silence rule.
    fixture.deliver(QByteArray());
    QCOMPARE(fixture.log.take(), QStringList({"telemetry", "lost"}));
}

void TestTelemetrySourceUdp::silenceAfterOneSecondLosesSourceOnce()
{
    LoopbackSource<TelemetrySourceCondor2> fixture;
    fixture.detect(condorAirspeed(1));
    fixture.now = 100;
    fixture.deliver(condorAirspeed(25));
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));

    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.now = 1100;
    fixture.source.pollTelemetry();
    QCOMPARE(fixture.log.take(), QStringList());

    fixture.now = 1101;
    fixture.source.pollTelemetry();
    QCOMPARE(fixture.log.take(), QStringList({"telemetry", "lost"}));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<Telemetry>(), Telemetry());

    fixture.now = 5000;
    fixture.source.pollTelemetry();
    fixture.source.pollTelemetry();
    QCOMPARE(fixture.log.take(), QStringList());
}

void TestTelemetrySourceUdp::sourceIsFoundAgainAfterLoss()
{
    LoopbackSource<TelemetrySourceCondor2> fixture;
    fixture.detect(condorAirspeed(1));
    fixture.now = 2000;
    fixture.source.pollTelemetry();
    QCOMPARE(fixture.log.take(), QStringList({"telemetry", "lost"}));

    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.deliver(condorAirspeed(10));
    QCOMPARE(fixture.log.take(), QStringList({"found", "module"}));
    fixture.deliver(condorAirspeed(20));
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.at(0).at(0).value<Telemetry>().airspeed, 72.0f);
}

void TestTelemetrySourceUdp::onePollDrainsAtMost256Datagrams()
{
    LoopbackSource<TelemetrySourceCondor2> fixture;
    fixture.source.socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 << 20);
    fixture.detect(condorAirspeed(1));
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    constexpr int sent = 300;
    for (int i = 1; i <= sent; ++i)
        fixture.send(condorAirspeed(i));
    QVERIFY2(fixture.waitUntilQueued(sent), QByteArray::number(fixture.queuedDatagrams()));

    fixture.source.pollTelemetry();
    QCOMPARE(changed.count(), 1);
    // The first poll stops after 256 reads and leaves the rest queued.
    const float firstAirspeed = changed.at(0).at(0).value<Telemetry>().airspeed;
    QVERIFY(firstAirspeed <= 256 * 3.6f + 0.01f);
    QVERIFY(fixture.source.socket->hasPendingDatagrams());

    fixture.source.pollTelemetry();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).value<Telemetry>().airspeed, sent * 3.6f);
    QVERIFY(!fixture.source.socket->hasPendingDatagrams());
}

void TestTelemetrySourceUdp::socketIsBoundToLoopbackOnly()
{
    const quint16 port = freeLoopbackPort();
    TestableSource<TelemetrySourceXPlane> source(nullptr, port);
    QCOMPARE(source.socket->state(), QAbstractSocket::BoundState);
    QCOMPARE(source.socket->localAddress(), QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(source.socket->localPort(), port);
}

void TestTelemetrySourceUdp::portZeroBindsNothing()
{
    TestableSource<TelemetrySourceXPlane> source;
    QCOMPARE(source.socket->state(), QAbstractSocket::UnconnectedState);
    SignalLog log(&source);
    source.pollTelemetry();
    QCOMPARE(log.take(), QStringList());
}

void TestTelemetrySourceUdp::failedBindIsLoggedAndNeverFinds()
{
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
    const quint16 port = holder.localPort();
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot bind UDP port " + QString::number(port)));
    TestableSource<TelemetrySourceXPlane> source(nullptr, port);
    QVERIFY(source.socket->state() != QAbstractSocket::BoundState);
    SignalLog log(&source);
    QUdpSocket sender;
    sender.writeDatagram("x", QHostAddress::LocalHost, port);
    source.pollTelemetry();
    QCOMPARE(log.take(), QStringList());
}

QTEST_GUILESS_MAIN(TestTelemetrySourceUdp)
#include "tst_telemetrysourceudp.moc"
