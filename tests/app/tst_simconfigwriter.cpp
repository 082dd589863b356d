#include "simconfigwriter.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

const QDateTime longAgo(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void makeOld(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
}

bool written(const QString& path)
{
    return QFileInfo(path).lastModified().toUTC() != longAgo;
}

// Every entry below root with its bytes, a folder mark or a link's target.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString name = QDir(root).relativeFilePath(entry.filePath());
        if (entry.isSymLink())
            entries[name] = "-> " + entry.symLinkTarget().toUtf8();
        else
            entries[name] = entry.isDir() ? QByteArray("<folder>") : readFile(entry.filePath());
    }
    return entries;
}

// The shipped tree and a DCS Saved Games folder as an older version left it.
void makeDcsFolders(const QString& root)
{
    writeFile(root + "/program/extras/dcs/Scripts/TorquixGameExport.lua", "-- export v2\n");
    writeFile(root + "/program/extras/dcs/Scripts/Torquix/Port.lua", "Torquix.port = 0");
    writeFile(root + "/program/extras/dcs/Scripts/Torquix/lib/util.lua", "-- util v2\n");
    writeFile(root + "/dcs/Scripts/TorquixGameExport.lua", "-- export v1\n");
    writeFile(root + "/dcs/Scripts/Torquix/Port.lua", "Torquix.port = 5");
    writeFile(root + "/dcs/Scripts/Torquix/lib/util.lua", "-- util v1\n");
    writeFile(root + "/dcs/Scripts/Torquix/Own.lua", "-- the user's\n");
    writeFile(root + "/dcs/Scripts/Hooks/TorquixTelemetry.lua", "-- old hook\n");
    writeFile(root + "/dcs/Scripts/Hooks/Other.lua", "-- another hook\n");
    writeFile(root + "/dcs/Scripts/Export.lua", "-- the user's exports\r\n");
}

const QByteArray addr1 = "addr1 = \"127.0.0.1:29999\"";
const QByteArray il2Block = "[KEY = telemetrydevice]\r\naddr = \"127.0.0.1\"\r\n" + addr1
    + "\r\ndecimation = 2\r\nenable = true\r\nport = 29373\r\n[END]";
const QByteArray exportLine =
    "local Torquixlfs=require('lfs');dofile(Torquixlfs.writedir()..'Scripts/TorquixGameExport.lua')";
const QByteArray condorFresh = "[General]\r\nEnabled=1\r\n[Connection]\r\nPort=41000\r\n[Misc]\r\n"
                               "SendIntervalMs=10\r\nExtendedData=1\r\nExtendedData1=1\r\n";

// Makes a file or folder refuse writes for its lifetime. Permissions do not stop root,
// so when a probe write still succeeds the path is made immutable with chattr.
class ReadOnlyPath
{
public:
    explicit ReadOnlyPath(const QString& path)
        : path(path)
        , original(QFile::permissions(path))
    {
        QFile::setPermissions(path, original & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser
                                                 | QFileDevice::WriteGroup | QFileDevice::WriteOther));
        immutable = acceptsWrites() && QProcess::execute("chattr", {"+i", path}) == 0;
        enforced = !acceptsWrites();
    }
    ~ReadOnlyPath()
    {
        if (immutable)
            QProcess::execute("chattr", {"-i", path});
        QFile::setPermissions(path, original);
    }
    bool enforced = false; // false when neither way works

private:
    // Probes without changing anything: a file is opened for appending, a folder gets a
    // new file that is removed again at once.
    bool acceptsWrites() const
    {
        if (!QFileInfo(path).isDir())
            return QFile(path).open(QIODevice::WriteOnly | QIODevice::Append);
        QFile probe(path + "/.write-probe");
        const bool writable = probe.open(QIODevice::WriteOnly | QIODevice::NewOnly);
        if (writable)
            probe.remove();
        return writable;
    }

    const QString path;
    const QFileDevice::Permissions original;
    bool immutable = false;
};

} // namespace

class TestSimConfigWriter : public QObject {
    Q_OBJECT

private:
    void checkEdit(const QString& path, std::function<QString()> update);

private slots:
    void il2StartupConfig_data();
    void il2StartupConfig();
    void condor2UdpIni_data();
    void condor2UdpIni();
    void dcsExportLua_data();
    void dcsExportLua();
    void dcsTreeMerged();
    void dcsRefusedTouchesNothing_data();
    void dcsRefusedTouchesNothing();
    void failedStepReportsAndStops_data();
    void failedStepReportsAndStops();
};

