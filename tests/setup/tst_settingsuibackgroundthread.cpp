#include "baseemulator.h"
#include "settingsuibackgroundthread.h"
#include "settingsworkershutdown.h"

#include <QMutex>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cmath>
#include <vector>

using Worker = SettingsUiBackgroundThread;

namespace {

const QList<int> productIds = {PRODUCT_ID_GENERIC, PRODUCT_ID_JOYSTICK, PRODUCT_ID_RUDDER,
                               PRODUCT_ID_WHEEL, PRODUCT_ID_COLLECTIVE};
constexpr unsigned short joystick = PRODUCT_ID_JOYSTICK;

QMutex messagesMutex;
// "D" for a debug line or "W" for a warning, " before write" while the base has been
// sent nothing, then the text.
QStringList messages;

void collectMessage(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    QMutexLocker lock(&messagesMutex);
    const bool written = !BaseEmulator::writtenReports().empty();
    messages << QStringLiteral("%1%2 %3").arg(type == QtDebugMsg ? 'D' : 'W').arg(written ? "" : " before write").arg(text);
}

void tick(Worker& worker, int count)
{
    for (int i = 0; i < count; ++i)
        worker.checkDeviceConnections();
}

// Every signal of the worker, recorded in order.
struct Recorder {
    explicit Recorder(Worker& worker)
        : effect(&worker, &Worker::effectSettingsObtained)
        , hardware(&worker, &Worker::hardwareSettingsObtained)
        , adc(&worker, &Worker::adcExtenderSettingsObtained)
        , gpio(&worker, &Worker::gpioExtenderSettingsObtained)
        , connected(&worker, &Worker::deviceConnected)
        , disconnected(&worker, &Worker::deviceDisconnected)
    {
    }
    int total() const
    {
        return int(effect.size() + hardware.size() + adc.size() + gpio.size() + connected.size()
                   + disconnected.size());
    }
    QSignalSpy effect, hardware, adc, gpio, connected, disconnected;
};

// A worker that has opened the joystick base and read from it once since.
void connectJoystick(Worker& worker, Recorder& signals_)
{
    BaseEmulator::addBase(joystick, {1, 24, 1, 2});
    tick(worker, Worker::retryTicks + 2);
    QCOMPARE(signals_.connected.size(), 1);
}

QByteArray bytesOf(const QVariant& record)
{
    return QByteArray(static_cast<const char*>(record.constData()), 64);
}

} // namespace

class TestSettingsUiBackgroundThread : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void basesAreLookedForEvery101Ticks();
    void failedAttemptStoresNothing_data();
    void failedAttemptStoresNothing();
    void missedReadsDropTheBaseAndRequestsThenDoNothing_data();
    void missedReadsDropTheBaseAndRequestsThenDoNothing();
    void settingSlotsWriteTheirBytesThenLogOneLine_data();
    void settingSlotsWriteTheirBytesThenLogOneLine();
    void settingsLandOnTheirRecordMembers_data();
    void settingsLandOnTheirRecordMembers();
    void commandsSaveRebootOrLeaveTheBus_data();
    void commandsSaveRebootOrLeaveTheBus();
    void runsOnItsThreadAndShutsDownInOrder();
};

void TestSettingsUiBackgroundThread::init()
{
    BaseEmulator::reset();
    BaseEmulator::setReadTimeoutWait(0);
    messages.clear();
    qInstallMessageHandler(collectMessage);
}

