#include "baseemulator.h"
#include "hidframing.h"
#include "wireconversion.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

namespace {

constexpr unsigned short joystick = PRODUCT_ID_JOYSTICK;
constexpr unsigned short rudder = PRODUCT_ID_RUDDER;

QByteArray toBytes(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size()));
}

QByteArray bytesOf(const HidInOutReportTypeDef& report)
{
    return QByteArray(reinterpret_cast<const char*>(&report), sizeof(report));
}

QByteArray zeroPadded(const char* hex)
{
    QByteArray bytes = QByteArray::fromHex(hex);
    bytes.append(QByteArray(65 - bytes.size(), '\0'));
    return bytes;
}

hid_device* openJoystick()
{
    return HidFraming::obtainDeviceConnection(short(DEVICE_VENDOR_ID), short(joystick), 0);
}

QList<int> enumeratedInterfaces(unsigned short vendor, unsigned short product)
{
    QList<int> interfaces;
    hid_device_info* devices = hid_enumerate(vendor, product);
    for (hid_device_info* entry = devices; entry; entry = entry->next)
        interfaces << entry->product_id * 10 + entry->interface_number;
    hid_free_enumeration(devices);
    return interfaces;
}

}

class TestBaseEmulator : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void enumerationListsEveryInterfaceOfPluggedBases();
    void connectionOpensInterfaceZero();
    void missingBaseOrFailedOpenGivesNoConnection();
    void writtenReportReachesTheLogByteForByte();
    void overrideHelpersWriteWholeZeroedReports_data();
    void overrideHelpersWriteWholeZeroedReports();
    void oversizedPayloadsAreNotWritten_data();
    void oversizedPayloadsAreNotWritten();
    void nullHandleWritesAndReadsNothing();
    void stateReportIsParsedWithSignExtension_data();
    void stateReportIsParsedWithSignExtension();
    void timedOutReadLeavesStateAlone();
    void timedOutReadBlocksForTheTimeout();
    void unplugKillsOpenHandlesUntilReopened();
    void failedWriteReachesNothing();
    void closingReleasesTheHandle();
    void featureReportsAnswerByReportId();
    void settingReportsChangeOnlyTheirField_data();
    void settingReportsChangeOnlyTheirField();
    void preloadedEmulatorAnswersARealProgram();
};

void TestBaseEmulator::init()
{
    BaseEmulator::reset();
    BaseEmulator::setReadTimeoutWait(0);
}

void TestBaseEmulator::enumerationListsEveryInterfaceOfPluggedBases()
{
    BaseEmulator::addBase(joystick, {}, {1, 0});
    BaseEmulator::addBase(rudder);
    BaseEmulator::addBase(PRODUCT_ID_COLLECTIVE);
    BaseEmulator::unplugBase(PRODUCT_ID_COLLECTIVE);

    QCOMPARE(enumeratedInterfaces(DEVICE_VENDOR_ID, joystick), QList<int>({227771, 227770}));
    QCOMPARE(enumeratedInterfaces(DEVICE_VENDOR_ID, rudder), QList<int>({228880}));
    QCOMPARE(enumeratedInterfaces(DEVICE_VENDOR_ID, PRODUCT_ID_COLLECTIVE), QList<int>());
    QCOMPARE(enumeratedInterfaces(0, 0), QList<int>({227771, 227770, 228880}));
    QCOMPARE(enumeratedInterfaces(0x1234, joystick), QList<int>());
    QCOMPARE(BaseEmulator::enumerationCount(joystick), 2);

    BaseEmulator::plugBase(PRODUCT_ID_COLLECTIVE);
    QCOMPARE(enumeratedInterfaces(DEVICE_VENDOR_ID, PRODUCT_ID_COLLECTIVE), QList<int>({220010}));
}

void TestBaseEmulator::connectionOpensInterfaceZero()
{
    BaseEmulator::addBase(joystick, {1, 24, 3, 7}, {2, 0, 1});
    hid_device* handle = openJoystick();
    QVERIFY(handle);

    DeviceStateTypeDef state;
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 65);
    QCOMPARE(state.firmwareVersion, (FirmwareVersionTypeDef{1, 24, 3, 7}));
    hid_close(handle);
}

