#include "effectprofilefolder.h"

#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "telemetrysourcekey.h"

#include <QDebug>
#include <QFile>
#include <QRegularExpression>

namespace {

const QString folderName = QStringLiteral("effect_profiles");

// Every character that is not an ASCII letter or digit.
const QRegularExpression fileNameFilter(QStringLiteral("[^a-zA-Z\\d]"));

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
    if (!readEffectsProfileFile(filePath(fileName), loaded)) {
        qWarning() << "Profile file" << fileName << "cannot be read or holds no profile; not loaded";
        return false;
    }
    *profile = loaded;
    return true;
}

bool EffectProfileFolder::holdsOtherProfile(const QString& fileName,
                                            const EffectsProfileMetadata& metadata) const
{
    if (!QFile::exists(filePath(fileName)))
        return false;
    EffectsProfile stored;
    if (!readEffectsProfileFile(filePath(fileName), stored))
        return true;
    return stored.metadata != metadata;
}

bool EffectProfileFolder::save(const QString& fileName, const EffectsProfile& profile, QString* error) const
{
    return writeEffectsProfileFile(filePath(fileName), profile, error);
}

bool EffectProfileFolder::remove(const QString& fileName) const
{
    if (!QFile::remove(filePath(fileName))) {
        qWarning() << "Profile file" << fileName << "could not be removed";
        return false;
    }
    return true;
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
