#include "fuzztelemetry.h"
#include "telemetrysourcecondor2.h"

#include <QByteArray>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ParserUnderFuzz<TelemetrySourceCondor2> source;
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<int>(size));
    source.parseTelemetry(datagram);
    requireFinite(source.telemetry);
    return 0;
}
