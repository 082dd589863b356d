#include "telemetrysourceshturmovik.h"

#include "telemetryconversion.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr int recordCountOffset = 10;
constexpr int firstRecordOffset = 11;
constexpr int recordHeaderSize = 3;

float readFloat(const char* values, int index)
{
    return qFromLittleEndian<float>(values + 4 * index);
}

// A value the record does not carry counts as 0.
float valueOrZero(const char* values, int valueCount, int index)
{
    return index < valueCount ? readFloat(values, index) : 0.0f;
}

float average(const float* values, int count)
{
    float sum = 0.0f;
    for (int i = 0; i < count; ++i)
        sum += values[i];
    return sum / count;
}
}

TelemetrySourceShturmovik::TelemetrySourceShturmovik(QObject* parent, quint16 port)
    : TelemetrySourceUdp(parent, port)
{
}

QString TelemetrySourceShturmovik::parseFlightModule(const QByteArray&)
{
    return QStringLiteral("Generic warbird");
}

void TelemetrySourceShturmovik::parseTelemetry(const QByteArray& datagram)
{
    if (primeDetectors)
        verticalSpeedSeeded = false;
    if (datagram.size() < firstRecordOffset)
        return;
    const int recordCount = static_cast<qint8>(datagram.at(recordCountOffset));
    if (recordCount <= 0)
        return;
    parseIndicators(datagram, recordCount, firstRecordOffset);

    const bool wasOnGround = telemetry.onGround;
    computeTelemetry();
    // The first sample after detection only tells where we are: no landing jolt at every spawn.
    if (primeDetectors) {
        primeDetectors = false;
        return;
    }
    if (!wasOnGround && telemetry.onGround)
        emit touchdownDetected(telemetry.verticalSpeed, telemetry.airspeed);
}

void TelemetrySourceShturmovik::parseIndicators(const QByteArray& datagram, int recordCount, int offset)
{
    const int size = datagram.size();
    const char* data = datagram.constData();
    for (int record = 0; record < recordCount; ++record) {
        if (offset < 0 || size - offset < recordHeaderSize)
            return;
        const quint16 id = qFromLittleEndian<quint16>(data + offset);
        const int valueCount = static_cast<qint8>(data[offset + 2]);
        if (valueCount < 0)
            return;
        const int recordSize = recordHeaderSize + 4 * valueCount;
        if (size - offset < recordSize)
            return;
        storeIndicator(id, valueCount, data + offset + recordHeaderSize);
        offset += recordSize;
    }
}

void TelemetrySourceShturmovik::storeIndicator(quint16 id, int valueCount, const char* values)
{
    switch (id) {
    case 0:
        storeMultiValue(engineSpeeds, valueCount, values);
        break;
    case 1:
        storeMultiValue(enginePowers, valueCount, values);
        break;
    case 4:
        storeMultiValue(gearLegs, valueCount, values);
        break;
    case 5:
        storeMultiValue(wheelLoads, valueCount, values);
        break;
    case 6:
        indicatedAirspeed = valueOrZero(values, valueCount, 0);
        break;
    case 7:
        angleOfAttack = valueOrZero(values, valueCount, 0);
        break;
    case 8:
        for (int axis = 0; axis < 3; ++axis)
            acceleration[axis] = static_cast<float>(double(valueOrZero(values, valueCount, axis)) / 9.81);
        break;
    case 9:
        shakeFrequency = valueOrZero(values, valueCount, 0);
        shakeAmplitude = valueOrZero(values, valueCount, 1);
        break;
    case 10:
        storeVerticalSpeedSample(valueOrZero(values, valueCount, 0));
        break;
    case 11:
        flapsPosition = valueOrZero(values, valueCount, 0);
        break;
    case 12:
        airbrakePosition = valueOrZero(values, valueCount, 0);
        break;
    default:
        break;
    }
}

void TelemetrySourceShturmovik::storeMultiValue(MultiValue& kept, int valueCount, const char* values)
{
    kept.count = std::min(valueCount, int(maxKeptValues));
    for (int i = 0; i < kept.count; ++i)
        kept.values[i] = readFloat(values, i);
}

void TelemetrySourceShturmovik::storeVerticalSpeedSample(float value)
{
    if (!verticalSpeedSeeded) {
        std::fill(std::begin(verticalSpeedRing), std::end(verticalSpeedRing), 0.0f);
        verticalSpeedRingIndex = 0;
        previousIndicator10 = value;
        verticalSpeedSeeded = true;
        return;
    }
    verticalSpeedRing[verticalSpeedRingIndex] = finiteOrZero(value - previousIndicator10);
    previousIndicator10 = value;
    verticalSpeedRingIndex = (verticalSpeedRingIndex + 1) % verticalSpeedRingSize;
}

void TelemetrySourceShturmovik::computeTelemetry()
{
    telemetry.airspeed = saturatingToFloat(double(indicatedAirspeed) * 3.6);
    telemetry.aoa = saturatingToFloat(double(angleOfAttack) * 57.2958);
    telemetry.gForce = finiteOrZero(acceleration[1]);

    float ringSum = 0.0f;
    for (float sample : verticalSpeedRing)
        ringSum += sample;
    telemetry.verticalSpeed = finiteOrZero(ringSum);

    // NaN never wins the comparison; an infinite speed wins and becomes 0 below.
    float fastestEngine = 0.0f;
    for (int i = 0; i < engineSpeeds.count; ++i) {
        const float speed = engineSpeeds.values[i];
        if (speed > fastestEngine)
            fastestEngine = speed;
    }
    telemetry.engineRpm = saturatingToInt32(fastestEngine);

    telemetry.propAirflow = 0;
    if (engineSpeeds.count > 0) {
        float power = 0.0f;
        for (int i = 0; i < engineSpeeds.count; ++i)
            power += engineSpeeds.values[i] * enginePowers.values[i];
        const float share = power / engineSpeeds.count / 100000.0f / 3700.0f;
        if (!std::isnan(share))
            telemetry.propAirflow = saturatingToInt32(std::min(1.0f, share) * 100.0f);
    }

    telemetry.gear = gearLegs.count > 0
        ? saturatingToInt32(average(gearLegs.values, gearLegs.count) * 100.0f)
        : 0;
    telemetry.flaps = saturatingToInt32(flapsPosition * 100.0f);
    telemetry.airbrake = saturatingToInt32(airbrakePosition * 100.0f);
    telemetry.shakeFrequency = saturatingToInt32(shakeFrequency);
    telemetry.shakeMagnitude = saturatingToInt32(shakeAmplitude * 100.0f * 4.0f);

    const float wheelLoad = wheelLoads.count > 0 ? average(wheelLoads.values, wheelLoads.count) : 0.0f;
    telemetry.onGround = wheelLoad > 0.01f;
}