// Runs an update twice on the file of the current row: the first gives the expected
// bytes and writes only when they differ, the second changes and writes nothing.
void TestSimConfigWriter::checkEdit(const QString& path, std::function<QString()> update)
{
    QFETCH(QByteArray, before);
    QFETCH(bool, exists);
    QFETCH(QByteArray, expected);
    QDir().mkpath(QFileInfo(path).path());
    if (exists) {
        writeFile(path, before);
        makeOld(path);
    }
    QCOMPARE(update(), QString());
    QCOMPARE(readFile(path), expected);
    QCOMPARE(written(path), !exists || expected != before);
    makeOld(path);
    QCOMPARE(update(), QString());
    QCOMPARE(readFile(path), expected);
    QVERIFY(!written(path));
}

void TestSimConfigWriter::il2StartupConfig_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("only the addr1 line changes, CR LF kept")
        << QByteArray("; IL-2\r\n[KEY = graphics]\r\n\tfullscreen = false\r\n[END]\r\n[KEY = telemetrydevice]\r\n"
                      "\taddr = \"127.0.0.1\"\r\n\taddr1 = \"127.0.0.1:4000\"\r\n\tdecimation = 2\r\n[END]\r\n")
        << true
        << "; IL-2\r\n[KEY = graphics]\r\n\tfullscreen = false\r\n[END]\r\n[KEY = telemetrydevice]\r\n"
           "\taddr = \"127.0.0.1\"\r\n" + addr1 + "\r\n\tdecimation = 2\r\n[END]\r\n";
    QTest::newRow("mark, LF, non-ASCII, no final line end; addr1 outside a block stays")
        << QByteArray("\xEF\xBB\xBF[KEY = telemetrydevice]\naddr1 = \"x\"\n[END]\naddr1 = \"outside\"\n"
                      "// pilote \xC3\xA9l\xC3\xA8ve \xE9\xFF\nlast")
        << true
        << "\xEF\xBB\xBF[KEY = telemetrydevice]\n" + addr1
               + "\n[END]\naddr1 = \"outside\"\n// pilote \xC3\xA9l\xC3\xA8ve \xE9\xFF\nlast";
    QTest::newRow("two blocks, header letter case and spaces")
        << QByteArray("  [key=TelemetryDevice ]  \r\naddr1 = \"a\"\r\n[END]\r\n[KEY\t =  TELEMETRYDEVICE]\r\n"
                      "  addr1 = \"b\"\r\n[END]")
        << true
        << "  [key=TelemetryDevice ]  \r\n" + addr1 + "\r\n[END]\r\n[KEY\t =  TELEMETRYDEVICE]\r\n" + addr1
               + "\r\n[END]";
    QTest::newRow("[end] closes the block before the next device's addr1")
        << QByteArray("[KEY = telemetrydevice]\r\naddr1 = \"a\"\r\n[end]\r\n[KEY = motiondevice]\r\n"
                      "addr1 = \"b\"\r\n[END]\r\n")
        << true
        << "[KEY = telemetrydevice]\r\n" + addr1 + "\r\n[end]\r\n[KEY = motiondevice]\r\naddr1 = \"b\"\r\n[END]\r\n";
    QTest::newRow("block without addr1 and [END] gets it before the next section")
        << QByteArray("[KEY = telemetrydevice]\r\nenable = true\r\n[KEY = motiondevice]\r\naddr1 = \"b\"\r\n")
        << true
        << "[KEY = telemetrydevice]\r\nenable = true\r\n" + addr1
               + "\r\n[KEY = motiondevice]\r\naddr1 = \"b\"\r\n";
    QTest::newRow("block without addr1 gets it before [END]")
        << QByteArray("[KEY = telemetrydevice]\r\nenable = true\r\n[END]\r\n") << true
        << "[KEY = telemetrydevice]\r\nenable = true\r\n" + addr1 + "\r\n[END]\r\n";
    QTest::newRow("block without addr1 at an unended end of file")
        << QByteArray("[KEY = telemetrydevice]\nenable = true") << true
        << "[KEY = telemetrydevice]\nenable = true\r\n" + addr1;
    QTest::newRow("blocks without addr1: the first gets it")
        << QByteArray("[KEY = telemetrydevice]\r\n[END]\r\n[KEY = telemetrydevice]\r\n[END]\r\n") << true
        << "[KEY = telemetrydevice]\r\n" + addr1 + "\r\n[END]\r\n[KEY = telemetrydevice]\r\n[END]\r\n";
    QTest::newRow("no block, final line end") << QByteArray("[KEY = graphics]\r\n[END]\r\n") << true
                                              << "[KEY = graphics]\r\n[END]\r\n\r\n" + il2Block;
    QTest::newRow("no block, no final line end") << QByteArray("[KEY = graphics]\r\n[END]") << true
                                                 << "[KEY = graphics]\r\n[END]\r\n" + il2Block;
    QTest::newRow("empty file") << QByteArray() << true << "\r\n" + il2Block;
    QTest::newRow("missing file") << QByteArray() << false << "\r\n" + il2Block;
}

