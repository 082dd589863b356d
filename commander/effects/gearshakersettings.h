#pragma once

#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "curvedescriptor.h"

// Shaker of the extended gear in the airflow.
class GearShakerSettings : public ShakerWithDualCurveAndVariableFrequencySettings
{
public:
    GearShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curve1Descriptor();
    static const CurveDescriptor& curve2Descriptor();

private:
    static constexpr QLatin1String jsonKey{"gear_shaker"};
};
