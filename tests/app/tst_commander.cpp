// End-to-end runs of the real torquix-commander: offscreen, the base emulator preloaded
// in place of the bases, loopback UDP datagrams or DCS's export scripts under the export
// harness as the simulator, an SDL virtual joystick for the trim buttons, and the UI
// driver to look at and work the window.
#include "dcsexportharness.h"
#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "httpresponder.h"
#include "programprocess.h"
#include "workerfixture.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <algorithm>
#include <csignal>
#include <memory>
#include <set>

namespace {

constexpr unsigned short joystick = 22777;
constexpr unsigned short rudder = 22888;
constexpr unsigned short collective = 22001;
const QString threeBases = "joystick,rudder,collective";
const QString cleanEnd = "ended handles 0 exits 0 code 0"; // every base closed; hid_exit is SDL's
const QString everyBaseConnected = "Connected (RC.24.1.2) / Connected (RC.24.1.2) / Connected (RC.24.1.2)";
const QStringList baseStates = {"get joystick_state text", "get rudder_state text", "get throttle_state text"};

// The spring forces of the rudder's reports, oldest first.
std::vector<int> rudderSprings(const ProgramProcess& program)
{
    std::vector<int> springs;
    for (const Report& report : directControlReports(rudder, program.reports()))
        springs.push_back(directControlOf(report).springForce);
    return springs;
}

// The spring force of the rudder's last report; -1 before the first.
int rudderSpring(const ProgramProcess& program)
{
    const std::vector<int> springs = rudderSprings(program);
    return springs.empty() ? -1 : springs.back();
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A pilot's Export.lua, as Windows editors leave it: the line another exporter's
// installer added, and no line end at the end.
const QByteArray pilotsExportLua = "-- Data export script for DCS World.\r\n"
    "-- Each tool adds the line that runs it; keep them on lines of their own.\r\n"
    "\r\n"
    "-- FlightLog\r\n"
    "local FlightLoglfs=require('lfs');dofile(FlightLoglfs.writedir()..'Scripts/FlightLog/FlightLogExport.lua')";

// That exporter: it chains to the callbacks defined before it, as exporters do, and
// writes a line of the flight every second and the frame count at the end.
const QByteArray flightLogExportLua = R"(-- FlightLog: a line of the flight every second into Logs/FlightLog.csv.
FlightLog = { interval = 1.0 }
local lfs = require('lfs')

local previousStart = LuaExportStart
local previousAfterNextFrame = LuaExportAfterNextFrame
local previousStop = LuaExportStop

LuaExportStart = function()
    FlightLog.file = io.open(lfs.writedir() .. 'Logs/FlightLog.csv', 'w')
    FlightLog.frames = 0
    FlightLog.nextLine = 0
    if FlightLog.file then
        FlightLog.file:write('time;aircraft;ias\n')
    end
    if previousStart then
        previousStart()
    end
end

LuaExportAfterNextFrame = function()
    FlightLog.frames = FlightLog.frames + 1
    local now = LoGetModelTime()
    if FlightLog.file and now >= FlightLog.nextLine then
        local self = LoGetSelfData()
        FlightLog.file:write(string.format('%.1f;%s;%.1f\n', now, self and self.Name or '', LoGetIndicatedAirSpeed() or 0))
        FlightLog.nextLine = now + FlightLog.interval
    end
    if previousAfterNextFrame then
        previousAfterNextFrame()
    end
end

LuaExportStop = function()
    if FlightLog.file then
        FlightLog.file:write(string.format('frames;%d\n', FlightLog.frames))
        FlightLog.file:close()
        FlightLog.file = nil
    end
    if previousStop then
        previousStop()
    end
end
)";

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
    void dcsFolderUpdatedOnThePageDrivesTheRudder();

private:
    void prepareDcsFlight();
    // A hand-made profile for the module gives the rudder an airspeed spring of airspeed / 10 percent.
    void addRudderSpringProfile(const QString& module);
    // Sends DCS records of the aircraft "Jet-7" at this airspeed until the rudder's spring is
    // springForce; false after 10 s.
    bool flyUntilRudderSpring(int airspeed, int springForce);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<ProgramProcess> program;
    quint16 dcsPort = 0;
};

void TestCommander::init()
{
    program.reset();
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
    program.reset(new ProgramProcess(TORQUIX_COMMANDER, dir->path()));
    dcsPort = freeUdpPort();
}

// DCS is the stored source, and the rudder has a profile for "Jet-7".
void TestCommander::prepareDcsFlight()
{
    QSettings ini(dir->filePath("config.ini"), QSettings::IniFormat);
    ini.setValue("CORE/default_telemetry", 1);
    ini.setValue("DCS/port", dcsPort);
    addRudderSpringProfile("Jet-7");
}

