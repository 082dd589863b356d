#include "telemetry.h"

#include <cmath>

float finiteOrZero(float value)
{
    return std::isfinite(value) ? value : 0.0f;
}

Telemetry Telemetry::withFiniteValues() const
{
    Telemetry record = *this;
    record.airspeed = finiteOrZero(airspeed);
    record.verticalSpeed = finiteOrZero(verticalSpeed);
    record.gForce = finiteOrZero(gForce);
    record.aoa = finiteOrZero(aoa);
    record.aileronTrim = finiteOrZero(aileronTrim);
    record.elevatorTrim = finiteOrZero(elevatorTrim);
    record.rudderTrim = finiteOrZero(rudderTrim);
    return record;
}

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
