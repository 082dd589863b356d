#include "telemetry.h"

bool Telemetry::operator==(const Telemetry& other) const
{
    for (int i = 0; i < gunfireTriggerCount; ++i) {
        if (gunfireTriggers[i] != other.gunfireTriggers[i])
            return false;
    }
    return airspeed == other.airspeed && verticalSpeed == other.verticalSpeed
        && gForce == other.gForce && aoa == other.aoa && engineRpm == other.engineRpm
        && rotorRpm == other.rotorRpm && propAirflow == other.propAirflow
        && afterburner == other.afterburner && flaps == other.flaps
        && airbrake == other.airbrake && gear == other.gear
        && aileronTrim == other.aileronTrim && elevatorTrim == other.elevatorTrim
        && rudderTrim == other.rudderTrim && shakeMagnitude == other.shakeMagnitude
        && shakeFrequency == other.shakeFrequency && onGround == other.onGround;
}

void Telemetry::registerMetaTypes()
{
    qRegisterMetaType<Telemetry>("Telemetry");
    qRegisterMetaType<Telemetry::Source>("Telemetry::Source");
    qRegisterMetaType<const Telemetry*>("const Telemetry*");
}
