#pragma once

#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "curvedescriptor.h"

// Stall buffet: shaker by speed and angle of attack.
class AoAShakerSettings : public ShakerWithDualCurveAndVariableFrequencySettings
{
public:
    AoAShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curve1Descriptor();
    static const CurveDescriptor& curve2Descriptor();

private:
    static constexpr QLatin1String jsonKey{"aoa_shaker"};
};
