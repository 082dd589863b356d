#include "trimsettings.h"

#include "jsonreaders.h"

void TrimSettings::setDefaults()
{
    EffectSettingsBase::setDefaults();
    trim_buttons_allowed = true;
    force_release_allowed = true;
    trim_reset_allowed = true;
}

void TrimSettings::fromJson(const QJsonObject& object)
{
    EffectSettingsBase::fromJson(object);
    trim_buttons_allowed = readJsonBool(object, QStringLiteral("trim_buttons_allowed"), false);
    force_release_allowed = readJsonBool(object, QStringLiteral("force_release_allowed"), false);
    trim_reset_allowed = readJsonBool(object, QStringLiteral("trim_reset_allowed"), false);
}

void TrimSettings::toJson(QJsonObject& object) const
{
    EffectSettingsBase::toJson(object);
    object.insert(QStringLiteral("trim_buttons_allowed"), trim_buttons_allowed);
    object.insert(QStringLiteral("force_release_allowed"), force_release_allowed);
    object.insert(QStringLiteral("trim_reset_allowed"), trim_reset_allowed);
}

void TrimSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void TrimSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}
