#include "localaoasettings.h"

void LocalAoASettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void LocalAoASettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}
