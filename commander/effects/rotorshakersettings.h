#pragma once

#include "rpmshakersettings.h"
#include "curvedescriptor.h"

// Shaker that follows the main rotor RPM.
class RotorShakerSettings : public RPMShakerSettings
{
public:
    RotorShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"rotor_shaker"};
};
