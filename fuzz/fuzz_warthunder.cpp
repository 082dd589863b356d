// War Thunder's "/state" reply as the source parses it. Besides the sanitizers it checks
// that the scanner reads the body as Qt's parser does and that every field is what the
// reading through a QJsonDocument gives.
#include "fuzztelemetry.h"
#include "jsonscannercheck.h"
#include "telemetryconversion.h"
#include "telemetrysourcewarthunder.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <cstring>

namespace {
class StateUnderFuzz : public TelemetrySourceWarthunder
{
public:
    using TelemetrySourceWarthunder::parseState;
    using TelemetrySourceWarthunder::telemetry;
};

Telemetry throughDocument(const QByteArray& body)
{
    const QJsonObject state = QJsonDocument::fromJson(body).object();
    const auto number = [&state](const char* key) { return state.value(QLatin1String(key)).toDouble(); };
    Telemetry record;
    record.engineRpm = saturatingToInt32(number("RPM 1"));
    record.propAirflow = saturatingToInt32(number("throttle 1, %"));
    record.flaps = saturatingToInt32(number("flaps, %"));
    record.gear = saturatingToInt32(number("gear, %"));
    record.airspeed = saturatingToFloat(number("IAS, km/h"));
    record.verticalSpeed = saturatingToFloat(number("Vy, m/s"));
    record.gForce = saturatingToFloat(number("Ny"));
    record.aoa = saturatingToFloat(number("AoA, deg"));
    return record;
}

bool sameBits(const Telemetry& a, const Telemetry& b)
{
    return std::memcmp(&a.airspeed, &b.airspeed, sizeof(float)) == 0
        && std::memcmp(&a.verticalSpeed, &b.verticalSpeed, sizeof(float)) == 0
        && std::memcmp(&a.gForce, &b.gForce, sizeof(float)) == 0
        && std::memcmp(&a.aoa, &b.aoa, sizeof(float)) == 0 && a == b;
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static StateUnderFuzz source;
    static JsonScanner scanner;
    const QByteArray body(reinterpret_cast<const char*>(data), static_cast<int>(size));

    const QString difference = differenceFromQt(scanner, body);
    if (!difference.isEmpty()) {
        std::fprintf(stderr, "scanner and Qt differ: %s\n", qPrintable(difference));
        std::abort();
    }
    source.parseState(body);
    requireFinite(source.telemetry);
    if (!sameBits(source.telemetry, throughDocument(body))) {
        std::fprintf(stderr, "the record differs from the one read through a QJsonDocument\n");
        std::abort();
    }
    return 0;
}
