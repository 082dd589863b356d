#include "directxsettings.h"

#include "jsonreaders.h"

void DirectXSettings::setDefaults()
{
    SimpleEffectSettings::setDefaults();
    trimmer = 0;
    force = 0;
    periodic = 0;
}

void DirectXSettings::fromJson(const QJsonObject& object)
{
    SimpleEffectSettings::fromJson(object);
    trimmer = readJsonInt(object, QStringLiteral("trimmer"), 0);
    force = readJsonInt(object, QStringLiteral("force"), 0);
    periodic = readJsonInt(object, QStringLiteral("periodic"), 0);
}

void DirectXSettings::toJson(QJsonObject& object) const
{
    SimpleEffectSettings::toJson(object);
    object.insert(QStringLiteral("trimmer"), trimmer);
    object.insert(QStringLiteral("force"), force);
    object.insert(QStringLiteral("periodic"), periodic);
}

void DirectXSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void DirectXSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}
