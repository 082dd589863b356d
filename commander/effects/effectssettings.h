#pragma once

#include "axiseffectssettings.h"

#include <QJsonObject>
#include <QMetaType>

// The effects of all four effect axes. Passed whole by value between the editor and the worker.
class EffectsSettings
{
public:
    static constexpr int axisCount = 4;

    // 0 ailerons, 1 elevator, 2 rudder, 3 throttle/collective
    AxisEffectsSettings axes[axisCount];

    void setDefaults();
    // An axis whose member is missing or not an object is reset.
    void fromJson(const QJsonObject& effects);
    // All four axes are always present.
    QJsonObject toJson() const;

    bool operator==(const EffectsSettings& other) const;
    bool operator!=(const EffectsSettings& other) const { return !(*this == other); }

    // Registers the type for queued signals between the editor and the worker.
    static void registerMetaType();
};

Q_DECLARE_METATYPE(EffectsSettings)