void TestCommander::addRudderSpringProfile(const QString& module)
{
    EffectsProfile profile;
    profile.setDefaults();
    profile.metadata.source = Telemetry::TELEMETRY_SOURCE_DCS;
    profile.metadata.flightModule = module;
    profile.effects = airspeedSpringSettings(2);
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
    // Plain http stays with the loopback server: its redirect to another origin is not followed.
    HttpResponder releases;
    HttpResponder elsewhere;
    QVERIFY(releases.listen() && elsewhere.listen());
    releases.setResponse("/assets/firmware/version.json", {302, "", {{"Location", elsewhere.baseUrl().toEncoded() + "/x"}}, 0, 0});
    QVERIFY(program->start(threeBases, {}, releases.baseUrl().toString()));
    QCOMPARE(program->ask({"shown", "get MainWindow windowTitle"}), "shown / Torquix Commander (RC.24.1.2)");
    QTRY_COMPARE_WITH_TIMEOUT(program->ask(baseStates), everyBaseConnected, ProgramProcess::discoveryMs);

    QTRY_COMPARE(releases.requestedPaths(), QList<QByteArray>{"/assets/firmware/version.json"});
    QTest::qWait(300);
    QCOMPARE(releases.requestedPaths().size(), 1);
    QCOMPARE(elsewhere.requestedPaths(), QList<QByteArray>());
    QCOMPARE(program->finish(), cleanEnd);
}

void TestCommander::profileSavedInOneRunIsActivatedInTheNext()
{
    prepareDcsFlight();
    QVERIFY(program->start(threeBases));
    QVERIFY(flyUntilRudderSpring(250, 2500));
    QVERIFY(flyUntilRudderSpring(150, 1500));
    QCOMPARE(program->ask({"get airspeed_field text", "get flight_module text"}), "150 / Jet-7");
    QCOMPARE(program->ask("click effect_settings_widget/tabWidget 2"), "clicked");
    const QStringList tabs = {"effects", "hardware_trim", "game_config"};
    for (int tab = 0; tab < tabs.size(); ++tab)
        QCOMPARE(program->ask({QString("click tabWidget %1").arg(tab), "shot tab_" + tabs[tab]}), "clicked / saved");
    QCOMPARE(program->ask({"click tabWidget 0", "click save_profile"}), "clicked / clicked");
    QTRY_VERIFY(QFile::exists(dir->filePath("effect_profiles/DCS_Jet_7.json")));
    QCOMPARE(program->finish(), cleanEnd);

    // Only the profile saved by the first run is left for the aircraft.
    QVERIFY(QFile::remove(dir->filePath("effect_profiles/handmade.json")));
    QVERIFY(QFile::remove(dir->filePath("reports.log")));
    program.reset(new ProgramProcess(TORQUIX_COMMANDER, dir->path()));
    QVERIFY(program->start(threeBases));
    QVERIFY(flyUntilRudderSpring(250, 2500));
    QCOMPARE(program->ask("get profile_combo currentText"), "Jet-7 [DCS]");
    QCOMPARE(program->finish(), cleanEnd);
}

void TestCommander::trimButtonIsAssignedThroughTheWindow()
{
    QVERIFY(program->start(threeBases));
    QCOMPARE(program->ask({"joystick Stick:Left 8 1", "click tabWidget 1", "click hardware_trim_config_wifget/tabWidget 2",
                           "click yaw_left_assign_button"}), "plugged / clicked / clicked / clicked");
    QTRY_COMPARE(program->ask("modal"), "Waiting for joystick button press...");
    QCOMPARE(program->ask("button 3 1"), "pressed");
    QTRY_COMPARE(program->ask("modal"), "");

    QCOMPARE(program->ask("get yaw_left_assign_button text"), "Stick:Left (Button 3)");
    QCOMPARE(QSettings(dir->filePath("config.ini"), QSettings::IniFormat).value("YAW_TRIMMER/increase"),
             "Stick:Left:Button:3");
    QCOMPARE(program->ask("shot trim_assigned"), "saved");
    QCOMPARE(program->finish(), cleanEnd);
}

void TestCommander::quittingLeavesEveryBaseWithoutForce_data()
{
    QTest::addColumn<int>("signalNumber"); // 0: the driver's command ends the program
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("answer");
    QTest::newRow("window closed") << 0 << "close" << "closing";
    QTest::newRow("desktop session ended") << 0 << "endsession" << "ending session";
    QTest::newRow("SIGTERM") << int(SIGTERM) << "" << "";
    QTest::newRow("SIGINT") << int(SIGINT) << "" << "";
    QTest::newRow("SIGHUP: terminal closed") << int(SIGHUP) << "" << "";
    QTest::newRow("SIGQUIT") << int(SIGQUIT) << "" << "";
}

void TestCommander::quittingLeavesEveryBaseWithoutForce()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, command);
    QFETCH(QString, answer);
    prepareDcsFlight();
    QVERIFY(program->start(threeBases));
    QTRY_COMPARE_WITH_TIMEOUT(program->ask(baseStates), everyBaseConnected, ProgramProcess::discoveryMs);
    QVERIFY(flyUntilRudderSpring(250, 2500));
    QCOMPARE(signalNumber != 0 ? program->finish(signalNumber) : program->finish(command, answer), cleanEnd);

    const auto log = program->reports();
    const std::vector<Report> joystickForces = directControlReports(joystick, log);
    QVERIFY(joystickForces.size() >= 2);
    QCOMPARE(std::vector<Report>(joystickForces.end() - 2, joystickForces.end()), (std::vector<Report>{zeroForceReport(0), zeroForceReport(1)}));
    QCOMPARE(directControlReports(rudder, log).back(), zeroForceReport(0));
    QCOMPARE(directControlReports(collective, log).back(), zeroForceReport(0));
}

