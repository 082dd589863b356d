#include "countermeasuresjoltshakersettings.h"

void CountermeasuresJoltShakerSettings::fromAxisJson(const QJsonObject& axisObject)
{
    readAxisMember(axisObject, jsonKey);
}

void CountermeasuresJoltShakerSettings::toAxisJson(QJsonObject& axisObject) const
{
    writeAxisMember(axisObject, jsonKey);
}
