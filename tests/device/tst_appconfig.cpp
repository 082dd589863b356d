#include "appconfig.h"
#include "smallfilesystem.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QString configPath()
{
    return QDir::currentPath() + "/config.ini";
}

// What another reader of the file sees, after every writer has gone.
QVariant storedValue(const QString& key)
{
    return QSettings(configPath(), QSettings::IniFormat).value(key);
}

void storeValue(const QString& key, const QVariant& value)
{
    QSettings file(configPath(), QSettings::IniFormat);
    file.setValue(key, value);
}

const QStringList trimmers = {"ROLL_TRIMMER", "PITCH_TRIMMER", "YAW_TRIMMER",
                              "COLLECTIVE_TRIMMER"};
const QStringList actions = {"increase", "decrease", "release", "reset"};

}

class TestAppConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void withoutFileEverythingIsDefault();
    void handWrittenFileIsRead_data();
    void handWrittenFileIsRead();
    void fullDiskKeepsTheFile_data();
    void fullDiskKeepsTheFile();
    void sameSizeChangeIsReadBack();
    void simulatorSettingsRoundTrip_data();
    void simulatorSettingsRoundTrip();
    void defaultTelemetryRoundTrips();
    void bindingIsStoredAsTextAndReadBack_data();
    void bindingIsStoredAsTextAndReadBack();
    void everyBindingKeyIsItsOwn();
    void malformedBindingReadsAsUnassigned_data();
    void malformedBindingReadsAsUnassigned();
    void changeTrimButtonRefusesWhatNamesNoBinding_data();
    void changeTrimButtonRefusesWhatNamesNoBinding();

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString previousDir;
};

void TestAppConfig::init()
{
    previousDir = QDir::currentPath();
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
    QVERIFY(QDir::setCurrent(dir->path()));
}

void TestAppConfig::cleanup()
{
    QDir::setCurrent(previousDir);
    dir.reset();
}

void TestAppConfig::withoutFileEverythingIsDefault()
{
    AppConfig config;
    QCOMPARE(config.trimIncrement(), 50);
    QCOMPARE(config.defaultTelemetry(), 10);
    QCOMPARE(config.dcsSettings().port, quint16(0));
    QVERIFY(config.dcsSettings().path.isEmpty());
    QCOMPARE(config.il2Settings().port, quint16(0));
    QVERIFY(config.il2Settings().path.isEmpty());
    QCOMPARE(config.condor2Settings().port, quint16(0));
    QVERIFY(config.condor2Settings().path.isEmpty());
    QCOMPARE(config.xplaneSettings().port, quint16(0));
    QVERIFY(config.xplaneSettings().path.isEmpty());
    const AppConfig::TrimConfig table = config.trimConfig();
    for (const auto& trimmer : table) {
        for (const AppConfig::TrimButtonConfig& binding : trimmer)
            QVERIFY(binding == AppConfig::TrimButtonConfig());
    }
    QVERIFY(!QFile::exists(configPath()));
}

void TestAppConfig::handWrittenFileIsRead_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<int>("trimIncrement");
    QTest::addColumn<int>("defaultTelemetry");
    QTest::addColumn<int>("xplanePort");
    QTest::addColumn<QString>("xplanePath");
    QTest::newRow("every core and X-Plane key")
        << QByteArray("[CORE]\ntrim_increment=75\ndefault_telemetry=5\n"
                      "[XPLANE]\nport=49000\npath=C:/X-Plane 12\n")
        << 75 << 5 << 49000 << "C:/X-Plane 12";
    QTest::newRow("highest port") << QByteArray("[XPLANE]\nport=65535\n") << 50 << 10 << 65535 << "";
    QTest::newRow("port 65536 is not wrapped") << QByteArray("[XPLANE]\nport=65536\n") << 50 << 10 << 0 << "";
    QTest::newRow("port 99999 is not wrapped") << QByteArray("[XPLANE]\nport=99999\n") << 50 << 10 << 0 << "";
    QTest::newRow("port beyond 32 bits") << QByteArray("[XPLANE]\nport=4294967297\n") << 50 << 10 << 0 << "";
    QTest::newRow("negative port") << QByteArray("[XPLANE]\nport=-1\n") << 50 << 10 << 0 << "";
    QTest::newRow("port that is not a number")
        << QByteArray("[XPLANE]\nport=abc\n") << 50 << 10 << 0 << "";
    QTest::newRow("autodetect selected")
        << QByteArray("[CORE]\ndefault_telemetry=7\n") << 50 << 7 << 0 << "";
}

