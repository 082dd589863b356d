#pragma once

#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "curvedescriptor.h"

// Shaker under high g.
class OverGShakerSettings : public ShakerWithSingleCurveAndFixedFrequencySettings
{
public:
    OverGShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"over_g_shaker"};
};
