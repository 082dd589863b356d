#include "simconfigwriter.h"
#include "smallfilesystem.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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

// A file's bytes before and after an edit written with each change as {before|after};
// @A stands for the addr1 line, @B for a new IL-2 block and @X for the hook line.
QPair<QByteArray, QByteArray> sidesOf(QByteArray edit)
{
    edit.replace("@A", addr1).replace("@B", il2Block).replace("@X", exportLine);
    QByteArray before, after;
    enum { BOTH, BEFORE, AFTER } side = BOTH;
    for (const char c : std::as_const(edit)) {
        if (c == '{' || (c == '|' && side == BEFORE) || (c == '}' && side == AFTER)) {
            side = c == '{' ? BEFORE : c == '|' ? AFTER : BOTH;
            continue;
        }
        if (side != AFTER)
            before += c;
        if (side != BEFORE)
            after += c;
    }
    return {before, after};
}

// The update of one simulator, on its folder below root.
QString update(const QString& simulator, const QString& root)
{
    if (simulator == "il2")
        return SimConfigWriter::updateIl2(root + "/il2", 29999);
    if (simulator == "condor2")
        return SimConfigWriter::updateCondor2(root + "/condor2", 41000);
    return SimConfigWriter::updateDcs(root + "/dcs", root + "/program/extras/dcs", 31000);
}

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

private slots:
    void editTouchesOnlyWhatMustChange_data();
    void editTouchesOnlyWhatMustChange();
    void dcsTreeMerged();
    void dcsRefusedTouchesNothing_data();
    void dcsRefusedTouchesNothing();
    void failedStepReportsAndStops_data();
    void failedStepReportsAndStops();
    void fullDiskKeepsTheFile_data();
    void fullDiskKeepsTheFile();
    void pipeInPlaceOfAFileIsRefused_data();
    void pipeInPlaceOfAFileIsRefused();
};