// Each product id is looked for once per 101 ticks; a base plugged in meanwhile is
// connected at the next look, with its version.
void TestSettingsUiBackgroundThread::basesAreLookedForEvery101Ticks()
{
    Worker worker(productIds);
    Recorder signals_(worker);
    const auto looks = [](int count) {
        for (int pid : productIds)
            QCOMPARE(BaseEmulator::enumerationCount(pid), count);
    };
    tick(worker, 100);
    looks(0);
    tick(worker, 1);
    looks(1);
    tick(worker, 60);
    BaseEmulator::addBase(PRODUCT_ID_RUDDER, {1, 24, 1, 2});
    tick(worker, 40);
    looks(1);
    QCOMPARE(signals_.total(), 0);
    tick(worker, 1);
    looks(2);
    QCOMPARE(signals_.connected.size(), 1);
    QCOMPARE(signals_.connected.at(0).at(0).toInt(), PRODUCT_ID_RUDDER);
    QCOMPARE(signals_.connected.at(0).at(1).value<FirmwareVersionTypeDef>(),
             (FirmwareVersionTypeDef{1, 24, 1, 2}));
    QCOMPARE(BaseEmulator::openHandleCount(PRODUCT_ID_RUDDER), 1);
}

void TestSettingsUiBackgroundThread::failedAttemptStoresNothing_data()
{
    QTest::addColumn<QList<int>>("interfaces");
    QTest::addColumn<int>("fault"); // 0 open, 1 read fails, 2 read times out
    QTest::addColumn<bool>("connectsLater");
    QTest::newRow("no interface 0") << QList<int>{1, 2} << -1 << false;
    QTest::newRow("open fails") << QList<int>{0} << 0 << true;
    QTest::newRow("first interface-0 entry fails") << QList<int>{1, 0, 0} << 0 << true;
    QTest::newRow("first read fails") << QList<int>{0} << 1 << true;
    QTest::newRow("first read times out") << QList<int>{0} << 2 << true;
}

// Only the first entry with interface 0 is tried; the next attempt comes 101 ticks later.
void TestSettingsUiBackgroundThread::failedAttemptStoresNothing()
{
    QFETCH(QList<int>, interfaces);
    QFETCH(int, fault);
    QFETCH(bool, connectsLater);
    BaseEmulator::addBase(joystick, {}, std::vector<int>(interfaces.begin(), interfaces.end()));
    if (fault >= 0)
        (fault == 0 ? BaseEmulator::failOpens
                    : fault == 1 ? BaseEmulator::failReads : BaseEmulator::timeOutReads)(joystick, 1);
    Worker worker(productIds);
    Recorder signals_(worker);
    tick(worker, 101 + 100);
    QCOMPARE(signals_.total(), 0);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 0);
    tick(worker, 1);
    QCOMPARE(signals_.connected.size(), connectsLater ? 1 : 0);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), connectsLater ? 1 : 0);
}

void TestSettingsUiBackgroundThread::missedReadsDropTheBaseAndRequestsThenDoNothing_data()
{
    QTest::addColumn<bool>("answeredOnce");
    QTest::addColumn<int>("missesToDrop");
    QTest::newRow("after an answered read") << true << 100;
    QTest::newRow("freshly opened") << false << 1;
}

void TestSettingsUiBackgroundThread::missedReadsDropTheBaseAndRequestsThenDoNothing()
{
    QFETCH(bool, answeredOnce);
    QFETCH(int, missesToDrop);
    Worker worker(productIds);
    Recorder signals_(worker);
    BaseEmulator::addBase(joystick);
    tick(worker, answeredOnce ? 102 : 101);
    BaseEmulator::failReads(joystick, BaseEmulator::always);
    tick(worker, missesToDrop - 1);
    QCOMPARE(signals_.disconnected.size(), 0);
    tick(worker, 1);
    QCOMPARE(signals_.disconnected.size(), 1);
    QCOMPARE(signals_.disconnected.at(0).at(0).toInt(), int(joystick));
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 0);

    for (int pid : {int(joystick), -1}) {
        worker.sendUInt16SettingReport(pid, FIELD_MOTION_RANGE, 0, 900);
        worker.saveSettingsRequest(pid);
        worker.readEffectSettings(pid);
    }
    QVERIFY(BaseEmulator::writtenReports().empty());
    QVERIFY(messages.isEmpty());

    BaseEmulator::failReads(joystick, 0);
    tick(worker, 100);
    QCOMPARE(signals_.connected.size(), 1);
    tick(worker, 1);
    QCOMPARE(signals_.connected.size(), 2);
    QCOMPARE(signals_.total(), 3);
}

