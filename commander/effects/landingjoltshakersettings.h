#pragma once

#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "curvedescriptor.h"

// Jolt at touchdown, by airspeed (curve1) and descent speed (curve2).
class LandingJoltShakerSettings : public ShakerWithDualCurveAndVariableFrequencySettings
{
public:
    LandingJoltShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curve1Descriptor();
    static const CurveDescriptor& curve2Descriptor();

private:
    static constexpr QLatin1String jsonKey{"landing_jolt"};
};
