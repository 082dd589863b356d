#pragma once

#include "rpmshakersettings.h"
#include "curvedescriptor.h"

// Shaker that follows the engine RPM.
class EngineShakerSettings : public RPMShakerSettings
{
public:
    EngineShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curveDescriptor();

private:
    static constexpr QLatin1String jsonKey{"engine_shaker"};
};
