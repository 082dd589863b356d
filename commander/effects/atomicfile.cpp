#include "atomicfile.h"

#include <QCoreApplication>
#include <QSaveFile>

QString replaceFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // The destructor removes the temporary file of every failed save.
    const qint64 written = file.write(bytes);
    if (written < 0)
        return file.errorString();
    // The disk filled up during the write: the system reports no error for the short count.
    if (written != bytes.size())
        return QCoreApplication::translate("AtomicFile", "only %1 of %2 bytes could be written (is the disk full?)")
            .arg(written)
            .arg(bytes.size());
    if (!file.commit())
        return file.errorString();
    return QString();
}
