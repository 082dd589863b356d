#include "telemetrysourcecondor2.h"

#include "telemetryconversion.h"

#include <QStringList>

namespace {
enum class CondorKey { None, Airspeed, GForce, Turbulence };

CondorKey keyOf(const QString& line)
{
    // The prefix test comes before trimming: a line that starts with a blank is skipped.
    if (line.startsWith(QLatin1String("airspeed")))
        return CondorKey::Airspeed;
    if (line.startsWith(QLatin1String("gforce")))
        return CondorKey::GForce;
    if (line.startsWith(QLatin1String("turb")))
        return CondorKey::Turbulence;
    return CondorKey::None;
}
}

TelemetrySourceCondor2::TelemetrySourceCondor2(QObject* parent, quint16 port)
    : TelemetrySourceUdp(parent, port)
{
}

void TelemetrySourceCondor2::parseTelemetry(const QByteArray& datagram)
{
    const QStringList lines = QString::fromUtf8(datagram).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const CondorKey key = keyOf(line);
        if (key == CondorKey::None)
            continue;
        const QStringList parts = line.trimmed().split(QLatin1Char('='));
        // A key without "=" carries no value: leave its field as it is.
        if (parts.size() < 2)
            continue;
        bool ok = false;
        const double number = parts.at(1).toDouble(&ok);
        // "nan", "inf" and out-of-range texts never reach the record as such.
        const float value = ok ? saturatingToFloat(number) : 0.0f;
        switch (key) {
        case CondorKey::Airspeed:
            telemetry.airspeed = saturatingToFloat(double(value) * 3.6);
            break;
        case CondorKey::GForce:
            telemetry.gForce = value;
            break;
        case CondorKey::Turbulence:
            telemetry.shakeMagnitude = saturatingToInt32(value * 100.0f);
            break;
        case CondorKey::None:
            break;
        }
    }
}

QString TelemetrySourceCondor2::parseFlightModule(const QByteArray&)
{
    return QStringLiteral("Generic glider");
}
