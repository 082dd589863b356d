#include "workerfixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace BaseEmulator;

class TestDeviceLink : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void startRunsTheFourTimersAtTheirPace();
    void withoutBasesEveryPollReportsFourZeroStates();
    void servedBasesAreOpenedAndReportedWithTheirFirmware();
    void positionsAndTrimsAreSignExtendedPerEffectAxis_data();
    void positionsAndTrimsAreSignExtendedPerEffectAxis();
    void onlyInterfaceZeroIsOpened();
    void baseWhoseFirstReadFailsIsClosedUnreported();
    void baseWhoseSecondReadFailsIsDroppedAtOnce();
    void unpluggedBaseIsDroppedAfter500FailedReadsAndFoundAgain();
    void failedOpenIsRetriedEvery501Polls();
    void timedOutReadGivesZeroPositionsForThatPoll();
    void writeFailuresDoNotDropABaseThatStillAnswers();
};

void TestDeviceLink::init()
{
    reset();
    setReadTimeoutWait(0);
}

void TestDeviceLink::startRunsTheFourTimersAtTheirPace()
{
    auto worker = makeWorker();
    const QList<QTimer*> timers = worker->findChildren<QTimer*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(timers.size(), 4);
    for (QTimer* timer : timers)
        QVERIFY(!timer->isActive());

    worker->start();
    // Telemetry, trim and positions repeat at their pace.
    const int intervals[] = {20, 20, 10};
    for (int i = 1; i < 4; ++i) {
        QVERIFY(timers[i]->isActive());
        QVERIFY(!timers[i]->isSingleShot());
        QCOMPARE(timers[i]->interval(), intervals[i - 1]);
    }
    // The force timer is set anew for each 2 ms deadline, a little ahead of it; a
    // coarse one would lag on Windows.
    QVERIFY(timers[0]->isActive());
    QVERIFY(timers[0]->isSingleShot());
    QVERIFY(timers[0]->interval() < 2);
    QCOMPARE(timers[0]->timerType(), Qt::PreciseTimer);

    worker->stop();
    for (QTimer* timer : timers)
        QVERIFY(!timer->isActive());
}

void TestDeviceLink::withoutBasesEveryPollReportsFourZeroStates()
{
    auto worker = makeWorker();
    QSignalSpy states(worker.get(), &DirectControlThread::inputStateChanged);
    invoke(worker.get(), "updateDevicePositions");
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(states.count(), 8);
    for (int i = 0; i < states.count(); ++i)
        QCOMPARE(states.at(i), QVariantList({i % 4, 0, 0}));
}

void TestDeviceLink::servedBasesAreOpenedAndReportedWithTheirFirmware()
{
    addBase(PRODUCT_ID_GENERIC);
    addBase(PRODUCT_ID_WHEEL);
    addBase(PRODUCT_ID_COLLECTIVE, {0, 24, 3, 1});
    addBase(PRODUCT_ID_RUDDER, {1, 23, 9, 0});
    addBase(PRODUCT_ID_JOYSTICK, {1, 24, 1, 2});
    auto worker = makeWorker();
    QSignalSpy connected(worker.get(), &DirectControlThread::deviceConnected);

    invoke(worker.get(), "updateDevicePositions");
    invoke(worker.get(), "updateDevicePositions");

    QCOMPARE(connected.count(), 3);
    const DeviceTypeEnum types[] = {DEVICE_TYPE_JOYSTICK, DEVICE_TYPE_RUDDER,
                                    DEVICE_TYPE_COLLECTIVE};
    const FirmwareVersionTypeDef versions[] = {{1, 24, 1, 2}, {1, 23, 9, 0}, {0, 24, 3, 1}};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(connected.at(i).at(0).value<DeviceTypeEnum>(), types[i]);
        QVERIFY(connected.at(i).at(1).value<FirmwareVersionTypeDef>() == versions[i]);
    }
    QCOMPARE(openHandleCount(PRODUCT_ID_GENERIC), 0);
    QCOMPARE(openHandleCount(PRODUCT_ID_WHEEL), 0);
    QCOMPARE(openHandleCount(PRODUCT_ID_JOYSTICK), 1);
}

