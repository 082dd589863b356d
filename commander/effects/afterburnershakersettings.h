#pragma once

#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "curvedescriptor.h"

// Shaker while the afterburner burns.
class AfterburnerShakerSettings : public ShakerWithSingleCurveAndFixedFrequencySettings
{
public:
    AfterburnerShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"afterburner_shaker"};
};
