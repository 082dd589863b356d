#include "fuzztelemetry.h"
#include "telemetrysourceshturmovik.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzOneDatagram<TelemetrySourceShturmovik>(data, size);
}
