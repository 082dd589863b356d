#include "loopbacksource.h"
#include "telemetrysourcedcs.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {
bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QString sourceDir()
{
    return qEnvironmentVariable("TORQUIX_SOURCE_DIR");
}

// DCS's Saved Games folder with our export script, as the configuration page leaves it;
// Port.lua holds portLua unless that is null.
bool prepareSavedGames(const QTemporaryDir& savedGames, const QByteArray& portLua)
{
    QFile exportScript(sourceDir() + "/extras/dcs/Scripts/TorquixGameExport.lua");
    if (!exportScript.open(QIODevice::ReadOnly))
        return false;
    const QString scripts = savedGames.path() + "/Scripts/";
    if (!writeFile(scripts + "TorquixGameExport.lua", exportScript.readAll()))
        return false;
    return portLua.isNull() || writeFile(scripts + "Torquix/Port.lua", portLua);
}

// One run of the export script under the harness, with every datagram it sent.
struct ScriptRun
{
    QByteArray output;
    QStringList logLines;
    QList<QByteArray> datagrams;
};

// Runs the harness; when listen is set, a plain socket on port takes every datagram.
// A run's datagrams fit in the socket's buffer, so none is lost however late they are
// read.
std::optional<ScriptRun> runScript(const QString& scenario, int frames, double frameSeconds,
                                   const QByteArray& portLua, quint16 port, bool listen, int maxPauseMs = 0)
{
    const QString lua = QStandardPaths::findExecutable("lua5.1");
    QTemporaryDir savedGames;
    if (lua.isEmpty() || !savedGames.isValid() || !prepareSavedGames(savedGames, portLua))
        return std::nullopt;
    QUdpSocket receiver;
    if (listen && !receiver.bind(QHostAddress::LocalHost, port))
        return std::nullopt;
    receiver.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 1 << 20);

    ScriptRun run;
    QProcess process;
    process.start(lua, {sourceDir() + "/tests/support/dcs_export_harness.lua", savedGames.path() + "/",
                        QString::number(frames), QString::number(frameSeconds, 'g', 10), scenario,
                        QStringLiteral("pause=%1").arg(maxPauseMs)});
    if (!process.waitForStarted() || !process.waitForFinished(120000))
        return std::nullopt;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << process.readAllStandardError();
        return std::nullopt;
    }
    run.output = process.readAllStandardOutput();
    for (const QByteArray& line : run.output.split('\n')) {
        if (line.startsWith("LOG "))
            run.logLines << QString::fromUtf8(line.mid(4));
    }
    // Loopback delivers at once as a rule, but not by contract.
    const int sent = QRegularExpression(" sent=(\\d+)\n").match(QString::fromUtf8(run.output)).captured(1).toInt();
    for (QDeadlineTimer deadline(10000); listen && run.datagrams.size() < sent;) {
        if (!receiver.hasPendingDatagrams() && !receiver.waitForReadyRead(int(deadline.remainingTime())))
            break;
        QByteArray datagram(int(receiver.pendingDatagramSize()), '\0');
        receiver.readDatagram(datagram.data(), datagram.size());
        run.datagrams << datagram;
    }
    return run;
}

class ReplayedSource : public TelemetrySourceDCS
{
public:
    using TelemetrySourceDCS::parseTelemetry;
    using TelemetrySourceDCS::telemetry;
};

// The records the commander makes of the datagrams, parsed one by one as a commander
// polling faster than the script sends would; the first only finds the source.
QList<Telemetry> commanderRecords(const QList<QByteArray>& datagrams)
{
    // The commander reads the mapping files we ship.
    const QString previousDir = QDir::currentPath();
    QDir::setCurrent(sourceDir() + "/resources");
    ReplayedSource source;
    QDir::setCurrent(previousDir);
    QList<Telemetry> records;
    for (qsizetype i = 1; i < datagrams.size(); ++i) {
        source.parseTelemetry(datagrams.at(i));
        records << source.telemetry;
    }
    return records;
}

double member(const QByteArray& datagram, const char* key)
{
    return QJsonDocument::fromJson(datagram).object().value(QLatin1String(key)).toDouble(-1.0);
}

