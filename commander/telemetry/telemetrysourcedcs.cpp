#include "telemetrysourcedcs.h"

#include "gearlock.h"
#include "jsonreaders.h"
#include "telemetryconversion.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringDecoder>

#include <cmath>
#include <limits>
#include <optional>

namespace {
constexpr qint64 int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 int64Min = std::numeric_limits<qint64>::min();

// Counts and weights come from the network: sums and products saturate instead of wrapping.
qint64 saturatingAdd(qint64 a, qint64 b)
{
    qint64 result = 0;
    if (__builtin_add_overflow(a, b, &result))
        return b > 0 ? int64Max : int64Min;
    return result;
}

qint64 saturatingSubtract(qint64 a, qint64 b)
{
    qint64 result = 0;
    if (__builtin_sub_overflow(a, b, &result))
        return b < 0 ? int64Max : int64Min;
    return result;
}

qint64 saturatingMultiply(qint64 a, qint64 b)
{
    qint64 result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        return (a < 0) != (b < 0) ? int64Min : int64Max;
    return result;
}

QJsonObject readJsonFileObject(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug() << "DCS telemetry: no mapping file" << fileName;
        return QJsonObject();
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError)
        qWarning() << "DCS telemetry: cannot read" << fileName << ":" << error.errorString();
    return document.object();
}

// A trigger index is a whole number 0 to 4; anything else is ignored.
std::optional<int> triggerIndex(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0.0 || number >= TelemetrySourceDCS::triggerCount || std::trunc(number) != number)
        return std::nullopt;
    return static_cast<int>(number);
}

// The members of an export object, in the order of exportKeys.
enum ExportKey {
    KEY_NAME, KEY_SPEED, KEY_V_SPEED, KEY_G, KEY_AOA, KEY_SHK_AMP, KEY_ENG_RPM_NORM,
    KEY_ENG_RPM_ABS, KEY_ROTOR_RPM_ABS, KEY_AB, KEY_GEAR, KEY_FLAPS, KEY_SP_BR, KEY_WOW,
    KEY_DMG, KEY_SNARES, KEY_SHELLS, KEY_GUN_TRG0, KEY_PLD = KEY_GUN_TRG0 + 5, EXPORT_KEY_COUNT
};
const QLatin1String exportKeys[EXPORT_KEY_COUNT] = {
    QLatin1String("name"), QLatin1String("speed"), QLatin1String("v_speed"), QLatin1String("g"),
    QLatin1String("aoa"), QLatin1String("shk_amp"), QLatin1String("eng_rpm_norm"),
    QLatin1String("eng_rpm_abs"), QLatin1String("rotor_rpm_abs"), QLatin1String("ab"),
    QLatin1String("gear"), QLatin1String("flaps"), QLatin1String("sp_br"), QLatin1String("wow"),
    QLatin1String("dmg"), QLatin1String("snares"), QLatin1String("shells"),
    QLatin1String("gun_trg0"), QLatin1String("gun_trg1"), QLatin1String("gun_trg2"),
    QLatin1String("gun_trg3"), QLatin1String("gun_trg4"), QLatin1String("pld")};
const QLatin1String payloadKeys[2] = {QLatin1String("id"), QLatin1String("count")};

int nameOf(const JsonScanner& json)
{
    int name = JsonScanner::noValue;
    json.findMembers(JsonScanner::rootObject, exportKeys + KEY_NAME, 1, &name);
    return name;
}
}

TelemetrySourceDCS::TelemetrySourceDCS(QObject* parent, quint16 port)
    : TelemetrySourceUdp(parent, port)
{
    loadPayloadWeights();
    loadGunTriggerMapping();
    for (const QString& pod : std::as_const(gunPods))
        countedPayloadIds[pod] = {pod, 0, true, 0};
    for (auto it = payloadWeights.constBegin(); it != payloadWeights.constEnd(); ++it) {
        if (it.value() <= 0)
            continue;
        PayloadItem& known = countedPayloadIds[it.key()];
        known.id = it.key();
        known.weight = it.value();
    }
    // An id with a lone surrogate has no UTF-8 text; only an escaped one matches it.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    for (const PayloadItem& known : std::as_const(countedPayloadIds)) {
        const QByteArray utf8 = known.id.toUtf8();
        if (QString(decoder.decode(utf8)) == known.id)
            countedPayloadIdsUtf8.insert(utf8, known);
    }
    // Every item without a string id has the empty id.
    const auto empty = countedPayloadIds.constFind(QString());
    if (empty != countedPayloadIds.constEnd())
        nullPayloadId = empty.value();
}

