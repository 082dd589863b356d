#pragma once

#include "effectsprofilemetadata.h"

#include <QDir>
#include <QList>
#include <QMap>
#include <QString>

class EffectsProfile;

// The stored effect profiles: one JSON file each in "effect_profiles" under the working
// directory. File work only, so the effects page stays a view and tests call it directly.
// A file name is a plain name inside the folder: one that fileNameFor made or list found.
class EffectProfileFolder
{
public:
    struct Entry {
        QString fileName;
        EffectsProfileMetadata metadata;
    };

    static constexpr int maxNamePart = 100; // characters per part of a generated file name

    // Makes the folder in the current working directory (an existing one is used) and keeps
    // referring to it when the working directory changes later.
    EffectProfileFolder();

    const QDir& directory() const { return folder; }

    // Every regular, non-hidden file in the file system's order, with the metadata it holds; a
    // file that cannot be read or parsed (or is too large) gives default metadata. Not listed:
    // links to anything but a regular file of the folder, and an interrupted save's leftover
    // temporary file. An absent folder lists nothing.
    QList<Entry> list() const;

    // Reads the file into profile as the defaults overlaid with its JSON. A file that cannot be
    // opened, read or parsed (or that list leaves out) leaves profile untouched and is named in
    // a warning.
    bool load(const QString& fileName, EffectsProfile* profile) const;
    // True when the file exists and holds a profile with other metadata, or nothing readable:
    // saving there would replace a different profile.
    bool holdsOtherProfile(const QString& fileName, const EffectsProfileMetadata& metadata) const;
    // Replaces or creates the file atomically; false (with a warning, and the reason in error)
    // when that failed, leaving the previous file byte-identical or still absent. Never writes
    // through a link or over anything but a regular file.
    bool save(const QString& fileName, const EffectsProfile& profile, QString* error) const;
    // True when the file is gone afterwards, also when it was gone before; false (with a
    // warning, and the reason in error) when it is still there.
    bool remove(const QString& fileName, QString* error) const;

    // "GENERIC" or the source's key, then "_" and the flight module and "_" and the comment when
    // not empty, each with every character but ASCII letters and digits made "_" and cut to
    // maxNamePart characters, then ".json".
    static QString fileNameFor(const EffectsProfileMetadata& metadata);
    // The first file name in map order whose metadata has this source and exactly this flight
    // module (case-sensitive); empty when there is none. Source 0 (no simulator) finds nothing.
    static QString findForFlightModule(const QMap<QString, EffectsProfileMetadata>& profiles,
                                       int source, const QString& flightModule);

private:
    // Not a leftover temporary file, and a link only to a regular file directly in the folder.
    bool mayRead(const QString& fileName) const;
    QString filePath(const QString& fileName) const { return folder.filePath(fileName); }

    QDir folder;
};
