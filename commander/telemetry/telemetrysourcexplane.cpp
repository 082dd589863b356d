#include "telemetrysourcexplane.h"

TelemetrySourceXPlane::TelemetrySourceXPlane(QObject* parent, quint16 port)
    : TelemetrySourceUdp(parent, port)
{
}

void TelemetrySourceXPlane::parseTelemetry(const QByteArray&)
{
}

QString TelemetrySourceXPlane::parseFlightModule(const QByteArray&)
{
    return QStringLiteral("Generic X-Plane plane");
}