// What the mapping files say of a payload item's id (a null string when the id is not
// a string); null when the id neither counts nor weighs.
const TelemetrySourceDCS::PayloadItem* TelemetrySourceDCS::countedPayloadId(const JsonScanner& json,
                                                                            int value) const
{
    if (const std::optional<QByteArrayView> text = json.unescapedString(value)) {
        const auto known = countedPayloadIdsUtf8.constFind(QByteArray::fromRawData(text->data(), text->size()));
        return known != countedPayloadIdsUtf8.constEnd() ? &known.value() : nullptr;
    }
    if (json.type(value) != JsonScanner::STRING)
        return nullPayloadId ? &*nullPayloadId : nullptr;
    const auto known = countedPayloadIds.constFind(json.toString(value, QString()));
    return known != countedPayloadIds.constEnd() ? &known.value() : nullptr;
}

void TelemetrySourceDCS::loadPayloadWeights()
{
    const QJsonObject mapping = readJsonFileObject(QStringLiteral("payload_weight_mapping.json"));
    for (auto it = mapping.constBegin(); it != mapping.constEnd(); ++it)
        payloadWeights.insert(it.key(), readJsonInt(it.value().toObject(), QStringLiteral("weight"), 0));
}

void TelemetrySourceDCS::loadGunTriggerMapping()
{
    const QJsonObject mapping = readJsonFileObject(QStringLiteral("gun_trigger_mapping.json"));
    for (auto it = mapping.constBegin(); it != mapping.constEnd(); ++it) {
        QMap<int, QString> modulePodsByTrigger;
        QMap<int, QString> modulePodsByIndex;
        QSet<int> moduleTriggerIndexes;
        const QJsonArray elements = it.value().toArray();
        for (const QJsonValue& element : elements) {
            const QJsonObject item = element.toObject();
            const QJsonValue pod = item.value(QStringLiteral("pod"));
            const std::optional<int> trigger = triggerIndex(item, QStringLiteral("triggerIndex"));
            const std::optional<int> index = triggerIndex(item, QStringLiteral("index"));
            if (pod.isString() && trigger)
                modulePodsByTrigger.insert(*trigger, pod.toString());
            else if (index)
                modulePodsByIndex.insert(*index, readJsonString(item, QStringLiteral("pod"), QStringLiteral("N/A")));
            if (trigger)
                moduleTriggerIndexes.insert(*trigger);
            if (pod.isString())
                gunPods.insert(pod.toString());
        }
        if (!modulePodsByTrigger.isEmpty())
            triggerPods.insert(it.key(), modulePodsByTrigger);
        if (!modulePodsByIndex.isEmpty())
            indexPods.insert(it.key(), modulePodsByIndex);
        if (!moduleTriggerIndexes.isEmpty())
            triggerIndexSets.insert(it.key(), moduleTriggerIndexes);
    }
}

QString TelemetrySourceDCS::parseFlightModule(const QByteArray& datagram)
{
    if (!json.scanObject(datagram))
        return QStringLiteral("N/A");
    return json.toString(nameOf(json), QStringLiteral("N/A"));
}

void TelemetrySourceDCS::parseTelemetry(const QByteArray& datagram)
{
    if (!json.scanObject(datagram) || json.type(nameOf(json)) != JsonScanner::STRING) {
        clearTelemetry();
        return;
    }
    const ExportObject data = parseExportObject(json);
    const PodCounts counts = podCounts(data.payload);
    const qint64 weight = payloadWeight(data.payload);

    if (primeDetectors) {
        primeFrom(data, counts, weight);
    } else {
        detectTouchdown(data);
        detectCountermeasures(data);
        detectGearLock(data);
        detectDamage(data);
        detectWeaponRelease(weight);
        updateGunTriggers(data, counts);
    }

    telemetry.airspeed = data.speed;
    telemetry.verticalSpeed = data.verticalSpeed;
    telemetry.gForce = data.g;
    telemetry.aoa = data.aoa;
    telemetry.propAirflow = data.engineRpmNormalized;
    telemetry.engineRpm = data.engineRpm;
    telemetry.rotorRpm = data.rotorRpm;
    telemetry.afterburner = data.afterburner;
    telemetry.gear = data.gear;
    telemetry.flaps = data.flaps;
    telemetry.airbrake = data.speedBrake;
    telemetry.onGround = data.wow > 0;
    telemetry.shakeMagnitude = data.shakeAmplitude;
    telemetry.shakeFrequency = 0;
}

