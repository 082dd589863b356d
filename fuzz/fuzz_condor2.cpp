#include "fuzztelemetry.h"
#include "telemetrysourcecondor2.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return fuzzOneDatagram<TelemetrySourceCondor2>(data, size);
}
