#include "smartdampersettings.h"

#include "floatnarrowing.h"
#include "jsonreaders.h"

#include <QJsonObject>
#include <QJsonValue>

void SmartDamperSettings::setDefaults()
{
    SimpleEffectSettings::setDefaults();
    static_dampening = 0.0f;
    dynamic_dampening = 0.0f;
}

void SmartDamperSettings::fromJson(const QJsonObject& object)
{
    SimpleEffectSettings::fromJson(object);
    static_dampening = narrowToFloat(readJsonDouble(object, QStringLiteral("static_dampening"), 0.0));
    dynamic_dampening = narrowToFloat(readJsonDouble(object, QStringLiteral("dynamic_dampening"), 0.0));
}

void SmartDamperSettings::toJson(QJsonObject& object) const
{
    SimpleEffectSettings::toJson(object);
    object.insert(QStringLiteral("static_dampening"), double(static_dampening));
    object.insert(QStringLiteral("dynamic_dampening"), double(dynamic_dampening));
}

void SmartDamperSettings::fromAxisJson(const QJsonObject& axisObject)
{
    const QJsonValue member = axisObject.value(jsonKey);
    if (member.isObject())
        fromJson(member.toObject());
    else
        SimpleEffectSettings::setDefaults();
}

void SmartDamperSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}
