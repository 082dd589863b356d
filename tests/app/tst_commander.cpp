// End-to-end runs of the real torquix-commander: offscreen, the base emulator preloaded
// in place of the bases, loopback UDP datagrams as the simulator, an SDL virtual
// joystick for the trim buttons, and the UI driver to look at and work the window.
#include "commanderprocess.h"
#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "httpresponder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

using Report = std::vector<uint8_t>;

namespace {

constexpr unsigned short joystick = 22777;
constexpr unsigned short rudder = 22888;
constexpr unsigned short collective = 22001;

QString screenshotPath(const QString& name)
{
    // Absolute: the program saves it from its own working folder.
    const QDir folder(qEnvironmentVariable("TORQUIX_SCREENSHOT_DIR", ".") + "/tst_commander");
    folder.mkpath(".");
    return folder.absoluteFilePath(name + ".png");
}

// The direct-control reports one base received, oldest first.
std::vector<Report> forceReports(const std::vector<BaseEmulator::WrittenReport>& log, unsigned short productId)
{
    std::vector<Report> result;
    for (const BaseEmulator::WrittenReport& report : log) {
        if (report.productId == productId && report.bytes.size() == 65
            && Report(report.bytes.begin(), report.bytes.begin() + 3) == Report{0xA3, 0x10, 0x01})
            result.push_back(report.bytes);
    }
    return result;
}

// The spring force of the rudder's last report; -1 before the first.
int rudderSpring(const CommanderProcess& program)
{
    const std::vector<Report> reports = forceReports(program.reports(), rudder);
    return reports.empty() ? -1 : int16_t(reports.back()[4] | reports.back()[5] << 8);
}

Report zeroForces(uint8_t deviceAxis)
{
    Report report(65, 0);
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
    void profileSavedInOneRunIsActivatedInTheNext();
    void trimButtonIsAssignedThroughTheWindow();
    void quittingLeavesEveryBaseWithoutForce_data();
    void quittingLeavesEveryBaseWithoutForce();

private:
    void prepareDcsFlight();
    // Sends DCS records of the aircraft "Jet-7" at this airspeed until the rudder's spring is
    // springForce; false after 10 s.
    bool flyUntilRudderSpring(int airspeed, int springForce);

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
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    dcsPort = probe.localPort();
}

// DCS is the stored source, and a hand-made profile for "Jet-7" gives the rudder an
// airspeed spring of airspeed / 10 percent.
void TestCommander::prepareDcsFlight()
{
    QSettings ini(dir->filePath("config.ini"), QSettings::IniFormat);
    ini.setValue("CORE/default_telemetry", 1);
    ini.setValue("DCS/port", dcsPort);
    EffectsProfile profile;
    profile.setDefaults();
    profile.metadata.source = Telemetry::TELEMETRY_SOURCE_DCS;
    profile.metadata.flightModule = "Jet-7";
    AirspeedSpringSettings& spring = profile.effects.axes[2].airspeedSpring;
    spring.active = true;
    spring.total_effect_strength = 100;
    ResponseCurvePoint tenth[ResponseCurve::pointCount];
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        tenth[i] = {float(i * 100), float(i * 10)};
    spring.curve1.setPoints(tenth);
    QVERIFY(QDir(dir->path()).mkpath("effect_profiles"));
    QVERIFY(writeEffectsProfileFile(dir->filePath("effect_profiles/handmade.json"), profile));
}

bool TestCommander::flyUntilRudderSpring(int airspeed, int springForce)
{
    // The first datagram finds the simulator, the next ones are its records; an activated
    // profile fades in over a second.
    const QByteArray record = QString(R"({"name":"Jet-7","speed":%1,"v_speed":-2.5,"g":1.5})").arg(airspeed).toUtf8();
    for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QTest::qWait(50)) {
        QUdpSocket().writeDatagram(record, QHostAddress::LocalHost, dcsPort);
        if (rudderSpring(*program) == springForce)
            return true;
    }
    return false;
}

void TestCommander::startsWithBasesConnectedAndAsksForReleasesOnce()
{
    HttpResponder releases;
    QVERIFY(releases.listen());
    releases.setResponse("/assets/firmware/version.json", {200, "{}", {}, 0, 0});
    QVERIFY(program->start(releases.baseUrl().toString()));
    QCOMPARE(program->command({"shown"}), "");
    QCOMPARE(program->command({"text", "MainWindow"}), "Torquix Commander (RC.24.1.2)");
    for (const char* field : {"joystick_state", "rudder_state", "throttle_state"})
        QVERIFY2(program->waitForText(field, "Connected (RC.24.1.2)"), field);

    QTRY_COMPARE(releases.requestedPaths(), QList<QByteArray>{"/assets/firmware/version.json"});
    QTest::qWait(300);
    QCOMPARE(releases.requestedPaths().size(), 1);
    QCOMPARE(program->command({"close"}), "");
    QVERIFY2(program->waitForCleanExit(), program->errorOutput());
}