void TestBaseEmulator::missingBaseOrFailedOpenGivesNoConnection()
{
    QVERIFY(!openJoystick());

    BaseEmulator::addBase(joystick, {}, {1});
    QVERIFY(!openJoystick());

    BaseEmulator::addBase(joystick);
    BaseEmulator::failOpens(joystick, 1);
    QVERIFY(!openJoystick());
    hid_device* handle = openJoystick();
    QVERIFY(handle);
    hid_close(handle);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 0);
}

void TestBaseEmulator::writtenReportReachesTheLogByteForByte()
{
    BaseEmulator::addBase(joystick);
    hid_device* handle = openJoystick();
    QVERIFY(handle);

    DirectControlTypeDef forces;
    forces.springForce = toWireForce(-250.0f, 1.0f);
    forces.damperForce = toWireDamper(150.0f, 1.0f);
    HidInOutReportTypeDef report;
    HidFraming::createDirectControlReport(&report, 1, forces);

    const auto before = std::chrono::steady_clock::now();
    QCOMPARE(HidFraming::writeReport(handle, report), 65);
    const auto after = std::chrono::steady_clock::now();
    hid_close(handle);

    const auto log = BaseEmulator::writtenReports();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(toBytes(log[0].bytes), bytesOf(report));
    QCOMPARE(toBytes(log[0].bytes), zeroPadded("a3 10 01 01 f0d8 0000 0000 983a"));
    QCOMPARE(log[0].productId, joystick);
    QCOMPARE(log[0].interfaceNumber, 0);
    QVERIFY(log[0].kind == BaseEmulator::ReportKind::Output);
    QVERIFY(log[0].time >= before && log[0].time <= after);
}

void TestBaseEmulator::overrideHelpersWriteWholeZeroedReports_data()
{
    QTest::addColumn<int>("helper");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("uint8 override") << 0 << zeroPadded("a3 10 02 00 06");
    QTest::newRow("uint16 override") << 1 << zeroPadded("a3 10 01 01 3412");
    QTest::newRow("data report") << 2 << zeroPadded("a3 10 00 01 010203");
    QTest::newRow("command") << 3 << zeroPadded("a3 02");
    QTest::newRow("command with payload") << 4 << zeroPadded("a3 14 0501 8403");
}

void TestBaseEmulator::overrideHelpersWriteWholeZeroedReports()
{
    QFETCH(int, helper);
    QFETCH(QByteArray, expected);
    BaseEmulator::addBase(joystick);
    hid_device* handle = openJoystick();
    QVERIFY(handle);

    const uint8_t payload[] = {1, 2, 3};
    const uint8_t setting[] = {0x05, 0x01, 0x84, 0x03};
    int result = 0;
    switch (helper) {
    case 0:
        result = HidFraming::sendUInt8OverrideReport(handle, TELEMETRY_OVERRIDE_GAME_ID, 0, 6);
        break;
    case 1:
        result = HidFraming::sendUInt16OverrideReport(handle, TELEMETRY_OVERRIDE_DIRECT_CONTROL, 1,
                                                      0x1234);
        break;
    case 2:
        result = HidFraming::sendDataReport(handle, TELEMETRY_OVERRIDE_INTEGRATED_SPRING_CURVE, 1,
                                            payload, sizeof(payload));
        break;
    case 3:
        result = HidFraming::writeToDevice(handle, REPORT_DATA_TYPE_SAVE_SETTINGS, nullptr, 0);
        break;
    case 4:
        result = HidFraming::writeToDevice(handle, REPORT_DATA_TYPE_SETTING, setting, sizeof(setting));
        break;
    }
    hid_close(handle);

    QCOMPARE(result, 65);
    const auto log = BaseEmulator::writtenReports(joystick);
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(toBytes(log[0].bytes), expected);
}

void TestBaseEmulator::oversizedPayloadsAreNotWritten_data()
{
    QTest::addColumn<bool>("command");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("written");
    QTest::newRow("override at its limit") << false << 61 << true;
    QTest::newRow("override beyond") << false << 62 << false;
    QTest::newRow("command at its limit") << true << 63 << true;
    QTest::newRow("command beyond") << true << 64 << false;
    QTest::newRow("command far beyond") << true << 1000 << false;
}

