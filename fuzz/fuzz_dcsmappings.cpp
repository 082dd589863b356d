// The two DCS mapping files, "payload_weight_mapping.json" and "gun_trigger_mapping.json",
// as the source loads them at construction. The input is the first file, 0x1e, then the
// second. A short flight of datagrams then runs through the tables: for each module
// the second file names, its pods and the weighed ids fall and its triggers are pulled.
// Besides the sanitizers it checks that every record stays finite.
#include "fuzztelemetry.h"
#include "telemetrysourcedcs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {
QTemporaryDir* folder = nullptr;

constexpr int maxModules = 4;
constexpr int maxIds = 8;
constexpr int datagrams = 8;

void writeFile(const QString& name, const QByteArray& content)
{
    QFile file(folder->filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write(content);
}

QByteArray datagram(const QString& module, const QStringList& ids, int step)
{
    QJsonArray payload;
    for (const QString& id : ids)
        payload.append(QJsonObject{{"id", id}, {"count", datagrams - step}});
    QJsonObject object{{"name", module}, {"shells", 100 - step}, {"pld", payload}};
    for (int i = 0; i < Telemetry::gunfireTriggerCount; ++i)
        object.insert(QStringLiteral("gun_trg%1").arg(i), (step + i) % 3 == 0 ? 0 : 1);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ensureApplication();
    folder = new QTemporaryDir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<int>(size));
    const int separator = input.indexOf('\x1e');
    const QByteArray weights = separator < 0 ? input : input.left(separator);
    const QByteArray triggers = separator < 0 ? QByteArray() : input.mid(separator + 1);
    writeFile("payload_weight_mapping.json", weights);
    writeFile("gun_trigger_mapping.json", triggers);

    // The source reads its files from the working directory; libFuzzer's own paths stay
    // relative to the directory it was started in.
    const QString startDir = QDir::currentPath();
    QDir::setCurrent(folder->path());
    ParserUnderFuzz<TelemetrySourceDCS> source;
    QDir::setCurrent(startDir);

    QStringList ids = QJsonDocument::fromJson(weights).object().keys().mid(0, maxIds / 2);
    const QJsonObject modules = QJsonDocument::fromJson(triggers).object();
    QStringList names = modules.keys().mid(0, maxModules);
    for (const QString& module : std::as_const(names)) {
        for (const QJsonValue& element : modules.value(module).toArray()) {
            const QJsonValue pod = element.toObject().value(QStringLiteral("pod"));
            if (pod.isString() && ids.size() < maxIds)
                ids.append(pod.toString());
        }
    }
    names.append(QStringLiteral("unmapped"));

    for (const QString& module : std::as_const(names)) {
        source.primeDetectors = true;
        for (int step = 0; step < datagrams; ++step) {
            source.parseTelemetry(datagram(module, ids, step));
            requireFinite(source.telemetry);
        }
    }
    return 0;
}
