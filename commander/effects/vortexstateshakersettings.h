#pragma once

#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "curvedescriptor.h"

// Helicopter vortex-ring state shaker. The stored key keeps its historic spelling.
class VortexStateShakerSettings : public ShakerWithDualCurveAndVariableFrequencySettings
{
public:
    VortexStateShakerSettings();

    void setDefaults() override;

    // This effect's member of one axis object (see EffectSettingsBase::readAxisMember).
    void fromAxisJson(const QJsonObject& axisObject);
    void toAxisJson(QJsonObject& axisObject) const;

    static const CurveDescriptor& curve1Descriptor();
    static const CurveDescriptor& curve2Descriptor();

private:
    static constexpr QLatin1String jsonKey{"vorterx_state_shaker"};
};
