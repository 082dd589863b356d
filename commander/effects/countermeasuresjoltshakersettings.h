#pragma once

#include "shakerwithfixedfrequencysettings.h"

// Jolt on a countermeasure release. The stored key keeps its historic spelling.
class CountermeasuresJoltShakerSettings : public ShakerWithFixedFrequencySettings
{
public:
    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

private:
    static constexpr QLatin1String jsonKey{"countermeasuers_jolt"};
};
