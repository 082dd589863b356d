#pragma once

#include "simpleeffectsettings.h"

// Steady force from the weight of the controls under g.
class ElevatorWeightSettings : public SimpleEffectSettings
{
public:
    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

private:
    static constexpr QLatin1String jsonKey{"elevator_weight"};
};
