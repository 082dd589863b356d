// End-to-end runs of the real torquix-commander: offscreen, the base emulator preloaded
// in place of the bases, loopback UDP datagrams as the simulator, an SDL virtual
// joystick for the trim buttons, and the UI driver to look at and work the window.
#include "commanderflight.h"
#include "httpresponder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <memory>
#include <set>

using namespace CommanderFlight;

namespace {

bool writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// A pilot's Export.lua as Windows editors leave it: the line another exporter's installer
// added, and no line end at the end.
const QByteArray pilotsExportLua = "-- Data export script for DCS World.\r\n"
    "local FlightLoglfs=require('lfs');dofile(FlightLoglfs.writedir()..'Scripts/FlightLog/FlightLogExport.lua')";

// That exporter chains to the callbacks defined before it, as exporters do, and at the
// end writes the aircraft, its airspeed and the frames it saw.
const QByteArray flightLogExportLua = R"(local lfs, start, frame, stop = require('lfs'), LuaExportStart, LuaExportAfterNextFrame, LuaExportStop
local log, frames
function LuaExportStart() log, frames = io.open(lfs.writedir() .. 'FlightLog.csv', 'w'), 0; if start then start() end end
function LuaExportAfterNextFrame() frames = frames + 1; if frame then frame() end end
function LuaExportStop()
    log:write(string.format('%s;%.1f;%d', LoGetSelfData().Name, LoGetIndicatedAirSpeed(), frames)); log:close(); if stop then stop() end
end)";

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
    prepareDcsFlight(dir->path(), dcsPort);
    QVERIFY(program->start(threeBases));
    QVERIFY(flyUntilRudderSpring(*program, dcsPort, 250, 2500));
    QVERIFY(flyUntilRudderSpring(*program, dcsPort, 150, 1500));
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
    QVERIFY(flyUntilRudderSpring(*program, dcsPort, 250, 2500));
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
    QTest::addColumn<QString>("command");  // with a signal, "again": the stop hangs until it comes again;
                                           // "ignored": ignored at start, then the window is closed
    QTest::newRow("window closed") << 0 << "close";
    QTest::newRow("desktop session ended") << 0 << "endsession";
    QTest::newRow("SIGTERM") << int(SIGTERM) << "";
    QTest::newRow("SIGINT") << int(SIGINT) << "";
    QTest::newRow("SIGHUP: terminal closed") << int(SIGHUP) << "";
    QTest::newRow("SIGQUIT") << int(SIGQUIT) << "";
    QTest::newRow("second SIGTERM") << int(SIGTERM) << "again";
    QTest::newRow("second SIGINT") << int(SIGINT) << "again";
    QTest::newRow("second SIGHUP") << int(SIGHUP) << "again";
    QTest::newRow("second SIGQUIT") << int(SIGQUIT) << "again";
    QTest::newRow("SIGHUP under nohup") << int(SIGHUP) << "ignored";
}

// Every way to end the program zeroes every base's forces first, before any base is closed;
// where the stop then hangs (the emulated bases' close never returns), the same signal once
// more ends the program at once, by that signal.
void TestCommander::quittingLeavesEveryBaseWithoutForce()
{
    QFETCH(int, signalNumber);
    QFETCH(QString, command);
    prepareDcsFlight(dir->path(), dcsPort);
    const QString stalled = dir->filePath("close stalled");
    if (command == "again")
        program->setEnvironmentValue("TORQUIX_EMULATOR_STALL_CLOSE", stalled);
    if (command == "ignored")
        program->ignoreSignalAtStart(signalNumber);
    QVERIFY(program->start(threeBases));
    QTRY_COMPARE_WITH_TIMEOUT(program->ask(baseStates), everyBaseConnected, ProgramProcess::discoveryMs);
    QVERIFY(flyUntilRudderSpring(*program, dcsPort, 250, 2500));
    if (command == "again") {
        QCOMPARE(::kill(pid_t(program->processId()), signalNumber), 0);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(stalled), 10000);
    }
    if (command == "ignored") {
        QCOMPARE(::kill(pid_t(program->processId()), signalNumber), 0);
        QTest::qWait(300); // time to stop, were the signal taken
        signalNumber = 0;
        command = "close";
    }
    QCOMPARE(program->finish(signalNumber, command),
             command == "again" ? QString(" code crashed by signal %1").arg(signalNumber) : cleanEnd);

    QCOMPARE(axesLeftWithForce(program->reports()), QString());
}