void TestBaseEmulator::oversizedPayloadsAreNotWritten()
{
    QFETCH(bool, command);
    QFETCH(int, size);
    QFETCH(bool, written);
    BaseEmulator::addBase(joystick);
    hid_device* handle = openJoystick();
    QVERIFY(handle);

    QByteArray payload(1000, '\x5a');
    const auto* bytes = reinterpret_cast<const uint8_t*>(payload.constData());
    if (!written)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused"));
    const int result = command
        ? HidFraming::writeToDevice(handle, REPORT_DATA_TYPE_SETTING, bytes, uint16_t(size))
        : HidFraming::sendDataReport(handle, TELEMETRY_OVERRIDE_DIRECT_CONTROL, 0, bytes,
                                     uint8_t(size));
    hid_close(handle);

    const auto log = BaseEmulator::writtenReports();
    QCOMPARE(result, written ? 65 : -1);
    QCOMPARE(log.size(), size_t(written ? 1 : 0));
    if (written) {
        QCOMPARE(log[0].bytes.size(), size_t(65));
        QCOMPARE(log[0].bytes[64], uint8_t(0x5a));
    }
}

void TestBaseEmulator::nullHandleWritesAndReadsNothing()
{
    BaseEmulator::addBase(joystick);
    const uint8_t payload[] = {1};
    QCOMPARE(HidFraming::sendUInt8OverrideReport(nullptr, TELEMETRY_OVERRIDE_GAME_ID, 0, 1), -1);
    QCOMPARE(HidFraming::sendUInt16OverrideReport(nullptr, TELEMETRY_OVERRIDE_GAME_ID, 0, 1), -1);
    QCOMPARE(HidFraming::sendDataReport(nullptr, TELEMETRY_OVERRIDE_GAME_ID, 0, payload, 1), -1);
    QCOMPARE(HidFraming::writeToDevice(nullptr, REPORT_DATA_TYPE_REBOOT, nullptr, 0), -1);
    DeviceStateTypeDef state;
    state.position[0] = 77;
    QCOMPARE(HidFraming::readDeviceState(&state, nullptr), -1);
    QCOMPARE(int(state.position[0]), 77);
    QVERIFY(BaseEmulator::writtenReports().empty());
}

void TestBaseEmulator::stateReportIsParsedWithSignExtension_data()
{
    QTest::addColumn<int>("reportId");
    QTest::addColumn<int>("position0");
    QTest::addColumn<int>("position1");
    QTest::addColumn<int>("trim0");
    QTest::addColumn<int>("trim1");
    QTest::newRow("small values") << 0x01 << 1234 << -1234 << 5 << -5;
    QTest::newRow("extremes") << 0x01 << -32768 << 32767 << -1 << 0;
    QTest::newRow("full travel") << 0x01 << 10000 << -10000 << -10000 << 10000;
    QTest::newRow("report id 0") << 0x00 << -2 << 3 << -4 << 5;
    QTest::newRow("report id ff") << 0xFF << 100 << -100 << 200 << -200;
}

void TestBaseEmulator::stateReportIsParsedWithSignExtension()
{
    QFETCH(int, reportId);
    QFETCH(int, position0);
    QFETCH(int, position1);
    QFETCH(int, trim0);
    QFETCH(int, trim1);
    BaseEmulator::addBase(joystick, {0, 25, 2, 1});
    BaseEmulator::setInputReportId(joystick, uint8_t(reportId));
    BaseEmulator::setPosition(joystick, 0, int16_t(position0));
    BaseEmulator::setPosition(joystick, 1, int16_t(position1));
    BaseEmulator::setAxisTrim(joystick, 0, int16_t(trim0));
    BaseEmulator::setAxisTrim(joystick, 1, int16_t(trim1));
    hid_device* handle = openJoystick();
    QVERIFY(handle);

    DeviceStateTypeDef state;
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 65);
    hid_close(handle);

    QCOMPARE(state.firmwareVersion, (FirmwareVersionTypeDef{0, 25, 2, 1}));
    const int positions[] = {state.position[0], state.position[1]};
    const int trims[] = {state.axisTrim[0], state.axisTrim[1]};
    QCOMPARE(positions[0], position0);
    QCOMPARE(positions[1], position1);
    QCOMPARE(trims[0], trim0);
    QCOMPARE(trims[1], trim1);
}

void TestBaseEmulator::timedOutReadLeavesStateAlone()
{
    BaseEmulator::addBase(rudder);
    BaseEmulator::setPosition(rudder, 0, 4321);
    hid_device* handle = HidFraming::obtainDeviceConnection(short(DEVICE_VENDOR_ID), short(rudder), 0);
    QVERIFY(handle);

    BaseEmulator::timeOutReads(rudder, 2);
    DeviceStateTypeDef state;
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 0);
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 0);
    QCOMPARE(int(state.position[0]), 0);
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 65);
    QCOMPARE(int(state.position[0]), 4321);

    BaseEmulator::failReads(rudder, BaseEmulator::always);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(HidFraming::readDeviceState(&state, handle), -1);
    BaseEmulator::failReads(rudder, 0);
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 65);
    QCOMPARE(BaseEmulator::readCount(rudder), 2);
    hid_close(handle);
}