void TestSimConfigWriter::il2StartupConfig()
{
    QTemporaryDir folder;
    checkEdit(folder.filePath("data/startup.cfg"), [&] { return SimConfigWriter::updateIl2(folder.path(), 29999); });
}

void TestSimConfigWriter::condor2UdpIni_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("comments and other keys kept, values set in place")
        << QByteArray("; Condor 2 UDP output\r\n[General]\r\nEnabled=0\r\n\r\n[Connection]\r\n; where to\r\n"
                      "Host=127.0.0.1\r\nPort=55278\r\n\r\n[Misc]\r\nSendIntervalMs=20\r\nExtendedData=0\r\n"
                      "ExtendedData1=0\r\nUser=caf\xC3\xA9 %U0041 \"q\"\r\n")
        << true
        << QByteArray("; Condor 2 UDP output\r\n[General]\r\nEnabled=1\r\n\r\n[Connection]\r\n; where to\r\n"
                      "Host=127.0.0.1\r\nPort=41000\r\n\r\n[Misc]\r\nSendIntervalMs=10\r\nExtendedData=1\r\n"
                      "ExtendedData1=1\r\nUser=caf\xC3\xA9 %U0041 \"q\"\r\n");
    QTest::newRow("letter case, blanks and indentation kept")
        << QByteArray("[ general ]\n  enabled = 0\n[CONNECTION]\n\tPORT =  7\n[misc]\nsendintervalms=1\n"
                      "extendeddata = 0\nEXTENDEDDATA1=0")
        << true
        << QByteArray("[ general ]\n  enabled = 1\n[CONNECTION]\n\tPORT =  41000\n[misc]\nsendintervalms=10\n"
                      "extendeddata = 1\nEXTENDEDDATA1=1");
    QTest::newRow("Enabled above the first section set there")
        << QByteArray("Enabled=0\r\n[Connection]\r\nPort=1\r\n[Misc]\r\nSendIntervalMs=10\r\nExtendedData=1\r\n"
                      "ExtendedData1=1\r\n")
        << true
        << QByteArray("Enabled=1\r\n[Connection]\r\nPort=41000\r\n[Misc]\r\nSendIntervalMs=10\r\nExtendedData=1\r\n"
                      "ExtendedData1=1\r\n");
    QTest::newRow("missing keys follow the last key of their section")
        << QByteArray("[General]\r\nOther=1\r\n\r\n[Connection]\r\nHost=127.0.0.1\r\n\r\n[Misc]\r\n; later\r\n")
        << true
        << QByteArray("[General]\r\nOther=1\r\nEnabled=1\r\n\r\n[Connection]\r\nHost=127.0.0.1\r\nPort=41000\r\n\r\n"
                      "[Misc]\r\nSendIntervalMs=10\r\nExtendedData=1\r\nExtendedData1=1\r\n; later\r\n");
    QTest::newRow("Enabled of another section is not the root key")
        << QByteArray("[Misc]\r\nEnabled=0\r\n") << true
        << QByteArray("[Misc]\r\nEnabled=0\r\nSendIntervalMs=10\r\nExtendedData=1\r\nExtendedData1=1\r\n"
                      "[General]\r\nEnabled=1\r\n[Connection]\r\nPort=41000\r\n");
    QTest::newRow("no final line end")
        << QByteArray("[Connection]\r\nPort=1") << true
        << QByteArray("[Connection]\r\nPort=41000\r\n[General]\r\nEnabled=1\r\n[Misc]\r\nSendIntervalMs=10\r\n"
                      "ExtendedData=1\r\nExtendedData1=1");
    QTest::newRow("empty file") << QByteArray() << true << condorFresh;
    QTest::newRow("missing file") << QByteArray() << false << condorFresh;
}

