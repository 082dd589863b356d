// DCS datagrams as the source parses them. Besides the sanitizers it checks that the
// scanner reads each datagram as Qt's parser does, and that the pod counts and payload
// weight are those of reading every payload item through a QJsonDocument.
#include "fuzztelemetry.h"
#include "jsonreaders.h"
#include "jsonscannercheck.h"
#include "telemetrysourcedcs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QList>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <limits>

namespace {
class SourceUnderFuzz : public ParserUnderFuzz<TelemetrySourceDCS>
{
public:
    using TelemetrySourceDCS::parseExportObject;
    using TelemetrySourceDCS::payloadWeight;
    using TelemetrySourceDCS::podCounts;
};
SourceUnderFuzz* source = nullptr;

// Ids with a byte-order mark, a lone surrogate, beyond ASCII, and the empty id that
// every item without a string id has.
const char* const payloadMapping = R"({"Mk-82": {"weight": 241}, "Heavy": {"weight": 2147483647},
    "Gun pod": {"weight": 500}, "": {"weight": 7}, "\ufeffMarked": {"weight": 3},
    "\ud800Lone": {"weight": 5}, "Light": {"weight": -4}})";
const char* const gunMapping = R"({"Mi-24P": [{"triggerIndex": 0}, {"triggerIndex": 2, "pod": "Gun pod"}],
    "Ka-50": [{"index": 1, "pod": "Gun pod"}, {"index": 4, "pod": "Mk-82"}, {"index": 3, "pod": "\u00e9 pod"}]})";

qint64 saturating(qint64 a, qint64 b, bool multiply)
{
    qint64 result = 0;
    const bool overflow = multiply ? __builtin_mul_overflow(a, b, &result) : __builtin_add_overflow(a, b, &result);
    if (!overflow)
        return result;
    const bool negative = multiply ? (a < 0) != (b < 0) : b < 0;
    return negative ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
}

// Every payload item read through a QJsonDocument, as the mapping files say.
void countThroughDocument(const QByteArray& datagram, QMap<QString, qint64>* counts, qint64* weight)
{
    QSet<QString> pods;
    const QJsonObject modules = QJsonDocument::fromJson(gunMapping).object();
    for (const QString& module : modules.keys()) {
        for (const QJsonValue& element : modules.value(module).toArray()) {
            if (element.toObject().value("pod").isString())
                pods.insert(element.toObject().value("pod").toString());
        }
    }
    const QJsonObject weights = QJsonDocument::fromJson(payloadMapping).object();
    *weight = 0;
    for (const QJsonValue& element : readJsonArray(QJsonDocument::fromJson(datagram).object(), "pld")) {
        const QJsonObject item = element.toObject();
        const QString id = readJsonString(item, "id", QString());
        const int count = readJsonInt(item, "count", 0);
        if (pods.contains(id))
            (*counts)[id] = saturating((*counts)[id], count, false);
        const int itemWeight = readJsonInt(weights.value(id).toObject(), "weight", 0);
        if (itemWeight > 0)
            *weight = saturating(*weight, saturating(itemWeight, count, true), false);
    }
}

// The source reads its mapping files from the working directory at construction;
// libFuzzer's own paths stay relative to the directory it was started in.
void createSourceWithMappings()
{
    QTemporaryDir dir;
    QFile payload(dir.filePath("payload_weight_mapping.json"));
    payload.open(QIODevice::WriteOnly);
    payload.write(payloadMapping);
    QFile gun(dir.filePath("gun_trigger_mapping.json"));
    gun.open(QIODevice::WriteOnly);
    gun.write(gunMapping);
    gun.close();
    payload.close();
    const QString startDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    source = new SourceUnderFuzz;
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
// Each datagram must also read the same through the source's scanner as through Qt.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static JsonScanner scanner;
    source->primeDetectors = true;
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const QList<QByteArray> datagrams = input.split('\x1e');
    source->parseFlightModule(datagrams.first());
    for (const QByteArray& datagram : datagrams) {
        const QString difference = differenceFromQt(scanner, datagram);
        if (!difference.isEmpty()) {
            std::fprintf(stderr, "scanner and Qt differ: %s\n", qPrintable(difference));
            std::abort();
        }
        if (scanner.scanObject(datagram)) {
            const auto data = source->parseExportObject(scanner);
            QMap<QString, qint64> counts;
            qint64 weight = 0;
            countThroughDocument(datagram, &counts, &weight);
            if (source->podCounts(data.payload) != counts || source->payloadWeight(data.payload) != weight) {
                std::fprintf(stderr, "pod counts or payload weight differ from the document's\n");
                std::abort();
            }
        }
        source->parseTelemetry(datagram);
        requireFinite(source->telemetry);
    }
    return 0;
}