void TestBaseEmulator::timedOutReadBlocksForTheTimeout()
{
    BaseEmulator::setReadTimeoutWait(-1);
    BaseEmulator::addBase(rudder);
    hid_device* handle = HidFraming::obtainDeviceConnection(short(DEVICE_VENDOR_ID), short(rudder), 0);
    QVERIFY(handle);
    BaseEmulator::timeOutReads(rudder, 1);

    DeviceStateTypeDef state;
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(HidFraming::readDeviceState(&state, handle), 0);
    QVERIFY(timer.elapsed() >= HidFraming::readTimeoutMs - 5);
    hid_close(handle);
}

void TestBaseEmulator::unplugKillsOpenHandlesUntilReopened()
{
    BaseEmulator::addBase(joystick);
    hid_device* before = openJoystick();
    QVERIFY(before);

    BaseEmulator::unplugBase(joystick);
    DeviceStateTypeDef state;
    QCOMPARE(HidFraming::readDeviceState(&state, before), -1);
    QCOMPARE(HidFraming::sendUInt8OverrideReport(before, TELEMETRY_OVERRIDE_GAME_ID, 0, 1), -1);
    QVERIFY(!openJoystick());

    BaseEmulator::plugBase(joystick);
    QCOMPARE(HidFraming::readDeviceState(&state, before), -1);
    hid_device* after = openJoystick();
    QVERIFY(after);
    QCOMPARE(HidFraming::readDeviceState(&state, after), 65);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 2);
    hid_close(before);
    hid_close(after);
    QVERIFY(BaseEmulator::writtenReports().empty());

    BaseEmulator::addBase(rudder);
    hid_device* removed = HidFraming::obtainDeviceConnection(short(DEVICE_VENDOR_ID), short(rudder), 0);
    QVERIFY(removed);
    BaseEmulator::removeBase(rudder);
    QCOMPARE(HidFraming::readDeviceState(&state, removed), -1);
    BaseEmulator::addBase(rudder);
    QCOMPARE(HidFraming::readDeviceState(&state, removed), -1);
    QCOMPARE(HidFraming::sendUInt8OverrideReport(removed, TELEMETRY_OVERRIDE_GAME_ID, 0, 1), -1);
    hid_close(removed);
}

void TestBaseEmulator::failedWriteReachesNothing()
{
    BaseEmulator::addBase(joystick);
    hid_device* handle = openJoystick();
    QVERIFY(handle);
    BaseEmulator::failWrites(joystick, 1);
    QCOMPARE(HidFraming::sendUInt8OverrideReport(handle, TELEMETRY_OVERRIDE_GAME_ID, 0, 1), -1);
    QVERIFY(hid_error(handle));
    QCOMPARE(HidFraming::sendUInt8OverrideReport(handle, TELEMETRY_OVERRIDE_GAME_ID, 0, 2), 65);
    hid_close(handle);

    const auto log = BaseEmulator::writtenReports();
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].bytes[4], uint8_t(2));
}

void TestBaseEmulator::closingReleasesTheHandle()
{
    BaseEmulator::addBase(joystick);
    hid_device* first = openJoystick();
    hid_device* second = openJoystick();
    QVERIFY(first && second);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 2);
    hid_close(first);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 1);
    hid_close(second);
    QCOMPARE(BaseEmulator::openHandleCount(joystick), 0);
}

