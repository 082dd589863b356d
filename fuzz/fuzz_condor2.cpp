// Condor 2 datagrams as the source parses them. Besides the sanitizers it checks the
// record against the plain reading: decode the whole datagram and take every line.
#include "fuzztelemetry.h"
#include "telemetryconversion.h"
#include "telemetrysourcecondor2.h"

#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {
// Every line in order, each key line that holds "=" setting its field.
void readEveryLine(const QByteArray& datagram, Telemetry& record)
{
    const QStringList lines = QString::fromUtf8(datagram).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const int key = line.startsWith(QLatin1String("airspeed")) ? 0
            : line.startsWith(QLatin1String("gforce"))             ? 1
            : line.startsWith(QLatin1String("turb"))               ? 2
                                                                   : -1;
        if (key < 0)
            continue;
        const QStringList parts = line.trimmed().split(QLatin1Char('='));
        if (parts.size() < 2)
            continue;
        bool ok = false;
        const double number = parts.at(1).toDouble(&ok);
        const float value = ok ? saturatingToFloat(number) : 0.0f;
        if (key == 0)
            record.airspeed = saturatingToFloat(double(value) * 3.6);
        else if (key == 1)
            record.gForce = value;
        else
            record.shakeMagnitude = saturatingToInt32(value * 100.0f);
    }
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ParserUnderFuzz<TelemetrySourceCondor2> source;
    Telemetry expected = source.telemetry;
    // Exact-size copy so the sanitizer sees any read past the datagram.
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<int>(size));
    readEveryLine(datagram, expected);
    source.parseTelemetry(datagram);
    requireFinite(source.telemetry);
    const Telemetry& parsed = source.telemetry;
    if (std::memcmp(&parsed.airspeed, &expected.airspeed, sizeof(float)) != 0
        || std::memcmp(&parsed.gForce, &expected.gForce, sizeof(float)) != 0
        || parsed.shakeMagnitude != expected.shakeMagnitude) {
        std::fprintf(stderr, "the record differs from reading every line\n");
        std::abort();
    }
    return 0;
}
