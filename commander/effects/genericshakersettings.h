#pragma once

#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "curvedescriptor.h"

// Shaker driven by the shake magnitude that the simulator reports.
class GenericShakerSettings : public ShakerWithSingleCurveAndFixedFrequencySettings
{
public:
    GenericShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"generic_shaker"};
};