void TestBaseEmulator::featureReportsAnswerByReportId()
{
    BaseEmulator::addBase(joystick);
    std::array<uint8_t, 64> record{};
    for (size_t i = 0; i < record.size(); ++i)
        record[i] = uint8_t(i + 1);
    BaseEmulator::setFeatureReport(joystick, 0x22, record);
    BaseEmulator::setFeatureReport(joystick, 0x23, record);
    hid_device* handle = openJoystick();
    QVERIFY(handle);

    unsigned char buffer[65] = {0x22};
    QCOMPARE(hid_get_feature_report(handle, buffer, sizeof(buffer)), 65);
    QCOMPARE(int(buffer[0]), 0x22);
    QCOMPARE(int(buffer[1]), 1);
    QCOMPARE(int(buffer[64]), 64);

    unsigned char hardware[65] = {0x21, 0x55};
    QCOMPARE(hid_get_feature_report(handle, hardware, sizeof(hardware)), 65);
    QCOMPARE(QByteArray(reinterpret_cast<char*>(hardware + 1), 64), QByteArray(64, '\0'));
    unsigned char unknown[65] = {0x23};
    QCOMPARE(hid_get_feature_report(handle, unknown, sizeof(unknown)), -1);

    const unsigned char sent[3] = {0x21, 9, 8};
    QCOMPARE(hid_send_feature_report(handle, sent, sizeof(sent)), 3);
    hid_close(handle);
    const auto log = BaseEmulator::writtenReports();
    QCOMPARE(log.size(), size_t(1));
    QVERIFY(log[0].kind == BaseEmulator::ReportKind::Feature);
}

void TestBaseEmulator::settingReportsChangeOnlyTheirField_data()
{
    QTest::addColumn<QByteArray>("report");
    QTest::addColumn<int>("recordId");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QByteArray>("stored"); // empty: no record changes
    QTest::newRow("uint16 of axis 1") << zeroPadded("a3 14 05 01 3412") << 0x22 << 19 << QByteArray::fromHex("3412");
    QTest::newRow("reset center on Z0") << zeroPadded("a3 14 29 01 01") << 0 << 0 << QByteArray();
    QTest::newRow("stray byte after the value") << zeroPadded("a3 14 05 00 3412 01") << 0 << 0 << QByteArray();
    QTest::newRow("axis 2") << zeroPadded("a3 14 05 02 3412") << 0 << 0 << QByteArray();
    QTest::newRow("index on a common field") << zeroPadded("a3 14 01 01 05") << 0 << 0 << QByteArray();
    QTest::newRow("field 44") << zeroPadded("a3 14 2c 00 01") << 0 << 0 << QByteArray();
}

void TestBaseEmulator::settingReportsChangeOnlyTheirField()
{
    QFETCH(QByteArray, report);
    QFETCH(int, recordId);
    QFETCH(int, offset);
    QFETCH(QByteArray, stored);
    BaseEmulator::addBase(joystick);
    hid_device* handle = openJoystick();
    QVERIFY(handle);
    QCOMPARE(hid_write(handle, reinterpret_cast<const unsigned char*>(report.constData()), 65), 65);
    hid_close(handle);

    for (int id : {0x21, 0x22, 0xA1, 0xA2}) {
        QByteArray expected(64, '\0');
        if (id == recordId)
            expected.replace(offset, stored.size(), stored);
        const auto live = BaseEmulator::settingsRecord(joystick, uint8_t(id));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(live.data()), 64), expected);
        QCOMPARE(BaseEmulator::settingsRecord(joystick, uint8_t(id), true)[offset], uint8_t(0));
    }
}

void TestBaseEmulator::preloadedEmulatorAnswersARealProgram()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString logPath = dir.filePath("reports.log");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_PRELOAD", EMULATOR_PRELOAD);
    environment.insert("TORQUIX_EMULATOR_BASES", "rudder,joystick");
    environment.insert("TORQUIX_EMULATOR_FIRMWARE", "RC.24.5.3");
    environment.insert("TORQUIX_EMULATOR_REPORT_LOG", logPath);
    QProcess probe;
    probe.setProcessEnvironment(environment);
    const auto before = std::chrono::steady_clock::now();
    probe.start(EMULATOR_PROBE, QStringList());
    QVERIFY(probe.waitForFinished(30000));
    const auto after = std::chrono::steady_clock::now();

    const QByteArray output = probe.readAllStandardOutput();
    QCOMPARE(probe.exitCode(), 0);
    QVERIFY2(output.contains("read 65 firmware 1.24.5.3"), output.constData());
    QVERIFY2(output.contains("wrote 65"), output.constData());

    const auto log = BaseEmulator::readReportLog(logPath.toStdString());
    QCOMPARE(log.size(), size_t(1));
    QCOMPARE(log[0].productId, joystick);
    QCOMPARE(toBytes(log[0].bytes), zeroPadded("a3 10 01 01 d204"));
    QVERIFY(log[0].time >= before - std::chrono::milliseconds(1) && log[0].time <= after);
}

QTEST_GUILESS_MAIN(TestBaseEmulator)
#include "tst_baseemulator.moc"