// The buffet the pull of the harness should give: the rate of change of g per second,
// scaled to the change per frame at 60 frames per second, averaged over the run and
// truncated to whole percent as the record holds it.
double expectedBuffet(double seconds)
{
    double sum = 0.0;
    const int steps = 200000;
    for (int i = 0; i < steps; ++i) {
        const double t = seconds * (i + 0.5) / steps;
        const double rate = 1.5 + 1.5 * 2 * M_PI * 3 * std::cos(2 * M_PI * 3 * t);
        sum += std::min(100.0, std::abs(rate) * 100.0 / 60.0);
    }
    return sum / steps - 0.5;
}

} // namespace

class TestDcsExportScript : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportTreeHoldsOnlyTorquixFiles();
    void exportScriptDatagramsBecomeTelemetry();
    void sameFlightAtEveryFrameRate_data();
    void sameFlightAtEveryFrameRate();
    void pausedSimulationKeepsSending();
    void problemsAreLoggedOnce_data();
    void problemsAreLoggedOnce();
};

void TestDcsExportScript::initTestCase()
{
    Telemetry::registerMetaTypes();
    QVERIFY2(!QStandardPaths::findExecutable("lua5.1").isEmpty(),
             "lua5.1 is not installed (scripts/install-deps.sh installs it)");
}

void TestDcsExportScript::exportTreeHoldsOnlyTorquixFiles()
{
    const QString root = sourceDir() + "/extras/dcs";
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    QCOMPARE(files, QStringList({"Scripts/Torquix/Port.lua", "Scripts/TorquixGameExport.lua"}));
}

void TestDcsExportScript::exportScriptDatagramsBecomeTelemetry()
{
    // The commander reads the mapping files we ship; the script's payload ids must match them.
    const QString previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(sourceDir() + "/resources"));
    LoopbackSource<TelemetrySourceDCS> fixture;
    QDir::setCurrent(previousDir);

    QSignalSpy module(&fixture.source, &TelemetrySource::flightModuleChanged);
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    QSignalSpy touchdown(&fixture.source, &TelemetrySource::touchdownDetected);
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    QSignalSpy damage(&fixture.source, &TelemetrySource::damageReceived);
    QSignalSpy countermeasure(&fixture.source, &TelemetrySource::countermeasureReleased);
    QSignalSpy gearLock(&fixture.source, &TelemetrySource::gearLock);

    // Each datagram is parsed on its own, as by a commander polling faster than the script sends.
    constexpr int frames = 60;
    const quint16 port = freeLoopbackPort();
    const std::optional<ScriptRun> run = runScript("flight", frames, 0.02, "Torquix.port = "
        + QByteArray::number(port), port, true);
    QVERIFY(run);
    QVERIFY2(run->output.contains("previous start=1 frames=60 stop=1"), run->output.constData());
    QVERIFY2(run->logLines.isEmpty(), qPrintable(run->logLines.join('\n')));
    for (const QByteArray& datagram : run->datagrams)
        fixture.deliver(datagram);

    QCOMPARE(module.count(), 1);
    QCOMPARE(module.at(0).at(1).toString(), QString("F-16C_50"));
    QVERIFY2(changed.count() > frames / 2, qPrintable(QString::number(changed.count())));

    QCOMPARE(touchdown.count(), 1);
    QCOMPARE(touchdown.at(0).at(0).toFloat(), -3.0f);
    QCOMPARE(touchdown.at(0).at(1).toFloat(), 540.0f);
    QCOMPARE(countermeasure.count(), 1);
    QCOMPARE(gearLock.count(), 2);
    QCOMPARE(weapon.count(), 1);
    QCOMPARE(weapon.at(0).at(0).toFloat(), 241.0f);
    QCOMPARE(damage.count(), 1);
    QCOMPARE(damage.at(0).at(0).toFloat(), 10.0f);

    const Telemetry record = changed.last().at(0).value<Telemetry>();
    QCOMPARE(record.airspeed, 540.0f);
    QCOMPARE(record.verticalSpeed, -3.0f);
    QCOMPARE(record.gForce, 1.25f);
    QVERIFY(std::abs(record.aoa - 5.72958f) < 1e-3f);
    QCOMPARE(record.propAirflow, 86);
    QCOMPARE(record.engineRpm, 2568);
    QCOMPARE(record.rotorRpm, 0);
    QCOMPARE(record.afterburner, 0);
    QCOMPARE(record.gear, 100);
    QCOMPARE(record.flaps, 33);
    QCOMPARE(record.airbrake, 60);
    QCOMPARE(record.shakeMagnitude, 0);
    QVERIFY(record.onGround);
    QVERIFY(record.gunfireTriggers[0]);
}

