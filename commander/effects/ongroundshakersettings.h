#pragma once

#include "shakerwithsinglecurveandvariablefrequencysettings.h"
#include "curvedescriptor.h"

// Shaker while rolling on the ground.
class OnGroundShakerSettings : public ShakerWithSingleCurveAndVariableFrequencySettings
{
public:
    OnGroundShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"on_ground_shaker"};
};