void TestSimConfigWriter::editTouchesOnlyWhatMustChange_data()
{
    QTest::addColumn<QString>("simulator");
    QTest::addColumn<QByteArray>("edit");
    QTest::addColumn<bool>("exists");
    const auto row = [](const char* name, const char* simulator, const QByteArray& edit, bool exists = true) {
        QTest::newRow(name) << QString(simulator) << edit << exists;
    };

    row("il2: only the addr1 line changes, CR LF kept", "il2", "; IL-2\r\n[KEY = graphics]\r\n\tfullscreen = false\r\n"
        "[END]\r\n[KEY = telemetrydevice]\r\n\taddr = \"127.0.0.1\"\r\n{\taddr1 = \"127.0.0.1:4000\"|@A}\r\n\tdecimation = 2\r\n[END]\r\n");
    row("il2: mark, LF, non-ASCII, no final line end; addr1 outside a block stays", "il2", "\xEF\xBB\xBF"
        "[KEY = telemetrydevice]\n{addr1 = \"x\"|@A}\n[END]\naddr1 = \"outside\"\n// pilote \xC3\xA9l\xC3\xA8ve \xE9\xFF\nlast");
    row("il2: two blocks, header letter case and spaces", "il2",
        "  [key=TelemetryDevice ]  \r\n{addr1 = \"a\"|@A}\r\n[END]\r\n[KEY\t =  TELEMETRYDEVICE]\r\n{  addr1 = \"b\"|@A}\r\n[END]");
    row("il2: [end] closes the block before the next device's addr1", "il2",
        "[KEY = telemetrydevice]\r\n{addr1 = \"a\"|@A}\r\n[end]\r\n[KEY = motiondevice]\r\naddr1 = \"b\"\r\n[END]\r\n");
    row("il2: block without addr1 and [END] gets it before the next section", "il2",
        "[KEY = telemetrydevice]\r\nenable = true\r\n{|@A\r\n}[KEY = motiondevice]\r\naddr1 = \"b\"\r\n");
    row("il2: block without addr1 gets it before [END]", "il2", "[KEY = telemetrydevice]\r\nenable = true\r\n{|@A\r\n}[END]\r\n");
    row("il2: block without addr1 at an unended end of file", "il2", "[KEY = telemetrydevice]\nenable = true{|\r\n@A}");
    row("il2: blocks without addr1: the first gets it", "il2",
        "[KEY = telemetrydevice]\r\n{|@A\r\n}[END]\r\n[KEY = telemetrydevice]\r\n[END]\r\n");
    row("il2: no block, final line end", "il2", "[KEY = graphics]\r\n[END]\r\n{|\r\n@B}");
    row("il2: no block, no final line end", "il2", "[KEY = graphics]\r\n[END]{|\r\n@B}");
    row("il2: empty file", "il2", "{|\r\n@B}");
    row("il2: missing file", "il2", "{|\r\n@B}", false);

    row("condor2: comments and other keys kept, values set in place", "condor2",
        "; Condor 2 UDP output\r\n[General]\r\nEnabled={0|1}\r\n\r\n[Connection]\r\n; where to\r\nHost=127.0.0.1\r\n"
        "Port={55278|41000}\r\n\r\n[Misc]\r\nSendIntervalMs={20|10}\r\nExtendedData={0|1}\r\nExtendedData1={0|1}\r\n"
        "User=caf\xC3\xA9 %U0041 \"q\"\r\n");
    row("condor2: letter case, blanks and indentation kept", "condor2", "[ general ]\n  enabled = {0|1}\n[CONNECTION]\n"
        "\tPORT =  {7|41000}\n[misc]\nsendintervalms={1|10}\nextendeddata = {0|1}\nEXTENDEDDATA1={0|1}");
    row("condor2: Enabled above the first section set there", "condor2", "Enabled={0|1}\r\n[Connection]\r\n"
        "Port={1|41000}\r\n[Misc]\r\nSendIntervalMs=10\r\nExtendedData=1\r\nExtendedData1=1\r\n");
    row("condor2: missing keys follow the last key of their section", "condor2", "[General]\r\nOther=1\r\n{|Enabled=1\r\n}"
        "\r\n[Connection]\r\nHost=127.0.0.1\r\n{|Port=41000\r\n}\r\n[Misc]\r\n"
        "{|SendIntervalMs=10\r\nExtendedData=1\r\nExtendedData1=1\r\n}; later\r\n");
    row("condor2: Enabled of another section is not the root key", "condor2", "[Misc]\r\nEnabled=0\r\n{|SendIntervalMs=10"
        "\r\nExtendedData=1\r\nExtendedData1=1\r\n[General]\r\nEnabled=1\r\n[Connection]\r\nPort=41000\r\n}");
    row("condor2: no final line end", "condor2", "[Connection]\r\nPort={1|41000\r\n[General]\r\nEnabled=1\r\n[Misc]\r\n"
        "SendIntervalMs=10\r\nExtendedData=1\r\nExtendedData1=1}");
    row("condor2: empty file", "condor2", "{|" + condorFresh + "}");
    row("condor2: missing file", "condor2", "{|" + condorFresh + "}", false);

    row("dcs: missing Export.lua", "dcs", "{|\r\n@X\r\n}", false);
    row("dcs: no final line end, bytes kept", "dcs",
        "-- mon \xC3\xA9xport\r\ndofile(lfs.writedir()..'Scripts/Other.lua'){|\r\n@X\r\n}");
    row("dcs: LF line ends kept", "dcs", "a\nb\n{|\r\n@X\r\n}");
    row("dcs: marker in a comment", "dcs", "-- @X\n");
    row("dcs: marker inside a longer line", "dcs",
        "pcall(function() dofile(Torquixlfs.writedir()..'Scripts/TorquixGameExport.lua') end)");
}

