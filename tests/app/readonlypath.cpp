#include "readonlypath.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

ReadOnlyPath::ReadOnlyPath(const QString& path)
    : path(path)
    , original(QFile::permissions(path))
{
    QFile::setPermissions(path, original & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser
                                             | QFileDevice::WriteGroup | QFileDevice::WriteOther));
    if (!acceptsWrites()) {
        isEnforced = true;
        return;
    }
    immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
    isEnforced = immutable && !acceptsWrites();
}

ReadOnlyPath::~ReadOnlyPath()
{
    if (immutable)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
    QFile::setPermissions(path, original);
}

// Probes without changing anything: a file is opened for appending, a folder gets a new
// file that is removed again at once.
bool ReadOnlyPath::acceptsWrites() const
{
    if (QFileInfo(path).isDir()) {
        QFile probe(path + QStringLiteral("/.write-probe"));
        if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return false;
        probe.close();
        probe.remove();
        return true;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append);
}
