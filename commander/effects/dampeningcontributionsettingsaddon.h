#pragma once

#include "jsoncompatiblesettings.h"

// Percent of a spring's term that is added as damping (JSON "dampening_contribution").
// The composite that holds it sets its default.
class DampeningContributionSettingsAddon : public JsonCompatibleSettings
{
public:
    int dampening_contribution = 0;

    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const DampeningContributionSettingsAddon& other) const
    {
        return dampening_contribution == other.dampening_contribution;
    }
};
