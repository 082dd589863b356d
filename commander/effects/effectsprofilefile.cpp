#include "effectsprofilefile.h"

#include "atomicfile.h"
#include "effectsprofile.h"

#include <QDebug>
#include <QFile>
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

bool readEffectsProfileFile(const QString& path, EffectsProfile& profile)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "Cannot read profile" << path << file.errorString();
        profile.setDefaults();
        return false;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (!document.isObject()) {
        qDebug() << "Profile" << path << "holds no JSON object:" << error.errorString();
        profile.setDefaults();
        return false;
    }
    profile.fromJson(document.object());
    return true;
}
