#include "effectsprofilefile.h"

#include "atomicfile.h"
#include "effectsprofile.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

bool writeEffectsProfileFile(const QString& path, const EffectsProfile& profile, QString* error)
{
    const QByteArray text = QJsonDocument(profile.toJson()).toJson(QJsonDocument::Indented);
    const QString failure = replaceFileAtomically(path, text);
    if (failure.isEmpty())
        return true;
    qWarning() << "Cannot write profile" << path << failure;
    if (error)
        *error = failure;
    return false;
}

namespace {

bool readProfileText(const QString& path, QByteArray* text)
{
    // Checked before opening: opening a pipe waits for a writer.
    const QFileInfo entry(path);
    if (entry.exists() && !entry.isFile()) {
        qWarning() << "Profile" << path << "is not a regular file; not read";
        return false;
    }
    if (entry.size() > maxEffectsProfileFileSize) {
        qWarning() << "Profile" << path << "is larger than" << maxEffectsProfileFileSize << "bytes; not read";
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Cannot read profile" << path << file.errorString();
        return false;
    }
    // No more than was measured, also when the file grows meanwhile.
    *text = file.read(entry.size());
    return true;
}

} // namespace

bool readEffectsProfileFile(const QString& path, EffectsProfile& profile)
{
    QByteArray text;
    if (!readProfileText(path, &text)) {
        profile.setDefaults();
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (!document.isObject()) {
        qDebug() << "Profile" << path << "holds no JSON object:" << error.errorString();
        profile.setDefaults();
        return false;
    }
    profile.fromJson(document.object());
    return true;
}