void TestDcsExportScript::sameFlightAtEveryFrameRate_data()
{
    QTest::addColumn<int>("maxPauseMs"); // of real time after each frame
    QTest::newRow("frames back to back") << 0;
    QTest::newRow("random pauses of up to 30 ms") << 30;
}

void TestDcsExportScript::sameFlightAtEveryFrameRate()
{
    QFETCH(int, maxPauseMs);
    // The same two seconds of flight at three frame rates: a pull with a 3 Hz buffet, and
    // the cannon firing 100 rounds a second from 0.5 s to 1.5 s.
    constexpr double seconds = 2.0;
    const double expected = expectedBuffet(seconds);
    QList<double> buffets;
    for (const int framesPerSecond : {30, 60, 144}) {
        const int frames = int(seconds * framesPerSecond);
        const quint16 port = freeLoopbackPort();
        const std::optional<ScriptRun> run = runScript("burst", frames, 1.0 / framesPerSecond,
            "Torquix.port = " + QByteArray::number(port), port, true, maxPauseMs);
        QVERIFY(run);
        QVERIFY2(run->logLines.isEmpty(), qPrintable(run->logLines.join('\n')));
        const QString rate = QString::number(framesPerSecond) + " frames per second";

        // Every frame while frames are slower than 50 a second, else 50 a second of the
        // harness's clock.
        const QList<QByteArray>& datagrams = run->datagrams;
        if (framesPerSecond < 50) {
            QCOMPARE(datagrams.size(), frames);
        } else {
            QVERIFY2(std::abs(datagrams.size() - 50 * seconds) <= 1,
                     qPrintable(QStringLiteral("%1: %2 datagrams in %3 s").arg(rate).arg(datagrams.size()).arg(seconds)));
        }

        const QList<Telemetry> records = commanderRecords(datagrams);
        double sum = 0.0;
        for (const Telemetry& record : records)
            sum += record.shakeMagnitude;
        buffets << sum / records.size();
        QVERIFY2(std::abs(buffets.last() - expected) <= 0.1 * expected,
                 qPrintable(QStringLiteral("%1: buffet %2, expected %3").arg(rate).arg(buffets.last()).arg(expected)));

        // During the burst, from the first record with a round gone to the first with the
        // last one gone, the gun trigger stays on.
        int burstRecords = 0;
        bool firing = false;
        for (qsizetype i = 0; i < records.size(); ++i) {
            const double shells = member(datagrams.at(i + 1), "shells");
            if (shells < 500)
                firing = true;
            if (!firing)
                continue;
            ++burstRecords;
            QVERIFY2(records.at(i).gunfireTriggers[0],
                     qPrintable(QStringLiteral("%1: trigger off at %2 shells").arg(rate).arg(shells)));
            if (shells <= 400)
                break;
        }
        QVERIFY2(burstRecords >= 25, qPrintable(QStringLiteral("%1: %2 records").arg(rate).arg(burstRecords)));
    }
    const auto [least, most] = std::minmax_element(buffets.begin(), buffets.end());
    QVERIFY2(*most <= 1.1 * *least, qPrintable(QStringLiteral("buffet %1 to %2").arg(*least).arg(*most)));
}

