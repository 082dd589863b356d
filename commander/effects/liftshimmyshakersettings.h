#pragma once

#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "curvedescriptor.h"

// Helicopter shimmy through translational lift.
class LiftShimmyShakerSettings : public ShakerWithSingleCurveAndFixedFrequencySettings
{
public:
    LiftShimmyShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"lift_shimmy_shaker"};
};