// The pilot's own Saved Games folder, updated on the "Game config" page; then DCS, played
// by the export harness, flies a take-off through that Export.lua.
void TestCommander::dcsFolderUpdatedOnThePageDrivesTheRudder()
{
    const QString lua = QStandardPaths::findExecutable("lua5.1");
    QVERIFY2(!lua.isEmpty(), "lua5.1 is not installed (scripts/install-deps.sh installs it)");
    const QString savedGames = dir->filePath("Saved Games/DCS");
    QVERIFY(QDir().mkpath(savedGames + "/Scripts/FlightLog"));
    QVERIFY(writeFile(savedGames + "/Scripts/Export.lua", pilotsExportLua));
    QVERIFY(writeFile(savedGames + "/Scripts/FlightLog/FlightLogExport.lua", flightLogExportLua));
    prepareDcsFlight(dir->path(), dcsPort, "F-16C_50");
    QSettings(dir->filePath("config.ini"), QSettings::IniFormat).setValue("DCS/path", savedGames);
    QVERIFY(program->start(threeBases));
    QCOMPARE(program->ask({"shown", "click tabWidget 2", "click dcs_update_button"}), "shown / clicked / clicked");
    QTRY_COMPARE_WITH_TIMEOUT(program->ask("modal"), "You need to restart Torquix Commander in order to activate changes in config", 30000);
    QCOMPARE(program->ask("press OK"), "clicked");

    // The export harness: about 50 frames a second of real time, from 20 m/s to 90 m/s
    // (324 km/h, a spring of 32.4 %), held until the mission ends.
    const QString missionEnded = dir->filePath("mission ended");
    QProcess dcs;
    dcs.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dcs.start(lua, {qEnvironmentVariable("TORQUIX_SOURCE_DIR") + "/tests/support/dcs_export_harness.lua", savedGames + "/", "250",
                    "0.02", "takeoff", "pause=40", "script=Scripts/Export.lua", "until=" + missionEnded});
    QVERIFY(dcs.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(program->ask({"get flight_module text", "get airspeed_field text"}), "F-16C_50 / 324", 30000);
    QTRY_COMPARE_WITH_TIMEOUT(rudderSpring(*program), 3240, 30000);
    QVERIFY(writeFile(missionEnded, {}));
    QVERIFY(dcs.waitForFinished(120000) && dcs.exitStatus() == QProcess::NormalExit && dcs.exitCode() == 0);
    const QByteArray printed = dcs.readAllStandardOutput();
    QCOMPARE(program->finish(), cleanEnd);

    // The spring rose with the airspeed, beyond that of 20 m/s, and never fell.
    std::vector<int> springs;
    for (const Report& report : directControlReports(rudder, program->reports()))
        springs.push_back(directControlOf(report).springForce);
    const auto top = std::find(springs.begin(), springs.end(), 3240);
    QVERIFY(std::is_sorted(springs.begin(), top));
    const std::set<int> rising(std::upper_bound(springs.begin(), top, 720), top);
    QVERIFY2(rising.size() >= 3, qPrintable(QString::number(rising.size())));
    // The pilot's exporter and DCS's own callbacks ran every frame beside ours.
    QVERIFY2(!printed.contains("LOG "), printed.constData());
    const QRegularExpressionMatch calls = QRegularExpression("previous start=1 frames=(\\d{3,}) stop=1").match(QString::fromUtf8(printed));
    QVERIFY2(calls.hasMatch(), printed.constData());
    QFile flightLog(savedGames + "/FlightLog.csv");
    QVERIFY(flightLog.open(QIODevice::ReadOnly));
    QCOMPARE(flightLog.readAll(), "F-16C_50;90.0;" + calls.captured(1).toUtf8());
}

QTEST_GUILESS_MAIN(TestCommander)
#include "tst_commander.moc"
