#pragma once

#include "jsoncompatiblesettings.h"
#include "responsecurve.h"

// One response curve (JSON "curve1"). A missing or non-array member keeps the curve held.
class SingleCurveSettingsAddon : public JsonCompatibleSettings
{
public:
    // Starts with genericCurveTable, so no curve ends at input 0 before defaults are set.
    SingleCurveSettingsAddon();

    ResponseCurve curve1;

    void reset();
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const SingleCurveSettingsAddon& other) const { return curve1 == other.curve1; }
};
