#include "effectsprofile.h"

#include <QJsonValue>

void EffectsProfile::setDefaults()
{
    metadata.setDefaults();
    effects.setDefaults();
}

void EffectsProfile::fromJson(const QJsonObject& root)
{
    const QJsonValue effectsMember = root.value(QLatin1String("effects"));
    if (effectsMember.isObject())
        effects.fromJson(effectsMember.toObject());
    else
        effects.setDefaults();

    const QJsonValue metadataMember = root.value(QLatin1String("metadata"));
    if (metadataMember.isObject())
        metadata.fromJson(metadataMember.toObject());
    else
        metadata.setDefaults();
}

QJsonObject EffectsProfile::toJson() const
{
    QJsonObject root;
    root.insert(QStringLiteral("metadata"), metadata.toJson());
    root.insert(QStringLiteral("effects"), effects.toJson());
    return root;
}
