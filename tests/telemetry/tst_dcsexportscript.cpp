#include "loopbacksource.h"
#include "telemetrysourcedcs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}
}

class TestDcsExportScript : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportTreeHoldsOnlyTorquixFiles();
    void exportScriptDatagramsBecomeTelemetry();
};

void TestDcsExportScript::initTestCase()
{
    Telemetry::registerMetaTypes();
}

void TestDcsExportScript::exportTreeHoldsOnlyTorquixFiles()
{
    const QString root = qEnvironmentVariable("TORQUIX_SOURCE_DIR") + "/extras/dcs";
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    QCOMPARE(files, QStringList({"Scripts/Torquix/Port.lua", "Scripts/TorquixGameExport.lua"}));
}

void TestDcsExportScript::exportScriptDatagramsBecomeTelemetry()
{
    const QString lua = QStandardPaths::findExecutable("lua5.1");
    QVERIFY2(!lua.isEmpty(), "lua5.1 is not installed (scripts/install-deps.sh installs it)");
    const QString sourceDir = qEnvironmentVariable("TORQUIX_SOURCE_DIR");

    // DCS's Saved Games folder, as the configuration page leaves it.
    QTemporaryDir savedGames;
    QVERIFY(savedGames.isValid());
    const QString scripts = savedGames.path() + "/Scripts/";
    QFile exportScript(sourceDir + "/extras/dcs/Scripts/TorquixGameExport.lua");
    QVERIFY(exportScript.open(QIODevice::ReadOnly));
    QVERIFY(writeFile(scripts + "TorquixGameExport.lua", exportScript.readAll()));

    // The commander reads the mapping files we ship; the script's payload ids must match them.
    const QString previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(sourceDir + "/resources"));
    LoopbackSource<TelemetrySourceDCS> fixture;
    QDir::setCurrent(previousDir);
    QVERIFY(writeFile(scripts + "Torquix/Port.lua", "Torquix.port = " + QByteArray::number(fixture.port)));

    QSignalSpy module(&fixture.source, &TelemetrySource::flightModuleChanged);
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    QSignalSpy touchdown(&fixture.source, &TelemetrySource::touchdownDetected);
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    QSignalSpy damage(&fixture.source, &TelemetrySource::damageReceived);
    QSignalSpy countermeasure(&fixture.source, &TelemetrySource::countermeasureReleased);
    QSignalSpy gearLock(&fixture.source, &TelemetrySource::gearLock);

    constexpr int frames = 60;
    QProcess process;
    process.start(lua, {sourceDir + "/tests/telemetry/dcs_export_harness.lua", savedGames.path() + "/",
                        QString::number(frames), "0.02"});
    QVERIFY(process.waitForStarted());
    // Poll faster than the script sends so each frame is parsed on its own.
    while (!process.waitForFinished(5))
        fixture.source.pollTelemetry();
    fixture.source.pollTelemetry();

    const QByteArray output = process.readAllStandardOutput();
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             process.readAllStandardError().constData());
    QVERIFY2(output.contains("previous start=1 frames=60 stop=1"), output.constData());

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
    QVERIFY(record.onGround);
    QVERIFY(record.gunfireTriggers[0]);
}

QTEST_GUILESS_MAIN(TestDcsExportScript)
#include "tst_dcsexportscript.moc"