void TestAppConfig::handWrittenFileIsRead()
{
    QFETCH(QByteArray, ini);
    QFETCH(int, trimIncrement);
    QFETCH(int, defaultTelemetry);
    QFETCH(int, xplanePort);
    QFETCH(QString, xplanePath);
    QFile file(configPath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(ini);
    file.close();

    AppConfig config;
    QCOMPARE(config.trimIncrement(), trimIncrement);
    QCOMPARE(config.defaultTelemetry(), defaultTelemetry);
    // A port given that reads as 0 was no port, and the log says so.
    const QRegularExpression warning("XPLANE/port .* read as missing");
    if (ini.contains("port=") && xplanePort == 0)
        QTest::ignoreMessage(QtWarningMsg, warning);
    else
        QTest::failOnWarning(warning);
    const AppConfig::XPlaneSettings xplane = config.xplaneSettings();
    QCOMPARE(int(xplane.port), xplanePort);
    QCOMPARE(xplane.path, xplanePath);
}

void TestAppConfig::fullDiskKeepsTheFile_data()
{
    QTest::addColumn<qint64>("leaveFree");
    QTest::addColumn<QByteArray>("old"); // hand-written, so that a rewrite by QSettings would differ; empty: none
    for (const qint64 free : {qint64(0), SmallFileSystem::pageSize}) {
        const char* space = free == 0 ? "full" : "one page free";
        QTest::addRow("%s, old file", space) << free << QByteArray("; the user's\n[CORE]\ntrim_increment=20\n");
        QTest::addRow("%s, new file", space) << free << QByteArray();
    }
}

// A write larger than a page: the file keeps its bytes (or stays absent), the getters
// their values, the log and lastWriteError() name the file, and no temporary file is left.
void TestAppConfig::fullDiskKeepsTheFile()
{
    QFETCH(qint64, leaveFree);
    QFETCH(QByteArray, old);
    SmallFileSystem disk;
    SKIP_UNLESS_MOUNTED(disk);
    QVERIFY(QDir::setCurrent(disk.path()));
    QFile file(configPath());
    QVERIFY(old.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(old) == old.size()));
    file.close();
    AppConfig config;
    QVERIFY(disk.fill(leaveFree));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("config\\.ini.*keeps the settings it had"));
    config.changeIl2Settings({"C:/" + QString(2 * SmallFileSystem::pageSize, 'p'), 29999});
    QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : "<absent>", old.isEmpty() ? "<absent>" : old);
    QCOMPARE(config.il2Settings().port, quint16(0));
    QCOMPARE(config.trimIncrement(), old.isEmpty() ? 50 : 20);
    QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({SmallFileSystem::ballastName(), "config.ini"}).mid(0, old.isEmpty() ? 1 : 2));
    QVERIFY2(config.lastWriteError().contains(configPath()), qPrintable(config.lastWriteError()));
}

// Rewrites of the same length often follow each other within the file time's resolution.
void TestAppConfig::sameSizeChangeIsReadBack()
{
    AppConfig config;
    for (int round = 0; round < 1000; ++round) {
        const auto source = round % 2 ? Telemetry::TELEMETRY_SOURCE_CONDOR : Telemetry::TELEMETRY_SOURCE_X_PLANE;
        config.changeDefaultTelemetry(source);
        QCOMPARE(config.defaultTelemetry(), int(source));
    }
}

void TestAppConfig::simulatorSettingsRoundTrip_data()
{
    QTest::addColumn<QString>("group");
    QTest::newRow("DCS") << "DCS";
    QTest::newRow("IL-2") << "IL2";
    QTest::newRow("Condor 2") << "CONDOR2";
}

void TestAppConfig::simulatorSettingsRoundTrip()
{
    QFETCH(QString, group);
    const QString path = "C:/Users/pilot/Saved Games/Sim, 2 ; x=y";
    const quint16 port = 65535;
    {
        AppConfig config;
        if (group == "DCS")
            config.changeDcsSettings({path, port});
        else if (group == "IL2")
            config.changeIl2Settings({path, port});
        else
            config.changeCondor2Settings({path, port});
    }
    QCOMPARE(storedValue(group + "/port").toInt(), 65535);
    QCOMPARE(storedValue(group + "/path").toString(), path);

    AppConfig config;
    const auto read = [&]() -> QPair<QString, quint16> {
        if (group == "DCS")
            return {config.dcsSettings().path, config.dcsSettings().port};
        if (group == "IL2")
            return {config.il2Settings().path, config.il2Settings().port};
        return {config.condor2Settings().path, config.condor2Settings().port};
    };
    QCOMPARE(read().first, path);
    QCOMPARE(read().second, port);
}