void TestDcsExportScript::pausedSimulationKeepsSending()
{
    // 2 s at 144 frames per second, the middle third paused: g stands still, and the
    // script goes on sending about 50 datagrams a second with no buffet.
    const quint16 port = freeLoopbackPort();
    const std::optional<ScriptRun> run = runScript("pause", 288, 1.0 / 144,
                                                   "Torquix.port = " + QByteArray::number(port), port, true);
    QVERIFY(run);
    QVERIFY2(run->logLines.isEmpty(), qPrintable(run->logLines.join('\n')));
    int paused = 0;
    for (qsizetype i = 1; i < run->datagrams.size(); ++i) {
        if (member(run->datagrams.at(i), "g") != member(run->datagrams.at(i - 1), "g"))
            continue;
        ++paused;
        QCOMPARE(member(run->datagrams.at(i), "shk_amp"), 0.0);
    }
    // A third of 2 s at 50 a second, and 50 a second all along.
    QVERIFY2(paused >= 32, qPrintable(QString::number(paused)));
    QVERIFY2(std::abs(run->datagrams.size() - 100) <= 1, qPrintable(QString::number(run->datagrams.size())));
}

void TestDcsExportScript::problemsAreLoggedOnce_data()
{
    QTest::addColumn<QByteArray>("portLua"); // "@PORT@" stands for a free port; null for none
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<bool>("listen");             // without a listener not every line need come
    QTest::addColumn<QStringList>("logPatterns"); // one for each line, in order

    const QStringList noPort{R"(^TORQUIX WARNING no usable port \(.*\).*: no telemetry is sent$)"};
    QTest::newRow("port 0") << QByteArray("Torquix.port = 0") << "flight" << true << noPort;
    QTest::newRow("port not a number") << QByteArray("Torquix.port = 'x'") << "flight" << true << noPort;
    QTest::newRow("port out of range") << QByteArray("Torquix.port = 70000") << "flight" << true << noPort;
    QTest::newRow("port with a fraction") << QByteArray("Torquix.port = 4000.5") << "flight" << true << noPort;
    QTest::newRow("no Port.lua") << QByteArray() << "flight" << true << QStringList(
        {R"(^TORQUIX WARNING no usable port \(0\); cannot read Scripts/Torquix/Port.lua: .*: no telemetry is sent$)"});
    QTest::newRow("Port.lua that fails") << QByteArray("error('broken')") << "flight" << true << QStringList(
        {R"(^TORQUIX WARNING no usable port \(0\); cannot read .*broken: no telemetry is sent$)"});
    QTest::newRow("error every frame") << QByteArray("Torquix.port = @PORT@") << "failing" << true << QStringList(
        {"^TORQUIX ERROR socket gone$", R"(^TORQUIX ERROR socket gone \(29 more times\)$)"});
    // Sending to a closed port fails now and then, as the refusals come back.
    QTest::newRow("nobody listening") << QByteArray("Torquix.port = @PORT@") << "flight" << false << QStringList(
        {R"(^TORQUIX ERROR cannot send to port \d+: .+$)", R"(^TORQUIX ERROR cannot send to port \d+: .+ \(\d+ more times\)$)"});
}

void TestDcsExportScript::problemsAreLoggedOnce()
{
    QFETCH(QByteArray, portLua);
    QFETCH(QString, scenario);
    QFETCH(bool, listen);
    QFETCH(QStringList, logPatterns);

    constexpr int frames = 30;
    const quint16 port = freeLoopbackPort();
    portLua.replace("@PORT@", QByteArray::number(port));
    const std::optional<ScriptRun> run = runScript(scenario, frames, 0.01, portLua, port, listen);
    QVERIFY(run);
    // The other export's callbacks ran as ever.
    QVERIFY2(run->output.contains("previous start=1 frames=30 stop=1"), run->output.constData());

    const QStringList& lines = run->logLines;
    QVERIFY2(lines.size() <= logPatterns.size() && (!listen || lines.size() == logPatterns.size()),
             qPrintable(lines.join('\n')));
    for (qsizetype i = 0; i < lines.size(); ++i)
        QVERIFY2(QRegularExpression(logPatterns.at(i)).match(lines.at(i)).hasMatch(), qPrintable(lines.at(i)));
    if (!portLua.contains(QByteArray::number(port)))
        QCOMPARE(run->datagrams.size(), 0);
}

QTEST_GUILESS_MAIN(TestDcsExportScript)
#include "tst_dcsexportscript.moc"
