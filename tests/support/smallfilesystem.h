#pragma once

// A tmpfs of a few pages mounted on a temporary folder, for writing files on a full disk.
// Mounting needs root (CI runs as root); where it fails, skipReason() says why, for QSKIP.

#include <QString>
#include <QTemporaryDir>

class SmallFileSystem {
public:
    static constexpr qint64 pageSize = 4096;

    explicit SmallFileSystem(qint64 bytes = 64 * pageSize);
    ~SmallFileSystem(); // the folder member makes it not copyable

    bool isMounted() const { return mounted; }
    QString skipReason() const { return reason; }
    QString path() const { return folder.path(); }
    QString filePath(const QString& name) const { return folder.filePath(name); }

    // Fills the free space with a ballast file, ballastName(), leaving leaveFree bytes (a
    // whole number of pages). False when the free space afterwards is not leaveFree.
    bool fill(qint64 leaveFree = 0);
    qint64 freeBytes() const;
    // The name of the ballast file inside path().
    static QString ballastName() { return QStringLiteral(".ballast"); }

private:
    QTemporaryDir folder;
    bool mounted = false;
    QString reason;
};

// Skips the current test when the file system could not be mounted.
#define SKIP_UNLESS_MOUNTED(fileSystem)                                                            \
    do { if (!(fileSystem).isMounted()) QSKIP(qPrintable((fileSystem).skipReason())); } while (false)