void TestSimConfigWriter::condor2UdpIni()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("Settings/UDP.ini");
    checkEdit(path, [&] { return SimConfigWriter::updateCondor2(folder.path(), 41000); });
    if (qstrcmp(QTest::currentDataTag(), "letter case, blanks and indentation kept") == 0)
        return; // QSettings itself would not find these spellings
    QSettings ini(path, QSettings::IniFormat);
    QCOMPARE(ini.value("Enabled").toInt(), 1);
    QCOMPARE(ini.value("Connection/Port").toInt(), 41000);
    QCOMPARE(ini.value("Misc/SendIntervalMs").toInt(), 10);
    QCOMPARE(ini.value("Misc/ExtendedData").toInt(), 1);
    QCOMPARE(ini.value("Misc/ExtendedData1").toInt(), 1);
}

void TestSimConfigWriter::dcsExportLua_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("missing file") << QByteArray() << false << "\r\n" + exportLine + "\r\n";
    QTest::newRow("no final line end, bytes kept")
        << QByteArray("-- mon \xC3\xA9xport\r\ndofile(lfs.writedir()..'Scripts/Other.lua')") << true
        << "-- mon \xC3\xA9xport\r\ndofile(lfs.writedir()..'Scripts/Other.lua')\r\n" + exportLine + "\r\n";
    QTest::newRow("LF line ends kept") << QByteArray("a\nb\n") << true << "a\nb\n\r\n" + exportLine + "\r\n";
    QTest::newRow("marker in a comment") << "-- " + exportLine + "\n" << true << "-- " + exportLine + "\n";
    QTest::newRow("marker inside a longer line")
        << QByteArray("pcall(function() dofile(Torquixlfs.writedir()..'Scripts/TorquixGameExport.lua') end)") << true
        << QByteArray("pcall(function() dofile(Torquixlfs.writedir()..'Scripts/TorquixGameExport.lua') end)");
}

void TestSimConfigWriter::dcsExportLua()
{
    QTemporaryDir root;
    makeDcsFolders(root.path());
    QFile::remove(root.filePath("dcs/Scripts/Export.lua"));
    checkEdit(root.filePath("dcs/Scripts/Export.lua"), [&] {
        return SimConfigWriter::updateDcs(root.filePath("dcs"), root.filePath("program/extras/dcs"), 31000);
    });
}

