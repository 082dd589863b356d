#pragma once

#include "singlecurvesettingsaddon.h"

// A second response curve (JSON "curve2") beside curve1, with the same reading rule.
class DualCurveSettingsAddon : public SingleCurveSettingsAddon
{
public:
    DualCurveSettingsAddon();

    ResponseCurve curve2;

    void reset();
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const DualCurveSettingsAddon& other) const
    {
        return SingleCurveSettingsAddon::operator==(other) && curve2 == other.curve2;
    }
};
