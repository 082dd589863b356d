#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "singlecurvesettingsaddon.h"
#include "variablefrequencysettingsaddon.h"

// A shaker of variable frequency whose strength follows one curve.
class ShakerWithSingleCurveAndVariableFrequencySettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public SingleCurveSettingsAddon,
    public VariableFrequencySettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const ShakerWithSingleCurveAndVariableFrequencySettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && SingleCurveSettingsAddon::operator==(other)
            && VariableFrequencySettingsAddon::operator==(other);
    }
    bool operator!=(const ShakerWithSingleCurveAndVariableFrequencySettings& other) const { return !(*this == other); }
};
