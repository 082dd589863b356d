#include "effectprofilefolder.h"

#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "telemetrysourcekey.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

const QString folderName = QStringLiteral("effect_profiles");

// Every character that is not an ASCII letter or digit.
const QRegularExpression fileNameFilter(QStringLiteral("[^a-zA-Z\\d]"));

// What an interrupted save leaves: the profile's name, a dot and QSaveFile's random suffix.
const QRegularExpression leftoverTemporary(QStringLiteral("\\.json\\.[A-Za-z0-9]{6}$"));

// A name of an entry directly in the folder, never a path that leads out of it.
bool isPlainName(const QString& fileName)
{
    return !fileName.isEmpty() && fileName != QLatin1String(".") && fileName != QLatin1String("..")
           && !fileName.contains(QLatin1Char('/')) && !fileName.contains(QDir::separator());
}

QString leadsOut()
{
    return QCoreApplication::translate("EffectProfileFolder", "the name leads out of the profile folder");
}

// Why the entry may not be written; empty when it may. QSaveFile would write through a
// link to wherever it points.
QString writeRefusal(const QString& fileName, const QFileInfo& entry)
{
    if (!isPlainName(fileName))
        return leadsOut();
    if (entry.isSymLink())
        return QCoreApplication::translate("EffectProfileFolder", "it is a link, and nothing is written through a link");
    if (entry.exists() && !entry.isFile())
        return QCoreApplication::translate("EffectProfileFolder", "it is not a regular file");
    return QString();
}

// Long names would overrun the file systems' limit of 255 per name.
QString namePart(const QString& text)
{
    QString cleaned = text;
    cleaned.replace(fileNameFilter, QStringLiteral("_"));
    return cleaned.left(EffectProfileFolder::maxNamePart);
}

} // namespace

EffectProfileFolder::EffectProfileFolder()
{
    QDir working(QDir::currentPath());
    working.mkdir(folderName);
    folder = QDir(working.filePath(folderName));
}

QList<EffectProfileFolder::Entry> EffectProfileFolder::list() const
{
    QList<Entry> entries;
    if (!folder.exists())
        return entries;
    for (const QString& fileName : folder.entryList(QDir::Files, QDir::NoSort)) {
        if (!mayRead(fileName))
            continue;
        // Only the metadata is kept; a file that does not parse reads as the defaults.
        EffectsProfile profile;
        readEffectsProfileFile(filePath(fileName), profile);
        entries.append({fileName, profile.metadata});
    }
    return entries;
}

bool EffectProfileFolder::load(const QString& fileName, EffectsProfile* profile) const
{
    // Start from the defaults, so that nothing of the previous profile leaks into this one.
    EffectsProfile loaded;
    loaded.setDefaults();
    if (!mayRead(fileName) || !readEffectsProfileFile(filePath(fileName), loaded)) {
        qWarning() << "Profile file" << fileName << "cannot be read or holds no profile; not loaded";
        return false;
    }
    *profile = loaded;
    return true;
}

bool EffectProfileFolder::holdsOtherProfile(const QString& fileName,
                                            const EffectsProfileMetadata& metadata) const
{
    // Only a regular file is ever replaced; save refuses anything else.
    const QFileInfo entry(filePath(fileName));
    if (!entry.isFile() || !writeRefusal(fileName, entry).isEmpty())
        return false;
    EffectsProfile stored;
    if (!readEffectsProfileFile(filePath(fileName), stored))
        return true;
    return stored.metadata != metadata;
}

bool EffectProfileFolder::save(const QString& fileName, const EffectsProfile& profile, QString* error) const
{
    const QFileInfo entry(filePath(fileName));
    const QString refusal = writeRefusal(fileName, entry);
    if (refusal.isEmpty())
        return writeEffectsProfileFile(entry.filePath(), profile, error);
    qWarning() << "Profile file" << fileName << "not saved:" << refusal;
    if (error)
        *error = refusal;
    return false;
}

bool EffectProfileFolder::remove(const QString& fileName, QString* error) const
{
    QString failure = leadsOut();
    if (isPlainName(fileName)) {
        QFile file(filePath(fileName));
        if (file.remove())
            return true;
        const QFileInfo entry(file.fileName());
        if (!entry.exists() && !entry.isSymLink())
            return true; // already gone
        failure = file.errorString();
    }
    qWarning() << "Profile file" << fileName << "could not be removed:" << failure;
    if (error)
        *error = failure;
    return false;
}

bool EffectProfileFolder::mayRead(const QString& fileName) const
{
    if (!isPlainName(fileName) || leftoverTemporary.match(fileName).hasMatch())
        return false;
    const QFileInfo entry(filePath(fileName));
    // readEffectsProfileFile reads regular files only; a link must also stay in the folder.
    if (!entry.isSymLink())
        return true;
    const QFileInfo target(entry.canonicalFilePath());
    if (target.isFile() && target.absolutePath() == QFileInfo(folder.absolutePath()).canonicalFilePath())
        return true;
    qWarning() << "Profile file" << fileName << "is a link to" << entry.symLinkTarget()
               << "outside the profile folder or to no regular file; not read";
    return false;
}

QString EffectProfileFolder::fileNameFor(const EffectsProfileMetadata& metadata)
{
    QString name = metadata.source == Telemetry::TELEMETRY_SOURCE_NONE
                       ? QStringLiteral("GENERIC")
                       : telemetrySourceKey(metadata.source);
    if (!metadata.flightModule.isEmpty())
        name += QLatin1Char('_') + namePart(metadata.flightModule);
    if (!metadata.comment.isEmpty())
        name += QLatin1Char('_') + namePart(metadata.comment);
    return name + QStringLiteral(".json");
}

QString EffectProfileFolder::findForFlightModule(const QMap<QString, EffectsProfileMetadata>& profiles,
                                                 int source, const QString& flightModule)
{
    if (source == Telemetry::TELEMETRY_SOURCE_NONE)
        return QString();
    for (auto it = profiles.cbegin(); it != profiles.cend(); ++it) {
        if (int(it->source) == source && it->flightModule == flightModule)
            return it.key();
    }
    return QString();
}
