#include "fuzztelemetry.h"
#include "telemetrysourcedcs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>

namespace {
ParserUnderFuzz<TelemetrySourceDCS>* source = nullptr;

// The source reads its mapping files from the working directory at construction;
// libFuzzer's own paths stay relative to the directory it was started in.
void createSourceWithMappings()
{
    QTemporaryDir dir;
    QFile payload(dir.filePath("payload_weight_mapping.json"));
    payload.open(QIODevice::WriteOnly);
    payload.write(R"({"Mk-82": {"weight": 241}, "Heavy": {"weight": 2147483647}, "Gun pod": {"weight": 500}})");
    QFile gun(dir.filePath("gun_trigger_mapping.json"));
    gun.open(QIODevice::WriteOnly);
    gun.write(R"({"Mi-24P": [{"triggerIndex": 0}, {"triggerIndex": 2, "pod": "Gun pod"}],
                  "Ka-50": [{"index": 1, "pod": "Gun pod"}, {"index": 4, "pod": "Mk-82"}]})");
    gun.close();
    payload.close();
    const QString startDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    source = new ParserUnderFuzz<TelemetrySourceDCS>;
    QDir::setCurrent(startDir);
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    createSourceWithMappings();
    return 0;
}

// The input is a sequence of datagrams separated by 0x1e, so the detectors see changes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    source->primeDetectors = true;
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const QList<QByteArray> datagrams = input.split('\x1e');
    source->parseFlightModule(datagrams.first());
    for (const QByteArray& datagram : datagrams) {
        source->parseTelemetry(datagram);
        requireFinite(source->telemetry);
    }
    return 0;
}