TelemetrySourceDCS::ExportObject TelemetrySourceDCS::parseExportObject(const JsonScanner& json) const
{
    int values[EXPORT_KEY_COUNT];
    json.findMembers(JsonScanner::rootObject, exportKeys, EXPORT_KEY_COUNT, values);
    const auto real = [&](ExportKey key) { return json.toDouble(values[key], 0.0); };
    const auto whole = [&](ExportKey key) { return json.toInt(values[key], 0); };

    ExportObject data;
    data.name = json.toString(values[KEY_NAME], QString());
    data.speed = saturatingToFloat(real(KEY_SPEED));
    data.verticalSpeed = saturatingToFloat(real(KEY_V_SPEED));
    data.g = saturatingToFloat(real(KEY_G));
    data.aoa = saturatingToFloat(real(KEY_AOA));
    data.shakeAmplitude = saturatingToInt32(real(KEY_SHK_AMP));
    data.engineRpmNormalized = whole(KEY_ENG_RPM_NORM);
    data.engineRpm = whole(KEY_ENG_RPM_ABS);
    data.rotorRpm = whole(KEY_ROTOR_RPM_ABS);
    data.afterburner = whole(KEY_AB);
    data.gear = whole(KEY_GEAR);
    data.flaps = whole(KEY_FLAPS);
    data.speedBrake = whole(KEY_SP_BR);
    data.wow = whole(KEY_WOW);
    data.damage = whole(KEY_DMG);
    data.snares = whole(KEY_SNARES);
    data.shells = whole(KEY_SHELLS);
    for (int i = 0; i < triggerCount; ++i)
        data.triggerFlags[i] = whole(ExportKey(KEY_GUN_TRG0 + i)) > 0;
    // A "pld" that is not an array has no elements; an element that is not an object
    // has neither id nor count.
    const int payload = json.type(values[KEY_PLD]) == JsonScanner::ARRAY ? values[KEY_PLD] : JsonScanner::noValue;
    for (int element = json.firstElement(payload); element != JsonScanner::noValue;
         element = json.nextElement(payload, element)) {
        int item[2] = {JsonScanner::noValue, JsonScanner::noValue};
        if (json.type(element) == JsonScanner::OBJECT)
            json.findMembers(element, payloadKeys, 2, item);
        else if (!nullPayloadId)
            continue;
        if (const PayloadItem* known = countedPayloadId(json, item[0])) {
            data.payload.append(*known);
            data.payload.last().count = json.toInt(item[1], 0);
        }
    }
    return data;
}

TelemetrySourceDCS::PodCounts TelemetrySourceDCS::podCounts(const QList<PayloadItem>& payload) const
{
    PodCounts counts;
    for (const PayloadItem& item : payload) {
        if (!item.gunPod)
            continue;
        qint64& count = counts[item.id];
        count = saturatingAdd(count, item.count);
    }
    return counts;
}

qint64 TelemetrySourceDCS::payloadWeight(const QList<PayloadItem>& payload) const
{
    qint64 weight = 0;
    for (const PayloadItem& item : payload) {
        if (item.weight <= 0)
            continue;
        weight = saturatingAdd(weight, saturatingMultiply(item.weight, item.count));
    }
    return weight;
}

void TelemetrySourceDCS::primeFrom(const ExportObject& data, const PodCounts& counts, qint64 weight)
{
    for (int i = 0; i < triggerCount; ++i) {
        triggerStates[i] = data.triggerFlags[i] ? 1 : 0;
        previousShells[i] = data.shells;
    }
    previousPayloadWeight = weight;
    previousDamage = data.damage;
    previousSnares = data.snares;
    previousGear = data.gear;
    previousWow = data.wow;
    previousPodCounts = counts;
    primeDetectors = false;
}

void TelemetrySourceDCS::detectTouchdown(const ExportObject& data)
{
    if (previousWow == 0 && data.wow > 0)
        emit touchdownDetected(data.verticalSpeed, data.speed);
    previousWow = data.wow;
}

void TelemetrySourceDCS::detectCountermeasures(const ExportObject& data)
{
    if (previousSnares > data.snares)
        emit countermeasureReleased();
    previousSnares = data.snares;
}