// Runs the update twice on the row's file: the first gives the expected bytes and writes
// only when they differ, the second changes and writes nothing.
void TestSimConfigWriter::editTouchesOnlyWhatMustChange()
{
    QFETCH(QString, simulator);
    QFETCH(QByteArray, edit);
    QFETCH(bool, exists);
    const auto [before, expected] = sidesOf(edit);
    QTemporaryDir root;
    makeDcsFolders(root.path());
    const QString path = root.filePath(simulator == "il2" ? "il2/data/startup.cfg"
                                       : simulator == "condor2" ? "condor2/Settings/UDP.ini"
                                                                : "dcs/Scripts/Export.lua");
    QFile::remove(path);
    QDir().mkpath(QFileInfo(path).path());
    if (exists) {
        writeFile(path, before);
        makeOld(path);
    }
    QCOMPARE(update(simulator, root.path()), QString());
    QCOMPARE(readFile(path), expected);
    QCOMPARE(written(path), !exists || expected != before);
    makeOld(path);
    QCOMPARE(update(simulator, root.path()), QString());
    QCOMPARE(readFile(path), expected);
    QVERIFY(!written(path));

    if (simulator != "condor2" || QByteArray(QTest::currentDataTag()).contains("letter case"))
        return; // QSettings itself would not find those spellings
    QSettings ini(path, QSettings::IniFormat);
    QCOMPARE(ini.value("Enabled").toInt(), 1);
    QCOMPARE(ini.value("Connection/Port").toInt(), 41000);
    QCOMPARE(ini.value("Misc/SendIntervalMs").toInt(), 10);
    QCOMPARE(ini.value("Misc/ExtendedData").toInt(), 1);
    QCOMPARE(ini.value("Misc/ExtendedData1").toInt(), 1);
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

    // Shipped files replaced, the user's kept, the old hook gone, links skipped, and no
    // temporary file left anywhere.
    const QByteArray folder = "<folder>";
    QCOMPARE(snapshot(dcs), (QMap<QString, QByteArray>{{"Scripts", folder}, {"Scripts/Hooks", folder},
        {"Scripts/Export.lua", "-- the user's exports\r\n\r\n" + exportLine + "\r\n"},
        {"Scripts/Hooks/Other.lua", "-- another hook\n"}, {"Scripts/TorquixGameExport.lua", "-- export v2\n"},
        {"Scripts/Torquix", folder}, {"Scripts/Torquix/Own.lua", "-- the user's\n"},
        {"Scripts/Torquix/Port.lua", "Torquix.port = 31000"}, {"Scripts/Torquix/lib", folder},
        {"Scripts/Torquix/lib/util.lua", "-- util v2\n"}}));
    QVERIFY(QFile::permissions(dcs + "/Scripts/TorquixGameExport.lua") & QFileDevice::WriteOwner);
    QCOMPARE(snapshot(shipped), shippedBefore);
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
    QTest::addColumn<QString>("readOnly"); // its first folder is the simulator's
    QTest::addColumn<QString>("named");
    QTest::addColumn<QStringList>("untouched"); // besides the read-only file
    const QString exportLua = "dcs/Scripts/Export.lua", script = "dcs/Scripts/TorquixGameExport.lua";
    QTest::newRow("IL-2 startup.cfg") << "il2/data/startup.cfg" << "startup.cfg" << QStringList();
    QTest::newRow("Condor 2 UDP.ini") << "condor2/Settings/UDP.ini" << "UDP.ini" << QStringList();
    QTest::newRow("DCS Export.lua") << exportLua << "Export.lua" << QStringList();
    QTest::newRow("DCS copy, Export.lua not edited after it")
        << "dcs/Scripts/Torquix" << "Port.lua" << QStringList{exportLua, "dcs/Scripts/Torquix/Port.lua", script};
    QTest::newRow("DCS old hook, nothing copied after it")
        << "dcs/Scripts/Hooks" << "TorquixTelemetry.lua" << QStringList{exportLua, script, "dcs/Scripts/Hooks/TorquixTelemetry.lua"};
}

void TestSimConfigWriter::failedStepReportsAndStops()
{
    QFETCH(QString, readOnly);
    QFETCH(QString, named);
    QFETCH(QStringList, untouched);
    QTemporaryDir root;
    makeDcsFolders(root.path());
    writeFile(root.filePath("il2/data/startup.cfg"), "[KEY = telemetrydevice]\r\naddr1 = \"old\"\r\n[END]\r\n");
    writeFile(root.filePath("condor2/Settings/UDP.ini"), "[Connection]\r\nPort=1\r\n");
    untouched << readOnly;
    QMap<QString, QByteArray> before;
    for (const QString& name : untouched)
        before[name] = readFile(root.filePath(name));
    ReadOnlyPath guard(root.filePath(readOnly));
    if (!guard.enforced)
        QSKIP("read-only permissions do not stop this user's writes (root) and chattr +i is unavailable");

    const QString error = update(readOnly.section('/', 0, 0), root.path());
    QVERIFY2(error.contains(named), qPrintable(error));
    for (const QString& name : untouched)
        QCOMPARE(readFile(root.filePath(name)), before[name]);
}