void TestCommander::profileSavedInOneRunIsActivatedInTheNext()
{
    prepareDcsFlight();
    QVERIFY(program->start());
    QVERIFY(flyUntilRudderSpring(250, 2500));
    QVERIFY(flyUntilRudderSpring(150, 1500));
    QCOMPARE(program->command({"text", "airspeed_field"}), "150");
    QCOMPARE(program->command({"text", "flight_module"}), "Jet-7");
    QCOMPARE(program->command({"click", "effect_settings_widget/tabWidget", "2"}), "");
    const QStringList tabs = {"effects", "hardware_trim", "game_config"};
    for (int tab = 0; tab < tabs.size(); ++tab) {
        QCOMPARE(program->command({"click", "tabWidget", QString::number(tab)}), "");
        QVERIFY(!program->command({"screenshot", screenshotPath("tab_" + tabs[tab])}).isNull());
    }
    QCOMPARE(program->command({"click", "tabWidget", "0"}), "");
    QCOMPARE(program->command({"click", "save_profile"}), "");
    QTRY_VERIFY(QFile::exists(dir->filePath("effect_profiles/DCS_Jet_7.json")));
    QCOMPARE(program->command({"close"}), "");
    QVERIFY2(program->waitForCleanExit(), program->errorOutput());

    // Only the profile saved by the first run is left for the aircraft.
    QVERIFY(QFile::remove(dir->filePath("effect_profiles/handmade.json")));
    QVERIFY(QFile::remove(dir->filePath("reports.log")));
    program.reset(new CommanderProcess(dir->path()));
    QVERIFY(program->start());
    QVERIFY(flyUntilRudderSpring(250, 2500));
    QCOMPARE(program->command({"text", "profile_combo"}), "Jet-7 [DCS]");
    QCOMPARE(program->command({"close"}), "");
    QVERIFY2(program->waitForCleanExit(), program->errorOutput());
}

void TestCommander::trimButtonIsAssignedThroughTheWindow()
{
    QVERIFY(program->start());
    QCOMPARE(program->command({"joystick", "Stick:Left", "8", "1"}), "");
    QCOMPARE(program->command({"click", "tabWidget", "1"}), "");
    QCOMPARE(program->command({"click", "hardware_trim_config_wifget/tabWidget", "2"}), "");
    QCOMPARE(program->command({"click", "yaw_left_assign_button"}), "");
    QTRY_COMPARE(program->command({"modal"}), "Waiting for joystick button press...");
    QCOMPARE(program->command({"button", "3", "1"}), "");
    QTRY_COMPARE(program->command({"modal"}), "");

    QCOMPARE(program->command({"text", "yaw_left_assign_button"}), "Stick:Left (Button 3)");
    QCOMPARE(QSettings(dir->filePath("config.ini"), QSettings::IniFormat).value("YAW_TRIMMER/increase"),
             "Stick:Left:Button:3");
    QVERIFY(!program->command({"screenshot", screenshotPath("trim_assigned")}).isNull());
    QCOMPARE(program->command({"close"}), "");
    QVERIFY2(program->waitForCleanExit(), program->errorOutput());
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
    prepareDcsFlight();
    QVERIFY(program->start());
    QVERIFY(program->waitForText("throttle_state", "Connected (RC.24.1.2)"));
    QVERIFY(flyUntilRudderSpring(250, 2500));
    if (signalNumber == 0)
        QCOMPARE(program->command({"close"}), "");
    else
        program->sendSignal(signalNumber);
    QVERIFY2(program->waitForCleanExit(), program->errorOutput());

    const auto log = program->reports();
    const std::vector<Report> joystickForces = forceReports(log, joystick);
    QVERIFY(joystickForces.size() >= 2);
    QCOMPARE(std::vector<Report>(joystickForces.end() - 2, joystickForces.end()), (std::vector<Report>{zeroForces(0), zeroForces(1)}));
    QCOMPARE(forceReports(log, rudder).back(), zeroForces(0));
    QCOMPARE(forceReports(log, collective).back(), zeroForces(0));
}

QTEST_GUILESS_MAIN(TestCommander)
#include "tst_commander.moc"