void TelemetrySourceDCS::detectGearLock(const ExportObject& data)
{
    if (isGearLockChange(previousGear, data.gear))
        emit gearLock();
    previousGear = data.gear;
}

void TelemetrySourceDCS::detectDamage(const ExportObject& data)
{
    if (previousDamage > data.damage)
        emit damageReceived(static_cast<float>(qint64(previousDamage) - qint64(data.damage)));
    previousDamage = data.damage;
}

void TelemetrySourceDCS::detectWeaponRelease(qint64 weight)
{
    if (weight < previousPayloadWeight)
        emit weaponReleased(static_cast<float>(saturatingSubtract(previousPayloadWeight, weight)));
    previousPayloadWeight = weight;
}

void TelemetrySourceDCS::updateGunTriggers(const ExportObject& data, const PodCounts& counts)
{
    if (!triggerIndexSets.value(data.name).isEmpty())
        updateTriggersByTriggerIndex(data, counts);
    else if (!indexPods.value(data.name).isEmpty())
        updateTriggersByPodIndex(data, counts);
    else
        updateTriggersFromShells(data);
}

bool TelemetrySourceDCS::advanceTriggerCounter(int i)
{
    // A trigger once on stays on for at least six datagrams.
    if (triggerStates[i]) {
        if (++triggerCounters[i] > 5)
            triggerCounters[i] = 0;
    } else {
        triggerCounters[i] = 0;
    }
    return triggerCounters[i] == 0;
}

void TelemetrySourceDCS::setTrigger(int i, bool on)
{
    triggerStates[i] = on ? 1 : 0;
    telemetry.gunfireTriggers[i] = on;
}

void TelemetrySourceDCS::updateShellTrigger0(const ExportObject& data)
{
    if (!advanceTriggerCounter(0))
        return;
    setTrigger(0, previousShells[0] > data.shells);
    previousShells[0] = data.shells;
}

void TelemetrySourceDCS::updateTriggersFromShells(const ExportObject& data)
{
    updateShellTrigger0(data);
    for (int i = 1; i < triggerCount; ++i)
        setTrigger(i, false);
}

void TelemetrySourceDCS::judgePod(const QString& pod, bool flag, int i, const PodCounts& counts)
{
    const qint64 current = counts.value(pod, 0);
    qint64& previous = previousPodCounts[pod];
    if (flag && previous > current) {
        setTrigger(i, true);
        previous = current;
        return;
    }
    if (triggerStates[i]) {
        setTrigger(i, false);
        previousPodCounts = counts;
        return;
    }
    // Off and not firing: the reference follows the count, so a pod reloaded
    // while idle is judged against its new count, not the one before reloading.
    previous = current;
}

void TelemetrySourceDCS::updateTriggersByPodIndex(const ExportObject& data, const PodCounts& counts)
{
    updateShellTrigger0(data);
    const QMap<int, QString> pods = indexPods.value(data.name);
    for (int i = 1; i < triggerCount; ++i) {
        const auto pod = pods.constFind(i);
        if (pod == pods.constEnd()) {
            setTrigger(i, false);
            continue;
        }
        if (advanceTriggerCounter(i))
            judgePod(pod.value(), true, i, counts);
    }
}

void TelemetrySourceDCS::updateTriggersByTriggerIndex(const ExportObject& data, const PodCounts& counts)
{
    const QSet<int> indexes = triggerIndexSets.value(data.name);
    const QMap<int, QString> pods = triggerPods.value(data.name);
    for (int i = 0; i < triggerCount; ++i) {
        if (!indexes.contains(i)) {
            setTrigger(i, false);
            continue;
        }
        if (!advanceTriggerCounter(i))
            continue;
        const auto pod = pods.constFind(i);
        if (pod != pods.constEnd()) {
            judgePod(pod.value(), data.triggerFlags[i], i, counts);
            continue;
        }
        if (data.triggerFlags[i] && previousShells[i] > data.shells) {
            setTrigger(i, true);
            previousShells[i] = data.shells;
        } else if (triggerStates[i]) {
            setTrigger(i, false);
            for (int& shells : previousShells)
                shells = data.shells;
        } else {
            // As for pods: a reload while idle moves the reference.
            previousShells[i] = data.shells;
        }
    }
}

void TelemetrySourceDCS::clearTelemetry()
{
    telemetry = Telemetry();
}
