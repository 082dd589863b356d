#pragma once

#include "telemetrysourceudp.h"

// Condor 2 text datagrams: lines of key "=" value; fills airspeed, load factor and turbulence.
class TelemetrySourceCondor2 : public TelemetrySourceUdp
{
    Q_OBJECT

public:
    explicit TelemetrySourceCondor2(QObject* parent = nullptr, quint16 port = 0);

protected:
    void parseTelemetry(const QByteArray& datagram) override;
    QString parseFlightModule(const QByteArray& datagram) override;
    Telemetry::Source sourceType() const override { return Telemetry::TELEMETRY_SOURCE_CONDOR; }
    void publishTelemetry() override { emit telemetryChanged(telemetry); }
    void publishEmptyTelemetry() override { emit telemetryChanged(emptyTelemetry); }
};
