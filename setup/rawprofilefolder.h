#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

// A folder of profile files under the working directory, each file one raw settings
// record of a fixed size and nothing else. Every name is checked so that no operation
// leaves the folder; a refusal or failure changes nothing and says why in the log.
// Names starting with a dot are the folder's own temporary files, never a profile's.
// Works on files only, so the pages stay views and tests can call it directly.
class RawProfileFolder
{
    Q_DECLARE_TR_FUNCTIONS(RawProfileFolder)

public:
    // Makes the folder in the process's current directory (an existing one is used).
    RawProfileFolder(const QString& folderName, int recordSize);

    // False when the folder could not be made or entered; then nothing else acts.
    bool isUsable() const { return usable; }
    QString path() const { return folderPath; }

    // The plain files of the folder, ordered by name ignoring case; an interrupted save's
    // leftover (a name starting with a dot) is none of them. Deletes first the leftovers
    // of the names a save writes that are older than a minute; the object stays as it is.
    QStringList names() const;

    // The record of profile name, when the file holds exactly recordSize bytes.
    bool load(const QString& name, QByteArray* record) const;
    // Replaces or creates profile name atomically, also on a full disk; refuses a name
    // that would not move to Windows, and never replaces what is not a plain file or what
    // the user may not write. On failure error, when given, gets the reason as a user
    // reads it.
    bool save(const QString& name, const QByteArray& record, QString* error = nullptr) const;
    bool remove(const QString& name) const;

    // A name that stays inside the folder: not empty, "." or "..", no path separator.
    static bool isNameInsideFolder(const QString& name);
    // Also free of the characters Windows forbids in file names, none of the names it
    // keeps for devices, and not ending in a dot or a space.
    static bool isPortableName(const QString& name);
    // A name kept for the temporary file a save writes before renaming it into place, so
    // that a save's leftover is never taken for a profile nor a profile for a leftover.
    static bool isTemporaryName(const QString& name);

private:
    // Why name cannot be used by any operation; empty when it can.
    QString refusal(const QString& name) const;
    bool acceptsName(const QString& name, const char* action) const;
    QString filePath(const QString& name) const;

    QString folderPath;
    int recordSize;
    bool usable = false;
};