void TestAppConfig::defaultTelemetryRoundTrips()
{
    {
        AppConfig config;
        config.changeDefaultTelemetry(Telemetry::TELEMETRY_SOURCE_CONDOR);
        QCOMPARE(config.defaultTelemetry(), 5);
    }
    QCOMPARE(storedValue("CORE/default_telemetry").toInt(), 5);
    QCOMPARE(AppConfig().defaultTelemetry(), 5);
}

void TestAppConfig::bindingIsStoredAsTextAndReadBack_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("buttonType");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isHat");
    QTest::addColumn<int>("hatIndex");
    QTest::addColumn<int>("buttonIndex");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("hat") << 1 << 2 << "Throttle" << true << 0 << 4 << "PITCH_TRIMMER/release"
                         << "Throttle:Hat:0:4";
    QTest::newRow("hat diagonal") << 1 << 2 << "Throttle" << true << 0 << 12
                                  << "PITCH_TRIMMER/release" << "Throttle:Hat:0:12";
    QTest::newRow("button") << 3 << 0 << "Stick" << false << 0 << 12
                            << "COLLECTIVE_TRIMMER/increase" << "Stick:Button:12";
    QTest::newRow("button 0") << 0 << 1 << "Stick" << false << 0 << 0 << "ROLL_TRIMMER/decrease"
                              << "Stick:Button:0";
    QTest::newRow("name with colons") << 2 << 3 << "Saitek: X52:Pro" << true << 1 << 8
                                      << "YAW_TRIMMER/reset" << "Saitek: X52:Pro:Hat:1:8";
    QTest::newRow("name that looks like a binding")
        << 0 << 0 << "Pad:Button:1" << false << 0 << 2 << "ROLL_TRIMMER/increase"
        << "Pad:Button:1:Button:2";
    QTest::newRow("name ending in Hat") << 0 << 0 << "Top Hat" << false << 0 << 7
                                        << "ROLL_TRIMMER/increase" << "Top Hat:Button:7";
    QTest::newRow("name with a Hat part")
        << 0 << 0 << "X:Hat:1" << false << 0 << 3 << "ROLL_TRIMMER/increase" << "X:Hat:1:Button:3";
    QTest::newRow("name ending in a Hat part")
        << 1 << 2 << "Pad:Hat" << false << 0 << 3 << "PITCH_TRIMMER/release" << "Pad:Hat:Button:3";
    QTest::newRow("hat of a name ending in a Hat part")
        << 1 << 2 << "Pad:Hat" << true << 2 << 1 << "PITCH_TRIMMER/release" << "Pad:Hat:Hat:2:1";
    QTest::newRow("button of a name with a percent sign")
        << 3 << 1 << "Pad %1 100%2" << false << 0 << 4 << "COLLECTIVE_TRIMMER/decrease"
        << "Pad %1 100%2:Button:4";
    QTest::newRow("hat of a name with a percent sign")
        << 3 << 2 << "Pad %1" << true << 0 << 2 << "COLLECTIVE_TRIMMER/release" << "Pad %1:Hat:0:2";
    QTest::newRow("name with a comma") << 1 << 1 << "Thrustmaster, Inc. Warthog" << false << 0
                                       << 31 << "PITCH_TRIMMER/decrease"
                                       << "Thrustmaster, Inc. Warthog:Button:31";
    QTest::newRow("joystick without a name") << 2 << 0 << "" << false << 0 << 5
                                             << "YAW_TRIMMER/increase" << ":Button:5";
}

void TestAppConfig::bindingIsStoredAsTextAndReadBack()
{
    QFETCH(int, axis);
    QFETCH(int, buttonType);
    QFETCH(QString, name);
    QFETCH(bool, isHat);
    QFETCH(int, hatIndex);
    QFETCH(int, buttonIndex);
    QFETCH(QString, key);
    QFETCH(QString, text);

    AppConfig::TrimButtonConfig expected;
    expected.deviceName = name;
    expected.assigned = true;
    expected.isHat = isHat;
    expected.hatIndex = hatIndex;
    expected.buttonIndex = buttonIndex;

    {
        AppConfig config;
        QSignalSpy spy(&config, &AppConfig::trimSettingsChanged);
        config.changeTrimButton(axis, name, buttonType, isHat, hatIndex, buttonIndex);
        QCOMPARE(spy.count(), 1);
        const auto table = spy.at(0).at(0).value<AppConfig::TrimConfig>();
        const AppConfig::TrimButtonConfig& emitted = table[axis][buttonType];
        QCOMPARE(emitted.deviceName, name);
        QVERIFY(emitted == expected);
    }
    QCOMPARE(storedValue(key).toString(), text);

    const AppConfig::TrimButtonConfig read = AppConfig().trimConfig()[axis][buttonType];
    QCOMPARE(read.deviceName, name);
    QVERIFY(read == expected);
}

