#pragma once

#include "telemetrysourceudp.h"

// IL-2 Sturmovik binary datagrams: a header, a record count at offset 10, then
// indicator records (id, value count, float values). Detects touchdown.
class TelemetrySourceShturmovik : public TelemetrySourceUdp
{
    Q_OBJECT

public:
    explicit TelemetrySourceShturmovik(QObject* parent = nullptr, quint16 port = 0);

    static constexpr int maxKeptValues = 4;
    static constexpr int verticalSpeedRingSize = 25;

protected:
    void parseTelemetry(const QByteArray& datagram) override;
    QString parseFlightModule(const QByteArray& datagram) override;
    Telemetry::Source sourceType() const override { return Telemetry::TELEMETRY_SOURCE_IL2; }
    void publishTelemetry() override { emit telemetryChanged(telemetry); }
    void publishEmptyTelemetry() override { emit telemetryChanged(emptyTelemetry); }

    // Walks at most recordCount records from offset; stops at a negative value
    // count or a record that runs past the end, keeping what was stored.
    void parseIndicators(const QByteArray& datagram, int recordCount, int offset);
    // values points at valueCount little-endian floats inside the datagram.
    void storeIndicator(quint16 id, int valueCount, const char* values);

private:
    struct MultiValue {
        int count = 0;
        float values[maxKeptValues] = {0.0f, 0.0f, 0.0f, 0.0f};
    };

    void storeMultiValue(MultiValue& kept, int valueCount, const char* values);
    void storeVerticalSpeedSample(float value);
    void computeTelemetry();

    MultiValue engineSpeeds;   // indicator 0
    MultiValue enginePowers;   // indicator 1
    MultiValue gearLegs;       // indicator 4
    MultiValue wheelLoads;     // indicator 5
    float indicatedAirspeed = 0.0f; // m/s
    float angleOfAttack = 0.0f;     // radians
    float acceleration[3] = {0.0f, 0.0f, 0.0f}; // g
    float shakeFrequency = 0.0f;
    float shakeAmplitude = 0.0f;
    float flapsPosition = 0.0f;
    float airbrakePosition = 0.0f;

    float verticalSpeedRing[verticalSpeedRingSize] = {};
    int verticalSpeedRingIndex = 0;
    float previousIndicator10 = 0.0f;
    // Cleared at detection: the next indicator 10 is a reference, not a change,
    // so a spawn at altitude does not show as a climb.
    bool verticalSpeedSeeded = false;
};
