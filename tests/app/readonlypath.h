#pragma once

#include <QFileDevice>
#include <QString>

// Makes a file or folder refuse writes for its lifetime and restores it afterwards.
// Permissions do not stop root, so when a probe write still succeeds the path is made
// immutable with chattr. enforced() is false when neither way works.
class ReadOnlyPath
{
public:
    explicit ReadOnlyPath(const QString& path);
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath&) = delete;
    ReadOnlyPath& operator=(const ReadOnlyPath&) = delete;

    bool enforced() const { return isEnforced; }
    static const char* skipReason()
    {
        return "read-only permissions do not stop this user's writes (root) and chattr +i is unavailable";
    }

private:
    bool acceptsWrites() const;

    QString path;
    QFileDevice::Permissions original;
    bool immutable = false;
    bool isEnforced = false;
};
