#include "simconfigwriter.h"

#include "atomicfile.h"
#include "textlines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <vector>

namespace {

// Existing users' Export.lua files carry exactly this line; it is searched for anywhere
// in a line, so a user who commented it out keeps it that way.
const QByteArray exportMarker = QByteArrayLiteral("dofile(Torquixlfs.writedir()..'Scripts/TorquixGameExport.lua')");
const QByteArray exportLine =
    QByteArrayLiteral("local Torquixlfs=require('lfs');") + exportMarker;
const QByteArray crLf = QByteArrayLiteral("\r\n");

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

QString cannotRead(const QString& path, const QString& reason)
{
    return SimConfigWriter::tr("Cannot read %1: %2").arg(native(path), reason);
}

QString cannotWrite(const QString& path, const QString& reason)
{
    return SimConfigWriter::tr("Cannot write %1: %2").arg(native(path), reason);
}

// A missing file reads as empty. One that exists but cannot be read is an error, so that
// it is never replaced by an edit of nothing.
QString readFile(const QString& path, QByteArray* bytes)
{
    bytes->clear();
    const QFileInfo entry(path);
    if (!entry.exists())
        return QString();
    // Reading a pipe or a device would hang the page or never end.
    if (!entry.isFile())
        return cannotRead(path, SimConfigWriter::tr("it is not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return cannotRead(path, file.errorString());
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return cannotRead(path, file.errorString());
    return QString();
}

// The old file stays whole until its complete replacement is in place, also on a full disk.
QString replaceFile(const QString& path, const QByteArray& bytes)
{
    const QString error = replaceFileAtomically(path, bytes);
    return error.isEmpty() ? QString() : cannotWrite(path, error);
}

QString editFile(const QString& path, const std::function<QByteArray(const QByteArray&)>& edit)
{
    QByteArray before;
    const QString error = readFile(path, &before);
    if (!error.isEmpty())
        return error;
    const QByteArray after = edit(before);
    if (after == before && QFileInfo::exists(path))
        return QString();
    return replaceFile(path, after);
}

// The copy is a new file with the folder's default permissions: a read-only flag of the
// shipped file is not carried over, so the next update can replace the copy. A copy that
// is the same already is not written, so that an update on a full disk gets as far as the
// user's own files.
QString copyFile(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return cannotRead(source, in.errorString());
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return cannotRead(source, in.errorString());
    return editFile(target, [&bytes](const QByteArray&) { return bytes; });
}

// True when folder is tree itself or lies inside it, also through links or "..".
bool liesWithin(const QString& folder, const QString& tree)
{
    const QFileInfo treeInfo(QFileInfo(tree).canonicalFilePath());
    QDir dir(QFileInfo(folder).canonicalFilePath());
    if (treeInfo.filePath().isEmpty() || dir.path().isEmpty())
        return false;
    do {
        if (QFileInfo(dir.path()) == treeInfo)
            return true;
    } while (dir.cdUp());
    return false;
}

QByteArray withExportHook(const QByteArray& lua)
{
    if (lua.contains(exportMarker))
        return lua;
    // The first line end starts the new line on its own even after an unended last line.
    return lua + crLf + exportLine + crLf;
}

QByteArray il2Addr1Line(quint16 port)
{
    return QByteArrayLiteral("addr1 = \"127.0.0.1:") + QByteArray::number(port) + '"';
}

// A block begins at a telemetry-device header and ends before its "[END]", before any
// other line that begins with "[" (an "[end]" IL-2 would not take, or the next section),
// or at the end of the file; so the addr1 of a following device block is never set.
QByteArray withIl2Telemetry(const QByteArray& config, quint16 port)
{
    static const QRegularExpression header(QStringLiteral("\\[KEY\\s*=\\s*telemetrydevice\\s*\\]"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QByteArray addr1 = il2Addr1Line(port);
    struct Block {
        int end;
        std::vector<int> addr1Lines;
    };
    std::vector<Block> blocks;
    TextLines lines(config);
    bool inside = false;
    for (int i = 0; i < lines.count(); ++i) {
        const QByteArray trimmed = lines.trimmedText(i);
        if (header.match(QString::fromUtf8(trimmed)).hasMatch()) {
            if (inside)
                blocks.back().end = i;
            blocks.push_back({lines.count(), {}});
            inside = true;
        } else if (inside && trimmed.startsWith('[')) {
            blocks.back().end = i;
            inside = false;
        } else if (inside && trimmed.startsWith("addr1")) {
            blocks.back().addr1Lines.push_back(i);
        }
    }

    // Only a file without any block gets a new one: IL-2 would ignore a second block, or
    // let it override the user's own.
    if (blocks.empty()) {
        const QByteArrayList block = {QByteArrayLiteral("[KEY = telemetrydevice]"),
                                      QByteArrayLiteral("addr = \"127.0.0.1\""),
                                      addr1,
                                      QByteArrayLiteral("decimation = 2"),
                                      QByteArrayLiteral("enable = true"),
                                      QByteArrayLiteral("port = 29373"),
                                      QByteArrayLiteral("[END]")};
        return config + crLf + block.join(crLf);
    }
    bool replaced = false;
    for (const Block& block : blocks) {
        for (int line : block.addr1Lines) {
            lines.setText(line, addr1);
            replaced = true;
        }
    }
    if (!replaced)
        lines.insert(blocks.front().end, addr1);
    return lines.toBytes();
}

// The line with a new value after its "=" (and the blanks after it); indentation and the
// key's spelling stay.
QByteArray withIniValue(const QByteArray& line, const QByteArray& value)
{
    qsizetype keep = line.indexOf('=') + 1;
    while (keep < line.size() && (line.at(keep) == ' ' || line.at(keep) == '\t'))
        ++keep;
    return line.left(keep) + value;
}

// Sets key to value wherever it stands in the section, or adds it after the section's
// last key, making the section at the end of the file when it is missing. Sections and
// keys match as Windows matches them: letter case and surrounding blanks ignored.
// atRootToo also takes the key where it stands above the first section.
void setIniValue(TextLines& lines, const QByteArray& section, const QByteArray& key,
                 const QByteArray& value, bool atRootToo = false)
{
    bool atRoot = true;
    bool inSection = false;
    bool inFirstSection = false;
    bool found = false;
    int insertAt = -1;
    for (int i = 0; i < lines.count(); ++i) {
        const QByteArray trimmed = lines.trimmedText(i);
        if (trimmed.startsWith('[')) {
            const qsizetype close = trimmed.indexOf(']');
            const QByteArray name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            inFirstSection = inSection && insertAt < 0;
            if (inFirstSection)
                insertAt = i + 1;
            atRoot = false;
            continue;
        }
        const qsizetype equals = trimmed.indexOf('=');
        if (!(inSection || (atRoot && atRootToo)) || equals <= 0 || trimmed.startsWith(';')
            || trimmed.startsWith('#'))
            continue;
        if (inFirstSection)
            insertAt = i + 1;
        if (trimmed.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines.setText(i, withIniValue(lines.text(i), value));
            found = true;
        }
    }
    if (found)
        return;
    if (insertAt < 0) {
        lines.insert(lines.count(), '[' + section + ']');
        insertAt = lines.count();
    }
    lines.insert(insertAt, key + '=' + value);
}

QByteArray withCondor2Telemetry(const QByteArray& ini, quint16 port)
{
    TextLines lines(ini);
    // A key above the first section and one under [General] are the same key to Condor
    // and QSettings.
    setIniValue(lines, "General", "Enabled", "1", true);
    setIniValue(lines, "Connection", "Port", QByteArray::number(port));
    setIniValue(lines, "Misc", "SendIntervalMs", "10");
    setIniValue(lines, "Misc", "ExtendedData", "1");
    setIniValue(lines, "Misc", "ExtendedData1", "1");
    return lines.toBytes();
}

} // namespace

QString SimConfigWriter::updateDcs(const QString& dcsFolder, const QString& shippedFolder, quint16 port)
{
    const QString exportScript = shippedFolder + QStringLiteral("/Scripts/TorquixGameExport.lua");
    if (!QFileInfo(exportScript).isFile())
        return tr("The DCS export script %1 is missing; nothing was changed.").arg(native(exportScript));
    if (!QFileInfo(dcsFolder).isDir())
        return tr("The DCS folder %1 does not exist; nothing was changed.").arg(native(dcsFolder));
    // Copying the tree into itself would replace its files by themselves and descend
    // into the folders the copy makes.
    if (liesWithin(dcsFolder, shippedFolder))
        return tr("The DCS folder %1 is the export scripts' own folder %2 or lies inside it; nothing was changed.")
            .arg(native(dcsFolder), native(shippedFolder));

    // The hook of earlier versions would send a second stream to the same port.
    const QFileInfo oldHook(dcsFolder + QStringLiteral("/Scripts/Hooks/TorquixTelemetry.lua"));
    if (oldHook.exists() || oldHook.isSymLink()) {
        QFile hook(oldHook.filePath());
        if (!hook.remove())
            return tr("Cannot remove %1: %2").arg(native(hook.fileName()), hook.errorString());
    }
    QString error = copyDirectoryRecursively(shippedFolder, dcsFolder);
    if (!error.isEmpty())
        return error;
    // Written into the simulator's folder, never into the program's own tree, which is
    // often read-only.
    const QByteArray portLua = QByteArrayLiteral("Torquix.port = ") + QByteArray::number(port);
    error = editFile(dcsFolder + QStringLiteral("/Scripts/Torquix/Port.lua"),
                     [&portLua](const QByteArray&) { return portLua; });
    if (!error.isEmpty())
        return error;
    return editFile(dcsFolder + QStringLiteral("/Scripts/Export.lua"), withExportHook);
}

QString SimConfigWriter::updateIl2(const QString& il2Folder, quint16 port)
{
    return editFile(il2Folder + QStringLiteral("/data/startup.cfg"),
                    [port](const QByteArray& config) { return withIl2Telemetry(config, port); });
}

QString SimConfigWriter::updateCondor2(const QString& condor2Folder, quint16 port)
{
    return editFile(condor2Folder + QStringLiteral("/Settings/UDP.ini"),
                    [port](const QByteArray& ini) { return withCondor2Telemetry(ini, port); });
}

QString SimConfigWriter::copyDirectoryRecursively(const QString& source, const QString& target)
{
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isDir() || !sourceInfo.isReadable())
        return tr("Cannot read folder %1").arg(native(source));
    const QFileInfoList entries = QDir(source).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot,
                                                              QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        // A link could lead the copy out of the shipped tree or round in a circle.
        if (entry.isSymLink())
            continue;
        const QString copy = target + QLatin1Char('/') + entry.fileName();
        QString error;
        if (entry.isDir()) {
            if (!QFileInfo(copy).isDir() && !QDir(target).mkdir(entry.fileName()))
                return tr("Cannot create folder %1").arg(native(copy));
            error = copyDirectoryRecursively(entry.filePath(), copy);
        } else {
            error = copyFile(entry.filePath(), copy);
        }
        if (!error.isEmpty())
            return error;
    }
    return QString();
}
