#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "dualcurvesettingsaddon.h"
#include "variablefrequencysettingsaddon.h"

// A shaker of variable frequency whose strength follows the product of two curves.
class ShakerWithDualCurveAndVariableFrequencySettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public DualCurveSettingsAddon,
    public VariableFrequencySettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const ShakerWithDualCurveAndVariableFrequencySettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && DualCurveSettingsAddon::operator==(other)
            && VariableFrequencySettingsAddon::operator==(other);
    }
    bool operator!=(const ShakerWithDualCurveAndVariableFrequencySettings& other) const { return !(*this == other); }
};
