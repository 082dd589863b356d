#include "variablefrequencysettingsaddon.h"

#include "jsonreaders.h"

void VariableFrequencySettingsAddon::reset()
{
    FixedFrequencySettingsAddon::reset();
    max_frequency = 40;
}

void VariableFrequencySettingsAddon::fromJson(const QJsonObject& object)
{
    FixedFrequencySettingsAddon::fromJson(object);
    max_frequency = readJsonInt(object, QStringLiteral("max_frequency"), 40);
}

void VariableFrequencySettingsAddon::toJson(QJsonObject& object) const
{
    FixedFrequencySettingsAddon::toJson(object);
    object.insert(QStringLiteral("max_frequency"), max_frequency);
}
