#pragma once

#include "springwithsinglecurvesettings.h"
#include "curvedescriptor.h"

// Spring that stiffens with the propeller airflow.
class PropThrustSpringSettings : public SpringWithSingleCurveSettings
{
public:
    PropThrustSpringSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"prop_thrust_spring"};
};
