#pragma once

#include "shakerwithfixedfrequencysettings.h"

// Jolt when the gear locks.
class GearExtractionJoltShakerSettings : public ShakerWithFixedFrequencySettings
{
public:
    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

private:
    static constexpr QLatin1String jsonKey{"gear_jolt"};
};
