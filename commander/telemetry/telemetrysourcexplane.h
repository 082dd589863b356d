#pragma once

#include "telemetrysourceudp.h"

// Notices that X-Plane sends to its port; decodes nothing, so its record stays all zero.
class TelemetrySourceXPlane : public TelemetrySourceUdp
{
    Q_OBJECT

public:
    explicit TelemetrySourceXPlane(QObject* parent = nullptr, quint16 port = 0);

protected:
    void parseTelemetry(const QByteArray& datagram) override;
    QString parseFlightModule(const QByteArray& datagram) override;
    Telemetry::Source sourceType() const override { return Telemetry::TELEMETRY_SOURCE_X_PLANE; }
    void publishTelemetry() override { emit telemetryChanged(telemetry); }
    void publishEmptyTelemetry() override { emit telemetryChanged(emptyTelemetry); }
};
