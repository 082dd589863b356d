#pragma once

#include "effectsettingsbase.h"
#include "totaleffectstrengthsettingsaddon.h"
#include "singlecurvesettingsaddon.h"

// An effect whose strength follows one response curve.
class SingleCurveEffectSettings : public EffectSettingsBase,
    public TotalEffectStrengthSettingsAddon,
    public SingleCurveSettingsAddon
{
public:
    void setDefaults() override;
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const SingleCurveEffectSettings& other) const
    {
        return EffectSettingsBase::operator==(other)
            && TotalEffectStrengthSettingsAddon::operator==(other)
            && SingleCurveSettingsAddon::operator==(other);
    }
    bool operator!=(const SingleCurveEffectSettings& other) const { return !(*this == other); }
};
