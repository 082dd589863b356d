#pragma once

#include <QMetaType>
#include <QObject>

// The flight state that every telemetry source fills and every consumer reads.
// A default-constructed record is all zero, which means "no telemetry".
class Telemetry
{
    Q_GADGET

public:
    enum Source : int {
        TELEMETRY_SOURCE_NONE = 0,
        TELEMETRY_SOURCE_DCS = 1,
        TELEMETRY_SOURCE_IL2 = 2,
        TELEMETRY_SOURCE_MSFS = 3,
        TELEMETRY_SOURCE_WARTHUNDER = 4,
        TELEMETRY_SOURCE_CONDOR = 5,
        TELEMETRY_SOURCE_X_PLANE = 6,
        TELEMETRY_SOURCE_AUTODETECT = 7, // a selection mode only; no source reports it
    };
    Q_ENUM(Source)

    static constexpr int gunfireTriggerCount = 5;

    float airspeed = 0.0f;      // km/h
    float verticalSpeed = 0.0f; // m/s, up positive
    float gForce = 0.0f;
    float aoa = 0.0f;           // degrees
    qint32 engineRpm = 0;
    qint32 rotorRpm = 0;
    qint32 propAirflow = 0;     // percent
    qint32 afterburner = 0;     // percent
    qint32 flaps = 0;           // percent extended
    qint32 airbrake = 0;        // percent extended
    qint32 gear = 0;            // percent extended; 0 and 100 are the locked positions
    float aileronTrim = 0.0f;   // percent
    float elevatorTrim = 0.0f;  // percent
    float rudderTrim = 0.0f;    // percent
    qint32 shakeMagnitude = 0;  // percent
    qint32 shakeFrequency = 0;  // Hz, 0 = none given
    bool onGround = false;
    bool gunfireTriggers[gunfireTriggerCount] = {false, false, false, false, false};

    // A copy with every NaN or infinite float field set to 0.
    Telemetry withFiniteValues() const;

    bool operator==(const Telemetry& other) const;
    bool operator!=(const Telemetry& other) const { return !(*this == other); }

    // Registers Telemetry, Telemetry::Source and const Telemetry* under those names.
    static void registerMetaTypes();
};

// NaN and infinities become 0.
float finiteOrZero(float value);

Q_DECLARE_METATYPE(Telemetry)
Q_DECLARE_METATYPE(const Telemetry*)
