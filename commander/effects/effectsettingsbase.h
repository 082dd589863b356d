#pragma once

#include "jsoncompatiblesettings.h"

#include <QLatin1String>

// Root of every effect's settings: the on/off flag and the restore-defaults operation.
class EffectSettingsBase : public JsonCompatibleSettings
{
public:
    bool active = false;

    // Restores the effect's defaults, which always include active = false.
    virtual void setDefaults();
    void fromJson(const QJsonObject& object) override;
    void toJson(QJsonObject& object) const override;

    bool operator==(const EffectSettingsBase& other) const { return active == other.active; }
    bool operator!=(const EffectSettingsBase& other) const { return !(*this == other); }

protected:
    // The rule every effect follows for its member `key` of an axis object: an object is read
    // with fromJson, anything else resets the effect (both calls virtual).
    void readAxisMember(const QJsonObject& axisObject, QLatin1String key);
    // Writes {key: own object} only while the effect is active.
    void writeAxisMember(QJsonObject& axisObject, QLatin1String key) const;
};