void TestSettingsUiBackgroundThread::settingSlotsWriteTheirBytesThenLogOneLine_data()
{
    QTest::addColumn<int>("slot"); // int8, int16, uint8, uint16, float
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("value");
    QTest::addColumn<QByteArray>("bytes"); // empty: refused
    QTest::addColumn<QString>("line");
    QTest::newRow("int8") << 0 << 0 << 0 << -1.0 << QByteArray::fromHex("a3140000ff") << "D send int8 field 0 axis 0 value -1";
    QTest::newRow("int16") << 1 << 5 << 1 << 900.0 << QByteArray::fromHex("a31405018403") << "D send int16 field 5 axis 1 value 900";
    QTest::newRow("uint8") << 2 << 43 << 1 << 100.0 << QByteArray::fromHex("a3142b0164") << "D send uint8 field 43 axis 1 value 100";
    QTest::newRow("uint16") << 3 << 5 << 1 << 4660.0 << QByteArray::fromHex("a31405013412") << "D send uint16 field 5 axis 1 value 4660";
    QTest::newRow("float") << 4 << 26 << 1 << 2.5 << QByteArray::fromHex("a3141a0100002040") << "D send float field 26 axis 1 value 2.5";
    QTest::newRow("pin 10 refused") << 2 << 28 << 10 << 1.0 << QByteArray() << "W before write refused: send uint8 field 28 axis 10 value 1";
    QTest::newRow("NaN refused") << 4 << 25 << 0 << double(NAN) << QByteArray() << "W before write refused: send float field 25 axis 0 value nan";
}

void TestSettingsUiBackgroundThread::settingSlotsWriteTheirBytesThenLogOneLine()
{
    QFETCH(int, slot);
    QFETCH(int, field);
    QFETCH(int, index);
    QFETCH(double, value);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, line);
    Worker worker(productIds);
    Recorder signals_(worker);
    connectJoystick(worker, signals_);
    const auto f = SettingsFieldEnum(field);
    const auto i = int8_t(index);
    switch (slot) {
    case 0: worker.sendInt8SettingReport(joystick, f, i, int8_t(value)); break;
    case 1: worker.sendInt16SettingReport(joystick, f, i, int16_t(value)); break;
    case 2: worker.sendUInt8SettingReport(joystick, f, i, uint8_t(value)); break;
    case 3: worker.sendUInt16SettingReport(joystick, f, i, uint16_t(value)); break;
    case 4: worker.sendFloatSettingReport(joystick, f, i, float(value)); break;
    }
    const auto written = BaseEmulator::writtenReports(joystick);
    QCOMPARE(int(written.size()), bytes.isEmpty() ? 0 : 1);
    if (!bytes.isEmpty())
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(written[0].bytes.data()), 65),
                 bytes + QByteArray(65 - bytes.size(), '\0'));
    QCOMPARE(messages, QStringList{line});
}