void TestSimConfigWriter::fullDiskKeepsTheFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("old"); // empty: the file is missing
    QTest::addColumn<qint64>("leaveFree");
    const QByteArray big = "; " + QByteArray(3 * SmallFileSystem::pageSize, 'x') + "\r\n"; // more than a free page
    const QPair<const char*, QByteArray> files[] = {
        {"il2/data/startup.cfg", big + "[KEY = telemetrydevice]\r\naddr1 = \"old\"\r\n[END]\r\n"},
        {"condor2/Settings/UDP.ini", big + "[Connection]\r\nPort=1\r\n"},
        {"dcs/Scripts/Export.lua", "-" + big},
        {"dcs/Scripts/TorquixGameExport.lua", "-- export v1\n"}}; // a copied script
    for (const auto& [file, old] : files) {
        for (const qint64 free : {qint64(0), SmallFileSystem::pageSize}) {
            const char* space = free ? "one page free" : "full";
            QTest::addRow("%s, old, %s", file, space) << file << old << free;
            QTest::addRow("%s, missing, %s", file, space) << file << QByteArray() << free;
        }
    }
}

// The update leaves either the new, complete file, or the old one byte-identical (or
// missing) and an error naming it; no temporary file is left. Of the new files only the
// small ones fit where one page is free.
void TestSimConfigWriter::fullDiskKeepsTheFile()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, old);
    QFETCH(qint64, leaveFree);
    SmallFileSystem disk;
    SKIP_UNLESS_MOUNTED(disk);
    const QString root = disk.path(), path = root + '/' + file, simulator = file.section('/', 0, 0);
    makeDcsFolders(root);
    // The DCS update then has nothing to write before Export.lua but the larger shipped script.
    writeFile(root + "/program/extras/dcs/Scripts/Torquix/Port.lua", "Torquix.port = 31000");
    writeFile(root + "/program/extras/dcs/Scripts/TorquixGameExport.lua", QByteArray(3 * SmallFileSystem::pageSize, '-'));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile::remove(path);
    QCOMPARE(update(simulator, root), QString());
    const QByteArray fresh = readFile(path); // what the update makes of a missing file
    QVERIFY(QFile::remove(path));
    if (!old.isEmpty())
        writeFile(path, old);
    const auto before = snapshot(root);
    QVERIFY(disk.fill(leaveFree));

    const QString error = update(simulator, root);
    auto after = snapshot(root);
    QCOMPARE(after.remove(SmallFileSystem::ballastName()), 1);
    if (old.isEmpty() && leaveFree > 0 && !file.endsWith("TorquixGameExport.lua")) {
        QCOMPARE(error, QString());
        QCOMPARE(after.take(file), fresh);
    } else {
        QVERIFY2(error.contains(QDir::toNativeSeparators(path)), qPrintable(error));
    }
    QCOMPARE(after, before);
}

void TestSimConfigWriter::pipeInPlaceOfAFileIsRefused_data()
{
    QTest::addColumn<QString>("pipe"); // its first folder is the simulator's
    QTest::newRow("IL-2 startup.cfg") << "il2/data/startup.cfg";
    QTest::newRow("DCS Export.lua") << "dcs/Scripts/Export.lua";
    QTest::newRow("DCS copied script") << "dcs/Scripts/TorquixGameExport.lua";
}

// A pipe is neither read, which would hang the page, nor replaced.
void TestSimConfigWriter::pipeInPlaceOfAFileIsRefused()
{
    QFETCH(QString, pipe);
    QTemporaryDir root;
    makeDcsFolders(root.path());
    QFile::remove(root.filePath(pipe));
    QVERIFY(QDir().mkpath(QFileInfo(root.filePath(pipe)).path()));
    QVERIFY(::mkfifo(QFile::encodeName(root.filePath(pipe)).constData(), 0600) == 0);
    const QString error = update(pipe.section('/', 0, 0), root.path());
    QVERIFY2(error.contains(pipe.section('/', -1)), qPrintable(error));
    QVERIFY(!QFileInfo(root.filePath(pipe)).isFile() && QFileInfo::exists(root.filePath(pipe)));
}

QTEST_GUILESS_MAIN(TestSimConfigWriter)
#include "tst_simconfigwriter.moc"
