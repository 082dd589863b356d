// End-to-end runs of the real torquix-commander: offscreen, the base emulator preloaded
// in place of the bases, loopback UDP datagrams as the simulator, an SDL virtual
// joystick for the trim buttons, and the UI driver to look at and work the window.
#include "commanderprocess.h"
#include "httpresponder.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

using BaseEmulator::WrittenReport;

namespace {

constexpr unsigned short joystick = 22777;
constexpr unsigned short rudder = 22888;
constexpr unsigned short collective = 22001;

quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

QString screenshotPath(const QString& name)
{
    QString root = qEnvironmentVariable("TORQUIX_SCREENSHOT_DIR");
    if (root.isEmpty())
        root = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    const QString folder = root + QStringLiteral("/tst_commander");
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + name + QStringLiteral(".png");
}

// The direct-control reports (A3 10 01) each base received, oldest first.
std::vector<std::vector<uint8_t>> forceReports(const std::vector<WrittenReport>& log,
                                               unsigned short productId)
{
    std::vector<std::vector<uint8_t>> result;
    for (const WrittenReport& report : log) {
        if (report.productId == productId && report.bytes.size() == 65 && report.bytes[0] == 0xA3
            && report.bytes[1] == 0x10 && report.bytes[2] == 0x01)
            result.push_back(report.bytes);
    }
    return result;
}

std::vector<uint8_t> zeroForceReport(uint8_t deviceAxis)
{
    std::vector<uint8_t> report(65, 0);
    report[0] = 0xA3;
    report[1] = 0x10;
    report[2] = 0x01;
    report[3] = deviceAxis;
    return report;
}

} // namespace

class TestCommander : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startsWithBasesConnectedAndAsksForReleasesOnce();
    void dcsDatagramsReachTheStatusPanel();
    void trimButtonIsAssignedThroughTheWindow();
    void quittingLeavesEveryBaseWithoutForce_data();
    void quittingLeavesEveryBaseWithoutForce();

private:
    void writeConfig(const QString& key, const QVariant& value);
    void sendDcs(const QByteArray& json);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<CommanderProcess> program;
    quint16 dcsPort = 0;
};

void TestCommander::init()
{
    program.reset();
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    program.reset(new CommanderProcess(dir->path()));
    dcsPort = freeUdpPort();
}

void TestCommander::writeConfig(const QString& key, const QVariant& value)
{
    QSettings ini(dir->filePath("config.ini"), QSettings::IniFormat);
    ini.setValue(key, value);
}

void TestCommander::sendDcs(const QByteArray& json)
{
    QUdpSocket sender;
    sender.writeDatagram(json, QHostAddress::LocalHost, dcsPort);
}

void TestCommander::startsWithBasesConnectedAndAsksForReleasesOnce()
{
    HttpResponder releases;
    QVERIFY(releases.listen());
    releases.setResponse("/assets/firmware/version.json", {200, "{}", {}, 0, 0});
    CommanderProcess::Options options;
    options.releaseServer = releases.baseUrl().toString();
    QVERIFY(program->start(options));
    QCOMPARE(program->command({"shown"}), QString(""));
    QCOMPARE(program->command({"text", "MainWindow"}), QString("Torquix Commander (RC.24.1.2)"));
    for (const char* field : {"joystick_state", "rudder_state", "throttle_state"})
        QVERIFY2(program->waitForText(field, "Connected (RC.24.1.2)"), field);

    QTRY_COMPARE(releases.requestedPaths().size(), 1);
    QCOMPARE(releases.requestedPaths().at(0), QByteArray("/assets/firmware/version.json"));
    QTest::qWait(300);
    QCOMPARE(releases.requestedPaths().size(), 1);
    QCOMPARE(program->command({"close"}), QString(""));
    QVERIFY2(program->waitForCleanExit(), program->errorOutput().constData());
}

