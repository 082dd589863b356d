#include "smallfilesystem.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

SmallFileSystem::SmallFileSystem(qint64 bytes)
{
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (!folder.isValid())
        reason = QStringLiteral("no temporary folder to mount a file system on");
    else if (::mount("tmpfs", QFile::encodeName(folder.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) != 0)
        reason = QStringLiteral("cannot mount a small tmpfs (needs root): %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
    else
        mounted = true;
}

SmallFileSystem::~SmallFileSystem()
{
    if (mounted)
        ::umount2(QFile::encodeName(folder.path()).constData(), MNT_DETACH);
}

qint64 SmallFileSystem::freeBytes() const
{
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(folder.path()).constData(), &info) != 0)
        return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

bool SmallFileSystem::fill(qint64 leaveFree)
{
    if (!mounted)
        return false;
    const QByteArray name = QFile::encodeName(filePath(ballastName()));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const QByteArray page(pageSize, '\0');
    qint64 size = 0;
    for (ssize_t count; (count = ::write(fd, page.constData(), size_t(page.size()))) > 0;)
        size += count;
    // Truncating a tmpfs file gives its pages back at once.
    const bool truncated = ::ftruncate(fd, size - leaveFree) == 0;
    ::close(fd);
    return truncated && freeBytes() == leaveFree;
}
