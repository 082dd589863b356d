#include "fuzztelemetry.h"
#include "telemetrysourceshturmovik.h"

#include <QByteArray>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ParserUnderFuzz<TelemetrySourceShturmovik> source;
    // Exact-size copy so the sanitizer sees any read past the datagram.
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<int>(size));
    source.parseTelemetry(datagram);
    requireFinite(source.telemetry);
    return 0;
}
