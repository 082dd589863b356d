#pragma once

#include "telemetry.h"

#include <QJsonObject>
#include <QString>

// What a profile belongs to: simulator, aircraft, and a free comment.
class EffectsProfileMetadata
{
public:
    Telemetry::Source source = Telemetry::TELEMETRY_SOURCE_NONE; // never the autodetect mode
    QString flightModule; // the aircraft name as the simulator reports it; empty for none
    QString comment;

    void setDefaults();
    // A member of the wrong type gives the default, never the old value; a source outside
    // the simulators (0 to 6) reads as none.
    void fromJson(const QJsonObject& object);
    QJsonObject toJson() const;

    bool operator==(const EffectsProfileMetadata& other) const
    {
        return source == other.source && flightModule == other.flightModule && comment == other.comment;
    }
    bool operator!=(const EffectsProfileMetadata& other) const { return !(*this == other); }
};
