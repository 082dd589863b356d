#include "effectsettingsbase.h"

#include "jsonreaders.h"

#include <QJsonObject>
#include <QJsonValue>

void EffectSettingsBase::setDefaults()
{
    active = false;
}

void EffectSettingsBase::fromJson(const QJsonObject& object)
{
    active = readJsonBool(object, QStringLiteral("active"), false);
}

void EffectSettingsBase::toJson(QJsonObject& object) const
{
    object.insert(QStringLiteral("active"), active);
}

void EffectSettingsBase::readAxisMember(const QJsonObject& axisObject, QLatin1String key)
{
    const QJsonValue member = axisObject.value(key);
    if (member.isObject())
        fromJson(member.toObject());
    else
        setDefaults();
}

void EffectSettingsBase::writeAxisMember(QJsonObject& axisObject, QLatin1String key) const
{
    if (!active)
        return;
    QJsonObject member;
    toJson(member);
    axisObject.insert(key, member);
}
