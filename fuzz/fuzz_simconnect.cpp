// SimConnect messages as the MSFS source receives them, from the scripted simulator of
// the tests. The input is a run of messages, each as long as its own size field says
// (at least the field, at most what is left), handed to the source one per poll.
#include "fakesimconnect.h"
#include "fuzztelemetry.h"
#include "telemetrysourcemsfs.h"

#include <QtEndian>

#include <algorithm>

namespace {
class SourceUnderFuzz : public TelemetrySourceMSFS
{
public:
    using TelemetrySourceMSFS::telemetry;
};

constexpr int maxMessages = 64;
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FakeSimConnect& simulator = FakeSimConnect::instance();
    simulator.reset();
    {
        SourceUnderFuzz source;
        source.pollTelemetry(); // opens, defines, requests and subscribes
        const char* bytes = reinterpret_cast<const char*>(data);
        size_t offset = 0;
        for (int message = 0; message < maxMessages && offset < size; ++message) {
            const size_t left = size - offset;
            size_t length = left;
            if (left >= sizeof(quint32))
                length = std::clamp<size_t>(qFromLittleEndian<quint32>(bytes + offset), sizeof(quint32), left);
            simulator.queueRaw(QByteArray(bytes + offset, int(length)));
            offset += length;
            source.pollTelemetry();
            requireFinite(source.telemetry);
            // The calls pile up in the simulator's log; only the messages matter here.
            simulator.calls.clear();
        }
    }
    simulator.reset();
    return 0;
}