void TestSettingsUiBackgroundThread::settingsLandOnTheirRecordMembers_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("value"); // as int8 when negative, as float when width is 4
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("reportId"); // 0: no record changes; -1: the reads fail
    QTest::addColumn<int>("offset");
    const auto row = [](const char* name, int field, int index, double value, int width,
                        int reportId, size_t offset) {
        QTest::newRow(name) << field << index << value << width << reportId << int(offset);
    };
    using E = EffectSettingsTypeDef;
    using H = HardwareSettingsTypeDef;
    using G = GpioExtensionSettingsTypeDef;
    using A = AdcExtensionSettingsTypeDef;
    row("invert constant force", 0, 0, -1, 1, 0x22, offsetof(E, invertConstantForce));
    row("force clipping mode", 40, 0, 1, 1, 0x22, offsetof(E, forceClippingMode));
    row("motion range", 5, 1, 9999, 2, 0x22, offsetof(E, axis[1].motionRange));
    row("integrated spring", 43, 1, 100, 1, 0x22, offsetof(E, axis[1].integratedSpring));
    row("soft stop range", 7, 1, 45, 1, 0x22, offsetof(E, axis[1].softStopRange));
    row("dynamic dampening", 42, 1, 1000, 2, 0x22, offsetof(E, axis[1].dynamicDampening));
    row("max force", 10, 1, 100, 1, 0x22, offsetof(E, axis[1].maxForce));
    row("speed sample buffer", 20, 0, 32, 1, 0x21, offsetof(H, speedSampleBufferSize));
    row("encoder CPR", 24, 1, 65535, 2, 0x21, offsetof(H, axis[1].encoderCpr));
    row("I gain", 26, 1, 500, 4, 0x21, offsetof(H, axis[1].iGain));
    row("button 32 mode", 29, 31, 2, 1, 0xA1, offsetof(G, buttonModes[31]));
    row("clock pulse length", 33, 0, 10, 1, 0xA1, offsetof(G, spiClkPulseLength));
    row("upper dead zone", 35, 2, 32767, 2, 0xA2, offsetof(A, upperDeadZone[2]));
    row("analog smoothing", 38, 2, 100, 1, 0xA2, offsetof(A, smoothing[2]));
    row("button low", 36, 2, 100, 1, 0xA2, offsetof(A, buttonLow[2]));
    row("reset center on Z0", 41, 1, 1, 1, 0, 0);
    row("reads fail", 1, 0, 100, 1, -1, 0);
}

// The record members sit where the base stores each setting; a record comes with the
// product id it was read from, or not at all.
void TestSettingsUiBackgroundThread::settingsLandOnTheirRecordMembers()
{
    QFETCH(int, field);
    QFETCH(int, index);
    QFETCH(double, value);
    QFETCH(int, width);
    QFETCH(int, reportId);
    QFETCH(int, offset);
    Worker worker(productIds);
    Recorder signals_(worker);
    connectJoystick(worker, signals_);
    const auto f = SettingsFieldEnum(field);
    const auto i = int8_t(index);
    QByteArray stored(1, char(int(value)));
    if (width == 4) {
        const float real = float(value);
        stored = QByteArray(reinterpret_cast<const char*>(&real), 4);
        worker.sendFloatSettingReport(joystick, f, i, real);
    } else if (width == 2) {
        const auto word = uint16_t(value);
        stored = QByteArray(reinterpret_cast<const char*>(&word), 2);
        worker.sendUInt16SettingReport(joystick, f, i, word);
    } else if (value < 0) {
        worker.sendInt8SettingReport(joystick, f, i, int8_t(value));
    } else {
        worker.sendUInt8SettingReport(joystick, f, i, uint8_t(value));
    }
    QCOMPARE(BaseEmulator::writtenReports(joystick).size(), size_t(1));
    if (reportId < 0)
        BaseEmulator::unplugBase(joystick);
    worker.readEffectSettings(joystick);
    worker.readHardwareSettings(joystick);
    worker.readGpioExtensionSettings(joystick);
    worker.readAdcExtensionSettings(joystick);
    QCOMPARE(signals_.total(), reportId < 0 ? 1 : 5);
    const std::pair<int, QSignalSpy*> records[] = {{0x22, &signals_.effect}, {0x21, &signals_.hardware},
                                                   {0xA1, &signals_.gpio}, {0xA2, &signals_.adc}};
    for (const auto& [id, spy] : records) {
        if (reportId < 0)
            break;
        QByteArray expected(64, '\0');
        if (id == reportId)
            expected.replace(offset, stored.size(), stored);
        QCOMPARE(bytesOf(spy->at(0).at(0)), expected);
        QCOMPARE(spy->at(0).at(1).toInt(), int(joystick));
    }
}

