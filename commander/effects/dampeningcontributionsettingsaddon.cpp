#include "dampeningcontributionsettingsaddon.h"

#include "jsonreaders.h"

void DampeningContributionSettingsAddon::fromJson(const QJsonObject& object)
{
    dampening_contribution = readJsonInt(object, QStringLiteral("dampening_contribution"), 0);
}

void DampeningContributionSettingsAddon::toJson(QJsonObject& object) const
{
    object.insert(QStringLiteral("dampening_contribution"), dampening_contribution);
}
