#pragma once

#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "curvedescriptor.h"

// Jolt when a weapon is released.
class WeaponReleaseJoltShakerSettings : public ShakerWithSingleCurveAndFixedFrequencySettings
{
public:
    WeaponReleaseJoltShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"weapon_release_jolt"};
};