// The pilot's own Saved Games folder, updated on the "Game config" page, then DCS,
// played by the export harness, flying a take-off with the commander restarted.
void TestCommander::dcsFolderUpdatedOnThePageDrivesTheRudder()
{
    QVERIFY2(!DcsExportHarness::lua().isEmpty(), "lua5.1 is not installed (scripts/install-deps.sh installs it)");
    const QString savedGames = dir->filePath("Saved Games/DCS");
    QVERIFY(QDir().mkpath(savedGames + "/Logs") && QDir().mkpath(savedGames + "/Scripts/FlightLog"));
    QVERIFY(writeFile(savedGames + "/Scripts/Export.lua", pilotsExportLua));
    QVERIFY(writeFile(savedGames + "/Scripts/FlightLog/FlightLogExport.lua", QByteArray(flightLogExportLua).replace("\n", "\r\n")));
    {
        QSettings ini(dir->filePath("config.ini"), QSettings::IniFormat);
        ini.setValue("CORE/default_telemetry", 1);
        ini.setValue("DCS/path", savedGames);
    }
    addRudderSpringProfile("F-16C_50");

    QVERIFY(program->start(threeBases));
    QCOMPARE(program->ask({"shown", "click tabWidget 2", QString("set dcs_port_spinbox value %1").arg(dcsPort),
                           "click dcs_update_button"}),
             "shown / clicked / set / clicked");
    QTRY_COMPARE(program->ask("modal"), "You need to restart Torquix Commander in order to activate changes in config");
    QCOMPARE(program->ask("press OK"), "clicked");
    QTRY_COMPARE(program->ask("modal"), "");
    QCOMPARE(program->finish(), cleanEnd);
    QVERIFY(readFile(savedGames + "/Scripts/Export.lua").startsWith(pilotsExportLua));

    program.reset(new ProgramProcess(TORQUIX_COMMANDER, dir->path()));
    QVERIFY(program->start(threeBases));
    QTRY_COMPARE_WITH_TIMEOUT(program->ask(baseStates), everyBaseConnected, ProgramProcess::discoveryMs);
    DcsExportHarness dcs;
    DcsExportHarness::Flight takeoff;
    takeoff.scenario = "takeoff";
    takeoff.frames = 250;
    takeoff.maxPauseMs = 40; // about 50 frames a second of real time
    takeoff.script = "Scripts/Export.lua";
    takeoff.stopFile = dir->filePath("mission ended");
    QVERIFY(dcs.start(savedGames, takeoff));
    // From 20 m/s to 90 m/s, that is 324 km/h and a spring of 32.4 %; the aircraft holds
    // that speed until the mission ends.
    QTRY_COMPARE_WITH_TIMEOUT(program->ask({"get flight_module text", "get airspeed_field text"}), "F-16C_50 / 324", 30000);
    QTRY_COMPARE_WITH_TIMEOUT(rudderSpring(*program), 3240, 30000);
    QVERIFY(writeFile(takeoff.stopFile, {}));
    QVERIFY(dcs.finish());
    QCOMPARE(program->finish(), cleanEnd);

    // The spring rose with the airspeed, beyond that of 20 m/s, and never fell.
    const std::vector<int> springs = rudderSprings(*program);
    const auto top = std::find(springs.begin(), springs.end(), 3240);
    QVERIFY(std::is_sorted(springs.begin(), top));
    const std::set<int> rising(std::upper_bound(springs.begin(), top, 720), top);
    QVERIFY2(rising.size() >= 3, qPrintable(QString::number(rising.size())));

    // Both exporters ran every frame, and ours sent to the port the page wrote.
    QVERIFY2(dcs.logLines().isEmpty(), qPrintable(dcs.logLines().join('\n')));
    const QRegularExpressionMatch calls = QRegularExpression(QStringLiteral("previous start=1 frames=(\\d+) stop=1 port=(\\d+)"))
                                              .match(QString::fromUtf8(dcs.output()));
    QVERIFY2(calls.hasMatch(), dcs.output().constData());
    QCOMPARE(calls.captured(2).toInt(), int(dcsPort));
    const QList<QByteArray> flightLog = readFile(savedGames + "/Logs/FlightLog.csv").trimmed().split('\n');
    QVERIFY2(flightLog.size() > 5, flightLog.join('|').constData());
    QCOMPARE(flightLog.first(), "time;aircraft;ias");
    QCOMPARE(flightLog.at(1), "0.0;F-16C_50;20.4");
    QCOMPARE(QString::fromUtf8(flightLog.at(flightLog.size() - 2)).section(';', 1), "F-16C_50;90.0");
    QCOMPARE(flightLog.last(), "frames;" + calls.captured(1).toUtf8());
}

QTEST_GUILESS_MAIN(TestCommander)
#include "tst_commander.moc"