void TestCommander::dcsDatagramsReachTheStatusPanel()
{
    writeConfig("CORE/default_telemetry", 1);
    writeConfig("DCS/port", dcsPort);
    QVERIFY(program->start());
    QCOMPARE(program->command({"shown"}), QString(""));

    // The first datagram finds the simulator, the next ones are its records.
    const QByteArray record = R"({"name":"Jet-7","speed":321.5,"v_speed":-2.5,"g":1.5,"aoa":4})";
    QTRY_VERIFY_WITH_TIMEOUT((sendDcs(record), program->command({"text", "airspeed_field"}) == "321.5"), 10000);
    QCOMPARE(program->command({"text", "flight_module"}), QString("Jet-7"));
    QCOMPARE(program->command({"text", "telemetry_data_source_combo"}), QString("DCS"));

    const QStringList tabs = {"effects", "hardware_trim", "game_config"};
    for (int tab = 0; tab < tabs.size(); ++tab) {
        QCOMPARE(program->command({"tab", "tabWidget", QString::number(tab)}), QString(""));
        sendDcs(record);
        QTest::qWait(200);
        QVERIFY(!program->command({"screenshot", screenshotPath("tab_" + tabs[tab])}).isNull());
    }
    program->sendSignal(SIGTERM);
    QVERIFY2(program->waitForCleanExit(), program->errorOutput().constData());
}

void TestCommander::trimButtonIsAssignedThroughTheWindow()
{
    QVERIFY(program->start());
    QCOMPARE(program->command({"shown"}), QString(""));
    QCOMPARE(program->command({"joystick", "Stick:Left", "8", "1"}), QString("joystick"));
    QCOMPARE(program->command({"tab", "tabWidget", "1"}), QString(""));
    QCOMPARE(program->command({"tab", "hardware_trim_config_wifget/tabWidget", "2"}), QString(""));
    QCOMPARE(program->command({"click", "yaw_left_assign_button"}), QString(""));
    QTRY_COMPARE(program->command({"modal"}), QString("Waiting for joystick button press..."));
    QCOMPARE(program->command({"button", "3", "1"}), QString(""));
    QTRY_COMPARE(program->command({"modal"}), QString(""));
    QCOMPARE(program->command({"button", "3", "0"}), QString(""));

    QCOMPARE(program->command({"text", "yaw_left_assign_button"}), QString("Stick:Left (Button 3)"));
    QSettings ini(dir->filePath("config.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value("YAW_TRIMMER/increase").toString(), QString("Stick:Left:Button:3"));
    QVERIFY(!program->command({"screenshot", screenshotPath("trim_assigned")}).isNull());
    QCOMPARE(program->command({"close"}), QString(""));
    QVERIFY2(program->waitForCleanExit(), program->errorOutput().constData());
}

void TestCommander::quittingLeavesEveryBaseWithoutForce_data()
{
    QTest::addColumn<int>("signalNumber"); // 0: the window is closed
    QTest::newRow("window closed") << 0;
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestCommander::quittingLeavesEveryBaseWithoutForce()
{
    QFETCH(int, signalNumber);
    QVERIFY(program->start());
    QVERIFY(program->waitForText("throttle_state", "Connected (RC.24.1.2)"));
    if (signalNumber == 0)
        QCOMPARE(program->command({"close"}), QString(""));
    else
        program->sendSignal(signalNumber);
    QVERIFY2(program->waitForCleanExit(), program->errorOutput().constData());

    const std::vector<WrittenReport> log = program->reports();
    const auto joystickForces = forceReports(log, joystick);
    QVERIFY(joystickForces.size() >= 2);
    QVERIFY(joystickForces[joystickForces.size() - 2] == zeroForceReport(0));
    QVERIFY(joystickForces.back() == zeroForceReport(1));
    QVERIFY(forceReports(log, rudder).back() == zeroForceReport(0));
    QVERIFY(forceReports(log, collective).back() == zeroForceReport(0));
}

QTEST_GUILESS_MAIN(TestCommander)
#include "tst_commander.moc"
