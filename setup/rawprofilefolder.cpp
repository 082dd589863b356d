#include "rawprofilefolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSaveFile>

#include <filesystem>
#include <system_error>

namespace {

// Writes bytes under a hidden name of the folder, then renames that over target, which
// replaces a plain file atomically and never writes through a link. Unbuffered, so that a
// full disk fails the write itself (a buffered QSaveFile flushes only in commit(), and
// Qt 6.4 can let that flush fail, commit anyway and rename a short file over the
// profile); QSaveFile's commit still puts the bytes on the disk before the rename. A
// failed save removes its temporary files. Returns the reason of a failure.
QString writeAtomically(const QString& folderPath, const QFileInfo& target, const QByteArray& bytes)
{
    // Hidden, so that no profile can have it or its QSaveFile's temporary file (the name,
    // a dot and six letters): that pattern is an ordinary profile name too.
    const QString hidden = folderPath + QStringLiteral("/.saving-%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    {
        QSaveFile file(hidden);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return file.errorString();
        if (target.isFile())
            file.setPermissions(target.permissions());
        const qint64 written = file.write(bytes);
        if (written < 0)
            return file.errorString();
        if (written != bytes.size())
            return QCoreApplication::translate("RawProfileFolder", "only %1 of %2 bytes were written (is the disk full?)").arg(written).arg(bytes.size());
        if (!file.commit())
            return file.errorString();
    }
    std::error_code code;
    std::filesystem::rename(QFileInfo(hidden).filesystemFilePath(), target.filesystemFilePath(), code);
    if (!code)
        return QString();
    QFile::remove(hidden);
    return QString::fromLocal8Bit(code.message());
}

// A kill during a save can leave its hidden file or QSaveFile's one behind. After a
// minute no save, also none of a second copy of the program, still writes it; a future
// time is no age. Plain files of exactly those names only: a link, a folder or a user's
// own dot file is never touched.
void removeStaleTemporaries(const QString& folderPath)
{
    static const QRegularExpression leftover(
        QRegularExpression::anchoredPattern(QStringLiteral("\\.saving-[0-9a-f]{16}(\\.[A-Za-z]{6})?")));
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList entries = QDir(folderPath).entryInfoList({QStringLiteral(".saving-*")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile() && !entry.isSymLink() && leftover.match(entry.fileName()).hasMatch() && entry.lastModified() < staleBefore)
            QFile::remove(entry.filePath());
    }
}

} // namespace

RawProfileFolder::RawProfileFolder(const QString& folderName, int recordSize)
    : recordSize(recordSize)
{
    QDir folder = QDir::current();
    usable = folder.mkpath(folderName) && folder.cd(folderName);
    if (!usable) {
        qWarning() << "profile folder" << QDir::current().absoluteFilePath(folderName)
                             << "cannot be made or entered; profiles are off";
        return;
    }
    folderPath = folder.absolutePath();
}

QStringList RawProfileFolder::names() const
{
    if (!usable)
        return {};
    removeStaleTemporaries(folderPath);
    // Windows lists names starting with a dot as any other.
    QStringList files = QDir(folderPath).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    files.removeIf(isTemporaryName);
    return files;
}

bool RawProfileFolder::load(const QString& name, QByteArray* record) const
{
    if (!acceptsName(name, "applied"))
        return false;
    QFile file(filePath(name));
    // A plain file only: opening a device or a pipe could block or read forever.
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly)) {
        qWarning() << "profile" << name << "cannot be read; nothing applied";
        return false;
    }
    const QByteArray bytes = file.read(recordSize + 1);
    if (bytes.size() != recordSize) {
        qWarning() << "profile" << name << "does not hold" << recordSize
                             << "bytes; nothing applied";
        return false;
    }
    *record = bytes;
    return true;
}

bool RawProfileFolder::save(const QString& name, const QByteArray& record, QString* error) const
{
    QString failure = refusal(name);
    if (failure.isEmpty() && !isPortableName(name))
        failure = tr("the name is no file name on Windows");
    const QFileInfo entry(filePath(name));
    // Renaming over a link would replace the link, which is the user's.
    if (failure.isEmpty() && entry.isSymLink())
        failure = tr("it is a link, and nothing is written through a link");
    // A pipe, device or folder of that name is the user's, not a profile.
    if (failure.isEmpty() && entry.exists() && !entry.isFile())
        failure = tr("it is not a plain file");
    // The rename would replace a file the user may not write, as QSaveFile never does.
    if (failure.isEmpty() && entry.isFile() && !entry.isWritable())
        failure = tr("you have no permission to change it");
    if (failure.isEmpty() && record.size() != recordSize)
        failure = tr("the settings are not %1 bytes").arg(recordSize);
    if (failure.isEmpty())
        failure = writeAtomically(folderPath, entry, record);
    if (failure.isEmpty())
        return true;
    qWarning() << "profile" << name << "not saved:" << failure;
    if (error)
        *error = failure;
    return false;
}

bool RawProfileFolder::remove(const QString& name) const
{
    if (!acceptsName(name, "deleted"))
        return false;
    const QFileInfo entry(filePath(name));
    if (!entry.isFile() && !entry.isSymLink()) {
        qWarning() << "profile" << name << "does not exist; nothing deleted";
        return false;
    }
    QFile file(entry.filePath());
    if (!file.remove()) {
        qWarning() << "profile" << name << "cannot be deleted:" << file.errorString();
        return false;
    }
    return true;
}

bool RawProfileFolder::isNameInsideFolder(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

bool RawProfileFolder::isPortableName(const QString& name)
{
    if (!isNameInsideFolder(name))
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringView(u"<>:\"/\\|?*").contains(c))
            return false;
    }
    // Windows drops a final dot or space, and opens the device for a device's name.
    static const QRegularExpression device(
        QRegularExpression::anchoredPattern(QStringLiteral("(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9]) *(\\..*)?")),
        QRegularExpression::CaseInsensitiveOption);
    return !name.endsWith(QLatin1Char('.')) && !name.endsWith(QLatin1Char(' ')) && !device.match(name).hasMatch();
}

bool RawProfileFolder::isTemporaryName(const QString& name)
{
    return name.startsWith(QLatin1Char('.'));
}

QString RawProfileFolder::refusal(const QString& name) const
{
    if (!usable)
        return tr("the profile folder cannot be made or entered");
    if (name.isEmpty())
        return tr("the name is empty");
    if (!isNameInsideFolder(name))
        return tr("the name leads out of the profile folder");
    if (isTemporaryName(name))
        return tr("names starting with a dot are kept for temporary files");
    return QString();
}

bool RawProfileFolder::acceptsName(const QString& name, const char* action) const
{
    const QString failure = refusal(name);
    if (failure.isEmpty())
        return true;
    qWarning().nospace() << "profile " << name << " not " << action << ": " << failure;
    return false;
}

QString RawProfileFolder::filePath(const QString& name) const
{
    return folderPath + QLatin1Char('/') + name;
}
