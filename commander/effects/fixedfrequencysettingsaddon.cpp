#include "fixedfrequencysettingsaddon.h"

#include "jsonreaders.h"

void FixedFrequencySettingsAddon::reset()
{
    base_frequency = 20;
    frequency_mode = 0;
}

void FixedFrequencySettingsAddon::fromJson(const QJsonObject& object)
{
    base_frequency = readJsonInt(object, QStringLiteral("base_frequency"), 20);
    frequency_mode = readJsonInt(object, QStringLiteral("frequency_mode"), 0);
}

void FixedFrequencySettingsAddon::toJson(QJsonObject& object) const
{
    object.insert(QStringLiteral("base_frequency"), base_frequency);
    object.insert(QStringLiteral("frequency_mode"), frequency_mode);
}
