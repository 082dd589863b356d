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

// Every signal of the worker.
struct Recorder {
    explicit Recorder(Worker& worker)
        : effect(&worker, &Worker::effectSettingsObtained), hardware(&worker, &Worker::hardwareSettingsObtained)
        , adc(&worker, &Worker::adcExtenderSettingsObtained), gpio(&worker, &Worker::gpioExtenderSettingsObtained)
        , connected(&worker, &Worker::deviceConnected), disconnected(&worker, &Worker::deviceDisconnected)
    {
    }
    int total() const { return int(effect.size() + hardware.size() + adc.size() + gpio.size() + connected.size() + disconnected.size()); }
    QSignalSpy effect, hardware, adc, gpio, connected, disconnected;
};

// A worker that has opened the joystick base and read from it once since.
void connectJoystick(Worker& worker, Recorder& signals_)
{
    BaseEmulator::addBase(joystick, {1, 24, 1, 2});
    tick(worker, Worker::retryTicks + 2);
    QCOMPARE(signals_.connected.size(), 1);
}

enum Slot { Int8, Int16, UInt8, UInt16, Float };

// A setting given to one of the worker's slots; the start of the report the base gets
// (none: refused) and the line logged; where the base keeps it: record and offset (record
// 0: in none of the four; -1: the base is gone before the records are read).
struct Setting {
    Slot slot;
    int field;
    int index;
    double value;
    const char* bytes;
    const char* line;
    int record;
    int offset;
};

} // namespace

Q_DECLARE_METATYPE(Setting)