void TestSimConfigWriter::dcsTreeMerged()
{
    QTemporaryDir root;
    makeDcsFolders(root.path());
    const QString shipped = root.filePath("program/extras/dcs");
    const QString dcs = root.filePath("dcs");
    writeFile(root.filePath("elsewhere.lua"), "-- not ours\n");
    QVERIFY(QFile::link(root.filePath("elsewhere.lua"), shipped + "/Scripts/Torquix/linked.lua"));
    QVERIFY(QFile::link(shipped, shipped + "/Scripts/Torquix/circle"));
    QVERIFY(QFile::setPermissions(shipped + "/Scripts/TorquixGameExport.lua",
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    const auto shippedBefore = snapshot(shipped);

    QCOMPARE(SimConfigWriter::updateDcs(dcs, shipped, 31000), QString());

    QCOMPARE(readFile(dcs + "/Scripts/TorquixGameExport.lua"), QByteArray("-- export v2\n"));
    QCOMPARE(readFile(dcs + "/Scripts/Torquix/lib/util.lua"), QByteArray("-- util v2\n"));
    QCOMPARE(readFile(dcs + "/Scripts/Torquix/Port.lua"), QByteArray("Torquix.port = 31000"));
    QCOMPARE(readFile(dcs + "/Scripts/Torquix/Own.lua"), QByteArray("-- the user's\n"));
    QCOMPARE(readFile(dcs + "/Scripts/Hooks/Other.lua"), QByteArray("-- another hook\n"));
    QCOMPARE(readFile(dcs + "/Scripts/Export.lua"), "-- the user's exports\r\n\r\n" + exportLine + "\r\n");
    QVERIFY(!QFileInfo::exists(dcs + "/Scripts/Hooks/TorquixTelemetry.lua"));
    QVERIFY(!QFileInfo(dcs + "/Scripts/Torquix/linked.lua").exists());
    QVERIFY(!QFileInfo(dcs + "/Scripts/Torquix/circle").exists());
    QVERIFY(QFile::permissions(dcs + "/Scripts/TorquixGameExport.lua") & QFileDevice::WriteOwner);
    QCOMPARE(snapshot(shipped), shippedBefore);
    const QStringList leftovers = QDir(dcs + "/Scripts").entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(leftovers, QStringList({"Export.lua", "TorquixGameExport.lua"}));
}

void TestSimConfigWriter::dcsRefusedTouchesNothing_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("removeScript");
    QTest::addColumn<QString>("named");
    QTest::newRow("the shipped tree") << "program/extras/dcs" << false << "dcs";
    QTest::newRow("inside the shipped tree") << "program/extras/dcs/Scripts/Torquix" << false << "Torquix";
    QTest::newRow("inside through ..") << "program/extras/dcs/Scripts/../Scripts" << false << "Scripts";
    QTest::newRow("inside through a link") << "link" << false << "link";
    QTest::newRow("shipped export script missing") << "dcs" << true << "TorquixGameExport.lua";
    QTest::newRow("DCS folder missing") << "nowhere" << false << "nowhere";
}

void TestSimConfigWriter::dcsRefusedTouchesNothing()
{
    QFETCH(QString, target);
    QFETCH(bool, removeScript);
    QFETCH(QString, named);
    QTemporaryDir root;
    makeDcsFolders(root.path());
    const QString shipped = root.filePath("program/extras/dcs");
    writeFile(shipped + "/Scripts/Hooks/TorquixTelemetry.lua", "-- shipped by mistake\n");
    QVERIFY(QFile::link(shipped + "/Scripts", root.filePath("link")));
    if (removeScript)
        QVERIFY(QFile::remove(shipped + "/Scripts/TorquixGameExport.lua"));
    const auto before = snapshot(root.path());

    const QString error = SimConfigWriter::updateDcs(root.filePath(target), shipped, 31000);
    QVERIFY2(error.contains(named), qPrintable(error));
    QCOMPARE(snapshot(root.path()), before);
}

void TestSimConfigWriter::failedStepReportsAndStops_data()
{
    QTest::addColumn<QString>("simulator");
    QTest::addColumn<QString>("readOnly");
    QTest::addColumn<QString>("named");
    QTest::addColumn<QStringList>("untouched");
    QTest::newRow("IL-2 startup.cfg") << "il2" << "il2/data/startup.cfg" << "startup.cfg"
                                      << QStringList{"il2/data/startup.cfg"};
    QTest::newRow("Condor 2 UDP.ini") << "condor2" << "condor2/Settings/UDP.ini" << "UDP.ini"
                                      << QStringList{"condor2/Settings/UDP.ini"};
    QTest::newRow("DCS Export.lua") << "dcs" << "dcs/Scripts/Export.lua" << "Export.lua"
                                    << QStringList{"dcs/Scripts/Export.lua"};
    QTest::newRow("DCS copy, Export.lua not edited after it")
        << "dcs" << "dcs/Scripts/Torquix" << "Port.lua"
        << QStringList{"dcs/Scripts/Export.lua", "dcs/Scripts/Torquix/Port.lua", "dcs/Scripts/TorquixGameExport.lua"};
    QTest::newRow("DCS old hook, nothing copied after it")
        << "dcs" << "dcs/Scripts/Hooks" << "TorquixTelemetry.lua"
        << QStringList{"dcs/Scripts/Export.lua", "dcs/Scripts/TorquixGameExport.lua",
                       "dcs/Scripts/Hooks/TorquixTelemetry.lua"};
}

void TestSimConfigWriter::failedStepReportsAndStops()
{
    QFETCH(QString, simulator);
    QFETCH(QString, readOnly);
    QFETCH(QString, named);
    QFETCH(QStringList, untouched);
    QTemporaryDir root;
    makeDcsFolders(root.path());
    writeFile(root.filePath("il2/data/startup.cfg"), "[KEY = telemetrydevice]\r\naddr1 = \"old\"\r\n[END]\r\n");
    writeFile(root.filePath("condor2/Settings/UDP.ini"), "[Connection]\r\nPort=1\r\n");
    QMap<QString, QByteArray> before;
    for (const QString& name : untouched)
        before[name] = readFile(root.filePath(name));
    ReadOnlyPath guard(root.filePath(readOnly));
    if (!guard.enforced)
        QSKIP("read-only permissions do not stop this user's writes (root) and chattr +i is unavailable");

    QString error;
    if (simulator == "il2")
        error = SimConfigWriter::updateIl2(root.filePath("il2"), 29999);
    else if (simulator == "condor2")
        error = SimConfigWriter::updateCondor2(root.filePath("condor2"), 41000);
    else
        error = SimConfigWriter::updateDcs(root.filePath("dcs"), root.filePath("program/extras/dcs"), 31000);
    QVERIFY2(error.contains(named), qPrintable(error));
    for (const QString& name : untouched)
        QCOMPARE(readFile(root.filePath(name)), before[name]);
}

QTEST_GUILESS_MAIN(TestSimConfigWriter)
#include "tst_simconfigwriter.moc"