void TestDeviceLink::positionsAndTrimsAreSignExtendedPerEffectAxis_data()
{
    QTest::addColumn<int>("productId");
    QTest::addColumn<int>("deviceAxis");
    QTest::addColumn<int>("effectAxis");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("trim");

    QTest::newRow("joystick axis 0 is ailerons") << PRODUCT_ID_JOYSTICK << 0 << 0 << -1234 << 56;
    QTest::newRow("joystick axis 1 is elevator") << PRODUCT_ID_JOYSTICK << 1 << 1 << 2345 << -7;
    QTest::newRow("rudder extremes") << PRODUCT_ID_RUDDER << 0 << 2 << -32768 << 32767;
    QTest::newRow("collective") << PRODUCT_ID_COLLECTIVE << 0 << 3 << 10000 << -10000;
}

void TestDeviceLink::positionsAndTrimsAreSignExtendedPerEffectAxis()
{
    QFETCH(int, productId);
    QFETCH(int, deviceAxis);
    QFETCH(int, effectAxis);
    QFETCH(int, position);
    QFETCH(int, trim);
    addBase(PRODUCT_ID_JOYSTICK);
    addBase(PRODUCT_ID_RUDDER);
    addBase(PRODUCT_ID_COLLECTIVE);
    setPosition(productId, deviceAxis, int16_t(position));
    setAxisTrim(productId, deviceAxis, int16_t(trim));
    auto worker = makeWorker();
    invoke(worker.get(), "updateDevicePositions"); // connects; this poll's states stay zero

    QSignalSpy states(worker.get(), &DirectControlThread::inputStateChanged);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(states.count(), 4);
    for (int axis = 0; axis < 4; ++axis) {
        const QVariantList expected = axis == effectAxis ? QVariantList({axis, position, trim})
                                                         : QVariantList({axis, 0, 0});
        QCOMPARE(states.at(axis), expected);
    }
}

void TestDeviceLink::onlyInterfaceZeroIsOpened()
{
    // Interface 1 never sends a state report, so taking it would never connect.
    addBase(PRODUCT_ID_RUDDER, {0, 24, 1, 0}, {1, 0});
    setPosition(PRODUCT_ID_RUDDER, 0, 321);
    auto worker = makeWorker();
    QSignalSpy connected(worker.get(), &DirectControlThread::deviceConnected);
    QSignalSpy states(worker.get(), &DirectControlThread::inputStateChanged);
    invoke(worker.get(), "updateDevicePositions");
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(connected.count(), 1);
    QCOMPARE(states.at(6), QVariantList({2, 321, 0}));
}

void TestDeviceLink::baseWhoseFirstReadFailsIsClosedUnreported()
{
    addBase(PRODUCT_ID_JOYSTICK);
    failReads(PRODUCT_ID_JOYSTICK, 1);
    auto worker = makeWorker();
    QSignalSpy connected(worker.get(), &DirectControlThread::deviceConnected);
    QSignalSpy disconnected(worker.get(), &DirectControlThread::deviceDisconnected);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(connected.count(), 0);
    QCOMPARE(disconnected.count(), 0);
    QCOMPARE(openHandleCount(PRODUCT_ID_JOYSTICK), 0);
}

void TestDeviceLink::baseWhoseSecondReadFailsIsDroppedAtOnce()
{
    addBase(PRODUCT_ID_COLLECTIVE);
    auto worker = makeWorker();
    QSignalSpy disconnected(worker.get(), &DirectControlThread::deviceDisconnected);
    invoke(worker.get(), "updateDevicePositions");
    failReads(PRODUCT_ID_COLLECTIVE, 1);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(disconnected.count(), 1);
    QCOMPARE(disconnected.at(0).at(0).value<DeviceTypeEnum>(), DEVICE_TYPE_COLLECTIVE);
    QCOMPARE(openHandleCount(PRODUCT_ID_COLLECTIVE), 0);
}