class TestSettingsUiBackgroundThread : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        BaseEmulator::reset();
        BaseEmulator::setReadTimeoutWait(0);
        messages.clear();
        qInstallMessageHandler(collectMessage);
    }

    // Each product id is looked for once per 101 ticks; a base plugged in meanwhile is
    // connected at the next look, with its version.
    void basesAreLookedForEvery101Ticks()
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
        QCOMPARE(signals_.connected.at(0).at(1).value<FirmwareVersionTypeDef>(), (FirmwareVersionTypeDef{1, 24, 1, 2}));
        QCOMPARE(BaseEmulator::openHandleCount(PRODUCT_ID_RUDDER), 1);
    }

    void failedAttemptStoresNothing_data()
    {
        QTest::addColumn<QList<int>>("interfaces");
        QTest::addColumn<bool>("readFails"); // else the open fails
        QTest::addColumn<bool>("connectsLater");
        QTest::newRow("no interface 0") << QList<int>{1, 2} << false << false;
        QTest::newRow("first interface-0 entry fails to open") << QList<int>{1, 0, 0} << false << true;
        QTest::newRow("first read fails") << QList<int>{0} << true << true;
    }

    // Only the first entry with interface 0 is tried; the next attempt comes 101 ticks later.
    void failedAttemptStoresNothing()
    {
        QFETCH(QList<int>, interfaces);
        QFETCH(bool, readFails);
        QFETCH(bool, connectsLater);
        BaseEmulator::addBase(joystick, {}, std::vector<int>(interfaces.begin(), interfaces.end()));
        (readFails ? BaseEmulator::failReads : BaseEmulator::failOpens)(joystick, 1);
        Worker worker(productIds);
        Recorder signals_(worker);
        tick(worker, 101 + 100);
        QCOMPARE(signals_.total(), 0);
        QCOMPARE(BaseEmulator::openHandleCount(joystick), 0);
        tick(worker, 1);
        QCOMPARE(signals_.connected.size(), connectsLater ? 1 : 0);
        QCOMPARE(BaseEmulator::openHandleCount(joystick), connectsLater ? 1 : 0);
    }

    void settingsAreWrittenLoggedAndReadBack_data()
    {
        QTest::addColumn<Setting>("setting");
        QTest::newRow("int8") << Setting{Int8, 0, 0, -1, "a3140000ff", "D send int8 field 0 axis 0 value -1", 0x22, 0};
        QTest::newRow("int16") << Setting{Int16, 5, 1, 900, "a31405018403", "D send int16 field 5 axis 1 value 900", 0x22, 19};
        QTest::newRow("uint8") << Setting{UInt8, 43, 1, 100, "a3142b0164", "D send uint8 field 43 axis 1 value 100", 0x22, 21};
        QTest::newRow("uint16") << Setting{UInt16, 35, 2, 32767, "a3142302ff7f", "D send uint16 field 35 axis 2 value 32767", 0xA2, 10};
        QTest::newRow("float") << Setting{Float, 26, 1, 2.5, "a3141a0100002040", "D send float field 26 axis 1 value 2.5", 0x21, 32};
        QTest::newRow("button 32 mode") << Setting{UInt8, 29, 31, 2, "a3141d1f02", "D send uint8 field 29 axis 31 value 2", 0xA1, 42};
        QTest::newRow("reset center on Z0") << Setting{UInt8, 41, 1, 1, "a314290101", "D send uint8 field 41 axis 1 value 1", 0, 0};
        QTest::newRow("NaN refused") << Setting{Float, 25, 0, NAN, "", "W before write refused: send float field 25 axis 0 value nan", 0, 0};
        QTest::newRow("reads fail") << Setting{UInt8, 1, 0, 100, "a314010064", "D send uint8 field 1 axis 0 value 100", -1, 0};
    }

    // Each slot writes its exact 65 bytes and then logs one line, or refuses and writes
    // nothing. Each read slot emits its record, with the product id it was read from, or
    // nothing at all.
    void settingsAreWrittenLoggedAndReadBack()
    {
        QFETCH(Setting, setting);
        Worker worker(productIds);
        Recorder signals_(worker);
        connectJoystick(worker, signals_);
        const auto f = SettingsFieldEnum(setting.field);
        const auto i = int8_t(setting.index);
        switch (setting.slot) {
        case Int8: worker.sendInt8SettingReport(joystick, f, i, int8_t(setting.value)); break;
        case Int16: worker.sendInt16SettingReport(joystick, f, i, int16_t(setting.value)); break;
        case UInt8: worker.sendUInt8SettingReport(joystick, f, i, uint8_t(setting.value)); break;
        case UInt16: worker.sendUInt16SettingReport(joystick, f, i, uint16_t(setting.value)); break;
        case Float: worker.sendFloatSettingReport(joystick, f, i, float(setting.value)); break;
        }
        const QByteArray bytes = QByteArray::fromHex(setting.bytes);
        const auto written = BaseEmulator::writtenReports(joystick);
        QCOMPARE(int(written.size()), bytes.isEmpty() ? 0 : 1);
        if (!bytes.isEmpty())
            QCOMPARE(QByteArray(reinterpret_cast<const char*>(written[0].bytes.data()), 65), bytes + QByteArray(65 - bytes.size(), '\0'));
        QCOMPARE(messages, QStringList{setting.line});

        if (setting.record < 0)
            BaseEmulator::unplugBase(joystick);
        worker.readEffectSettings(joystick);
        worker.readHardwareSettings(joystick);
        worker.readGpioExtensionSettings(joystick);
        worker.readAdcExtensionSettings(joystick);
        QCOMPARE(signals_.total(), setting.record < 0 ? 1 : 5);
        const std::pair<int, QSignalSpy*> records[] = {{0x22, &signals_.effect}, {0x21, &signals_.hardware}, {0xA1, &signals_.gpio}, {0xA2, &signals_.adc}};
        for (const auto& [id, spy] : records) {
            if (setting.record < 0)
                break;
            QByteArray expected(64, '\0');
            if (id == setting.record)
                expected.replace(setting.offset, bytes.size() - 4, bytes.mid(4));
            QCOMPARE(QByteArray(static_cast<const char*>(spy->at(0).at(0).constData()), 64), expected);
            QCOMPARE(spy->at(0).at(1).toInt(), int(joystick));
        }
    }

    void secondAxisReachesOnlyTheJoystick_data()
    {
        QTest::addColumn<int>("pid");
        QTest::addColumn<int>("field"); // written as uint8 value 3
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("written");
        QTest::newRow("joystick, axis 1") << PRODUCT_ID_JOYSTICK << int(FIELD_POLE_PAIRS) << 1 << true;
        QTest::newRow("rudder, axis 1") << PRODUCT_ID_RUDDER << int(FIELD_TOTAL_EFFECT_SCALE) << 1 << false;
        QTest::newRow("collective, axis 1") << PRODUCT_ID_COLLECTIVE << int(FIELD_POLE_PAIRS) << 1 << false;
        QTest::newRow("rudder, axis 0") << PRODUCT_ID_RUDDER << int(FIELD_POLE_PAIRS) << 0 << true;
        QTest::newRow("rudder, pin 1") << PRODUCT_ID_RUDDER << int(FIELD_GPIO_MODE) << 1 << true;
    }

    // Only the joystick has a second axis: an axis-1 setting for another base is refused
    // with a warning; index 1 of other fields is no axis.
    void secondAxisReachesOnlyTheJoystick()
    {
        QFETCH(int, pid);
        QFETCH(int, field);
        QFETCH(int, index);
        QFETCH(bool, written);
        Worker worker(productIds);
        BaseEmulator::addBase(pid);
        tick(worker, Worker::retryTicks + 2);
        worker.sendUInt8SettingReport(pid, SettingsFieldEnum(field), int8_t(index), 3);
        const QString line = QString("send uint8 field %1 axis %2 value 3").arg(field).arg(index);
        QCOMPARE(messages, QStringList{(written ? "D " : "W before write refused, the base has one axis: ") + line});
    }

    void lostBaseIsDroppedAndFoundAgain_data()
    {
        QTest::addColumn<int>("command"); // its data type; 0: the reads fail instead
        QTest::addColumn<int>("missesToDrop");
        QTest::addColumn<int>("strengthAfter"); // -1: never back
        QTest::newRow("reads fail, freshly opened") << 0 << 1 << 7;
        QTest::newRow("reads fail after an answered read") << 0 << 100 << 7;
        QTest::newRow("save and reboot") << 0x02 << 100 << 7;
        QTest::newRow("reboot") << 0x01 << 100 << 0;
        QTest::newRow("DFU mode") << 0x03 << 100 << -1;
    }

    // A base whose reads fail, or that a command sends off the bus, is dropped after 100
    // missed reads (after one when none was answered since it was opened). Requests then
    // write nothing, and the next attempt, 101 ticks later, finds the base with the settings
    // it had stored; after firmware update mode it is not found again.
    void lostBaseIsDroppedAndFoundAgain()
    {
        QFETCH(int, command);
        QFETCH(int, missesToDrop);
        QFETCH(int, strengthAfter);
        Worker worker(productIds);
        Recorder signals_(worker);
        BaseEmulator::addBase(joystick);
        tick(worker, missesToDrop == 1 ? 101 : 102);
        worker.sendUInt8SettingReport(joystick, FIELD_DIRECT_X_SPRING_STRENGTH, 0, 7);
        const auto request = command == 0x02 ? &Worker::saveSettingsRequest
            : command == 0x01                ? &Worker::rebootControllerRequest
                                             : &Worker::switchtoDfuRequest;
        if (command == 0) {
            BaseEmulator::failReads(joystick, BaseEmulator::always);
        } else {
            (worker.*request)(joystick);
            std::vector<uint8_t> expected(65, 0);
            expected[0] = 0xA3, expected[1] = uint8_t(command);
            QCOMPARE(BaseEmulator::writtenReports(joystick).back().bytes, expected);
        }
        tick(worker, missesToDrop - 1);
        QCOMPARE(signals_.disconnected.size(), 0);
        tick(worker, 1);
        QCOMPARE(signals_.disconnected.size(), 1);
        QCOMPARE(signals_.disconnected.at(0).at(0).toInt(), int(joystick));
        QCOMPARE(BaseEmulator::openHandleCount(joystick), 0);

        const size_t written = BaseEmulator::writtenReports().size();
        const qsizetype logged = messages.size();
        for (int pid : {int(joystick), -1}) {
            worker.sendUInt16SettingReport(pid, FIELD_MOTION_RANGE, 0, 900);
            worker.saveSettingsRequest(pid);
            worker.readEffectSettings(pid);
        }
        QCOMPARE(BaseEmulator::writtenReports().size(), written);
        QCOMPARE(messages.size(), logged);
        BaseEmulator::failReads(joystick, 0);
        tick(worker, 100);
        QCOMPARE(signals_.connected.size(), 1);
        tick(worker, strengthAfter < 0 ? 404 : 1);
        worker.readEffectSettings(joystick);
        QCOMPARE(signals_.total(), strengthAfter < 0 ? 2 : 4);
        if (strengthAfter >= 0)
            QCOMPARE(int(signals_.effect.at(0).at(0).value<EffectSettingsTypeDef>().directXSpringStrength), strengthAfter);
    }

    // Started as the main window starts it. At shut-down the worker closes its base on its
    // own thread (stopping its timer from here would warn) before the thread ends, and
    // both objects are gone.
    void runsOnItsThreadAndShutsDownInOrder()
    {
        BaseEmulator::addBase(joystick);
        QPointer<Worker> worker = new Worker(productIds);
        QPointer<QThread> thread = new QThread;
        QList<int> connected;
        QList<int> records;
        connect(worker, &Worker::deviceConnected, this, [&](int pid) { connected << pid; });
        connect(worker, &Worker::effectSettingsObtained, this, [&](EffectSettingsTypeDef, int pid) { records << pid; });
        QTimer::singleShot(0, worker, &Worker::start);
        thread->start();
        worker->moveToThread(thread);
        QTRY_COMPARE_WITH_TIMEOUT(connected, QList<int>{joystick}, 10000);
        Worker* running = worker;
        QMetaObject::invokeMethod(worker, [running] { running->readEffectSettings(joystick); });
        QTRY_COMPARE(records, QList<int>{joystick});

        int openWhenThreadEnds = -1;
        connect(thread, &QThread::finished, thread, [&] { openWhenThreadEnds = BaseEmulator::openHandleCount(joystick); }, Qt::DirectConnection);
        shutDownSettingsWorker(worker, thread);
        QVERIFY(!worker && !thread);
        QCOMPARE(openWhenThreadEnds, 0);
        QCOMPARE(messages, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSettingsUiBackgroundThread)
#include "tst_settingsuibackgroundthread.moc"
