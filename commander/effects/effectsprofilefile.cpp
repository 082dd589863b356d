#include "effectsprofilefile.h"

#include "effectsprofile.h"

#include <QDebug>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

bool writeEffectsProfileFile(const QString& path, const EffectsProfile& profile)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qWarning() << "Cannot write profile" << path << file.errorString();
        return false;
    }
    const QByteArray text = QJsonDocument(profile.toJson()).toJson(QJsonDocument::Indented);
    if (file.write(text) != text.size() || !file.commit()) {
        qWarning() << "Writing profile" << path << "failed:" << file.errorString();
        return false;
    }
    return true;
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