void TestDeviceLink::unpluggedBaseIsDroppedAfter500FailedReadsAndFoundAgain()
{
    addBase(PRODUCT_ID_JOYSTICK, {0, 24, 2, 0});
    auto worker = makeWorker();
    QSignalSpy connected(worker.get(), &DirectControlThread::deviceConnected);
    QSignalSpy disconnected(worker.get(), &DirectControlThread::deviceDisconnected);
    invoke(worker.get(), "updateDevicePositions");
    invoke(worker.get(), "updateDevicePositions"); // a good read: 500 more may fail
    QCOMPARE(connected.count(), 1);

    unplugBase(PRODUCT_ID_JOYSTICK);
    for (int poll = 0; poll < 499; ++poll)
        invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(disconnected.count(), 0);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(disconnected.count(), 1);
    QCOMPARE(openHandleCount(PRODUCT_ID_JOYSTICK), 0);

    plugBase(PRODUCT_ID_JOYSTICK);
    for (int poll = 0; poll < 500; ++poll)
        invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(connected.count(), 1);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(connected.count(), 2);
    QVERIFY(connected.at(1).at(1).value<FirmwareVersionTypeDef>()
            == FirmwareVersionTypeDef({0, 24, 2, 0}));
}

void TestDeviceLink::failedOpenIsRetriedEvery501Polls()
{
    addBase(PRODUCT_ID_RUDDER);
    failOpens(PRODUCT_ID_RUDDER, 1);
    auto worker = makeWorker();
    QSignalSpy connected(worker.get(), &DirectControlThread::deviceConnected);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(enumerationCount(PRODUCT_ID_RUDDER), 1);
    for (int poll = 0; poll < 500; ++poll)
        invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(enumerationCount(PRODUCT_ID_RUDDER), 1);
    QCOMPARE(connected.count(), 0);
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(enumerationCount(PRODUCT_ID_RUDDER), 2);
    QCOMPARE(connected.count(), 1);
}

void TestDeviceLink::timedOutReadGivesZeroPositionsForThatPoll()
{
    addBase(PRODUCT_ID_JOYSTICK);
    setPosition(PRODUCT_ID_JOYSTICK, 0, 4000);
    auto worker = makeWorker();
    QSignalSpy disconnected(worker.get(), &DirectControlThread::deviceDisconnected);
    invoke(worker.get(), "updateDevicePositions");
    invoke(worker.get(), "updateDevicePositions");

    QSignalSpy states(worker.get(), &DirectControlThread::inputStateChanged);
    timeOutReads(PRODUCT_ID_JOYSTICK, 1);
    invoke(worker.get(), "updateDevicePositions");
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(states.at(0), QVariantList({0, 0, 0}));
    QCOMPARE(states.at(4), QVariantList({0, 4000, 0}));
    QCOMPARE(disconnected.count(), 0);
}

void TestDeviceLink::writeFailuresDoNotDropABaseThatStillAnswers()
{
    addBase(PRODUCT_ID_RUDDER);
    auto worker = makeWorker();
    QSignalSpy disconnected(worker.get(), &DirectControlThread::deviceDisconnected);
    worker->start();
    invoke(worker.get(), "updateDevicePositions");
    failWrites(PRODUCT_ID_RUDDER, always);
    for (int tick = 0; tick < 8; ++tick)
        invoke(worker.get(), "onForceUpdateTimeout");
    invoke(worker.get(), "updateDevicePositions");
    QCOMPARE(directControlReports(PRODUCT_ID_RUDDER).size(), size_t(0));
    QCOMPARE(disconnected.count(), 0);

    failWrites(PRODUCT_ID_RUDDER, 0);
    for (int tick = 0; tick < 8; ++tick)
        invoke(worker.get(), "onForceUpdateTimeout");
    QCOMPARE(directControlReports(PRODUCT_ID_RUDDER).size(), size_t(2));
}

QTEST_GUILESS_MAIN(TestDeviceLink)
#include "tst_devicelink.moc"