void TestAppConfig::everyBindingKeyIsItsOwn()
{
    AppConfig config;
    QSignalSpy spy(&config, &AppConfig::trimSettingsChanged);
    for (int axis = 0; axis < 4; ++axis) {
        for (int type = 0; type < 4; ++type)
            config.changeTrimButton(axis, "Stick", type, false, 0, axis * 4 + type);
    }
    QCOMPARE(spy.count(), 16);
    const auto last = spy.last().at(0).value<AppConfig::TrimConfig>();
    for (int axis = 0; axis < 4; ++axis) {
        for (int type = 0; type < 4; ++type) {
            QVERIFY(last[axis][type].assigned);
            QCOMPARE(last[axis][type].buttonIndex, axis * 4 + type);
            QCOMPARE(storedValue(trimmers[axis] + '/' + actions[type]).toString(),
                     QString("Stick:Button:%1").arg(axis * 4 + type));
        }
    }
}

void TestAppConfig::malformedBindingReadsAsUnassigned_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("button number not a number") << "Stick:Button:x";
    QTest::newRow("unknown kind") << "Stick:Axis:3";
    QTest::newRow("kind in lower case") << "Stick:button:3";
    QTest::newRow("name only") << "Stick";
    QTest::newRow("empty text") << "";
    QTest::newRow("button without number") << "Stick:Button";
    QTest::newRow("button with empty number") << "Stick:Button:";
    QTest::newRow("negative button") << "Stick:Button:-1";
    QTest::newRow("button beyond 32 bits") << "Stick:Button:4294967296";
    QTest::newRow("hexadecimal button") << "Stick:Button:0x1";
    QTest::newRow("hat without direction") << "Stick:Hat:0";
    QTest::newRow("negative hat") << "Stick:Hat:-1:4";
    QTest::newRow("hat not a number") << "Stick:Hat:a:4";
    QTest::newRow("hat direction centred") << "Stick:Hat:0:0";
    QTest::newRow("hat direction of two hats") << "Stick:Hat:0:5";
    QTest::newRow("hat direction beyond the hat bits") << "Stick:Hat:0:16";
    QTest::newRow("hat direction not a number") << "Stick:Hat:0:up";
}

void TestAppConfig::malformedBindingReadsAsUnassigned()
{
    QFETCH(QString, text);
    storeValue("YAW_TRIMMER/release", text);
    storeValue("YAW_TRIMMER/reset", "Stick:Button:9");

    const AppConfig::TrimConfig table = AppConfig().trimConfig();
    QVERIFY(table[2][2] == AppConfig::TrimButtonConfig());
    QVERIFY(table[2][3].assigned);
    QCOMPARE(table[2][3].buttonIndex, 9);
}

void TestAppConfig::changeTrimButtonRefusesWhatNamesNoBinding_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("buttonType");
    QTest::addColumn<bool>("isHat");
    QTest::addColumn<int>("hatIndex");
    QTest::addColumn<int>("buttonIndex");
    QTest::newRow("axis below") << -1 << 0 << false << 0 << 1;
    QTest::newRow("axis above") << 4 << 0 << false << 0 << 1;
    QTest::newRow("button type below") << 0 << -1 << false << 0 << 1;
    QTest::newRow("button type above") << 0 << 4 << false << 0 << 1;
    QTest::newRow("negative button") << 0 << 0 << false << 0 << -3;
    QTest::newRow("negative hat") << 0 << 0 << true << -1 << 4;
    QTest::newRow("centred hat") << 0 << 0 << true << 0 << 0;
    QTest::newRow("hat of two opposite directions") << 0 << 0 << true << 0 << 5;
}

void TestAppConfig::changeTrimButtonRefusesWhatNamesNoBinding()
{
    QFETCH(int, axis);
    QFETCH(int, buttonType);
    QFETCH(bool, isHat);
    QFETCH(int, hatIndex);
    QFETCH(int, buttonIndex);
    {
        AppConfig config;
        QSignalSpy spy(&config, &AppConfig::trimSettingsChanged);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("trim binding refused"));
        config.changeTrimButton(axis, "Stick", buttonType, isHat, hatIndex, buttonIndex);
        QCOMPARE(spy.count(), 0);
    }
    QVERIFY(QSettings(configPath(), QSettings::IniFormat).allKeys().isEmpty());
}

QTEST_GUILESS_MAIN(TestAppConfig)
#include "tst_appconfig.moc"