void TestSettingsUiBackgroundThread::commandsSaveRebootOrLeaveTheBus_data()
{
    QTest::addColumn<int>("command"); // its data type
    QTest::addColumn<int>("strengthAfter"); // -1: never back
    QTest::newRow("save and reboot") << 0x02 << 7;
    QTest::newRow("reboot") << 0x01 << 0;
    QTest::newRow("DFU mode") << 0x03 << -1;
}

// The base drops off the bus, the worker notices after 100 missed reads and finds it
// again at its next attempt, with the settings it had stored.
void TestSettingsUiBackgroundThread::commandsSaveRebootOrLeaveTheBus()
{
    QFETCH(int, command);
    QFETCH(int, strengthAfter);
    Worker worker(productIds);
    Recorder signals_(worker);
    connectJoystick(worker, signals_);
    worker.sendUInt8SettingReport(joystick, FIELD_DIRECT_X_SPRING_STRENGTH, 0, 7);
    const auto request = command == 0x02 ? &Worker::saveSettingsRequest
        : command == 0x01                ? &Worker::rebootControllerRequest
                                         : &Worker::switchtoDfuRequest;
    (worker.*request)(joystick);
    std::vector<uint8_t> expected(65, 0);
    expected[0] = 0xA3;
    expected[1] = uint8_t(command);
    QCOMPARE(BaseEmulator::writtenReports(joystick).back().bytes, expected);
    tick(worker, 99);
    QCOMPARE(signals_.disconnected.size(), 0);
    tick(worker, 1);
    QCOMPARE(signals_.disconnected.size(), 1);
    tick(worker, 101);
    QCOMPARE(signals_.connected.size(), strengthAfter < 0 ? 1 : 2);
    tick(worker, strengthAfter < 0 ? 303 : 0);
    QCOMPARE(signals_.connected.size(), strengthAfter < 0 ? 1 : 2);
    worker.readEffectSettings(joystick);
    QCOMPARE(signals_.effect.size(), strengthAfter < 0 ? 0 : 1);
    if (strengthAfter >= 0)
        QCOMPARE(int(signals_.effect.at(0).at(0).value<EffectSettingsTypeDef>().directXSpringStrength),
                 strengthAfter);
}

// Started as the main window starts it. At shut-down the worker closes its base on its
// own thread (stopping its timer from here would warn) before the thread ends, and
// both objects are gone.
void TestSettingsUiBackgroundThread::runsOnItsThreadAndShutsDownInOrder()
{
    BaseEmulator::addBase(joystick);
    QPointer<Worker> worker = new Worker(productIds);
    QPointer<QThread> thread = new QThread;
    QList<int> connected;
    QList<int> records;
    connect(worker, &Worker::deviceConnected, this, [&](int pid) { connected << pid; });
    connect(worker, &Worker::effectSettingsObtained, this,
            [&](EffectSettingsTypeDef, int pid) { records << pid; });
    QTimer::singleShot(0, worker, &Worker::start);
    thread->start();
    worker->moveToThread(thread);
    QTRY_COMPARE_WITH_TIMEOUT(connected, QList<int>{joystick}, 10000);
    Worker* running = worker;
    QMetaObject::invokeMethod(worker, [running] { running->readEffectSettings(joystick); });
    QTRY_COMPARE(records, QList<int>{joystick});

    int openWhenThreadEnds = -1;
    connect(thread, &QThread::finished, thread,
            [&] { openWhenThreadEnds = BaseEmulator::openHandleCount(joystick); }, Qt::DirectConnection);
    shutDownSettingsWorker(worker, thread);
    QVERIFY(!worker && !thread);
    QCOMPARE(openWhenThreadEnds, 0);
    QCOMPARE(messages, QStringList());
}

QTEST_GUILESS_MAIN(TestSettingsUiBackgroundThread)
#include "tst_settingsuibackgroundthread.moc"
