#include "frequencymultipliersettingsaddon.h"

#include "jsonreaders.h"

void FrequencyMultiplierSettingsAddon::fromJson(const QJsonObject& object)
{
    frequency_multiplier = readJsonInt(object, QStringLiteral("frequency_multiplier"), 1);
}

void FrequencyMultiplierSettingsAddon::toJson(QJsonObject& object) const
{
    object.insert(QStringLiteral("frequency_multiplier"), frequency_multiplier);
}
