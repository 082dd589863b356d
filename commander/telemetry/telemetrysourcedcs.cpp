#include "telemetrysourcedcs.h"

#include "gearlock.h"
#include "jsonreaders.h"
#include "telemetryconversion.h"

#include <QDebug>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

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

const QString keyName = QStringLiteral("name");
const QString keyPayloadId = QStringLiteral("id");
const QString keyPayloadCount = QStringLiteral("count");
const QString triggerKeys[TelemetrySourceDCS::triggerCount] = {
    QStringLiteral("gun_trg0"), QStringLiteral("gun_trg1"), QStringLiteral("gun_trg2"),
    QStringLiteral("gun_trg3"), QStringLiteral("gun_trg4")};
}

TelemetrySourceDCS::TelemetrySourceDCS(QObject* parent, quint16 port)
    : TelemetrySourceUdp(parent, port)
{
    loadPayloadWeights();
    loadGunTriggerMapping();
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
    return readJsonString(QJsonDocument::fromJson(datagram).object(), keyName, QStringLiteral("N/A"));
}

void TelemetrySourceDCS::parseTelemetry(const QByteArray& datagram)
{
    const QJsonObject object = QJsonDocument::fromJson(datagram).object();
    if (!object.value(keyName).isString()) {
        clearTelemetry();
        return;
    }
    const ExportObject data = parseExportObject(object);
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

TelemetrySourceDCS::ExportObject TelemetrySourceDCS::parseExportObject(const QJsonObject& object)
{
    ExportObject data;
    data.name = object.value(keyName).toString();
    data.speed = saturatingToFloat(readJsonDouble(object, QStringLiteral("speed"), 0.0));
    data.verticalSpeed = saturatingToFloat(readJsonDouble(object, QStringLiteral("v_speed"), 0.0));
    data.g = saturatingToFloat(readJsonDouble(object, QStringLiteral("g"), 0.0));
    data.aoa = saturatingToFloat(readJsonDouble(object, QStringLiteral("aoa"), 0.0));
    data.shakeAmplitude = saturatingToInt32(readJsonDouble(object, QStringLiteral("shk_amp"), 0.0));
    data.engineRpmNormalized = readJsonInt(object, QStringLiteral("eng_rpm_norm"), 0);
    data.engineRpm = readJsonInt(object, QStringLiteral("eng_rpm_abs"), 0);
    data.rotorRpm = readJsonInt(object, QStringLiteral("rotor_rpm_abs"), 0);
    data.afterburner = readJsonInt(object, QStringLiteral("ab"), 0);
    data.gear = readJsonInt(object, QStringLiteral("gear"), 0);
    data.flaps = readJsonInt(object, QStringLiteral("flaps"), 0);
    data.speedBrake = readJsonInt(object, QStringLiteral("sp_br"), 0);
    data.wow = readJsonInt(object, QStringLiteral("wow"), 0);
    data.damage = readJsonInt(object, QStringLiteral("dmg"), 0);
    data.snares = readJsonInt(object, QStringLiteral("snares"), 0);
    data.shells = readJsonInt(object, QStringLiteral("shells"), 0);
    for (int i = 0; i < triggerCount; ++i)
        data.triggerFlags[i] = readJsonInt(object, triggerKeys[i], 0) > 0;
    const QJsonArray payload = readJsonArray(object, QStringLiteral("pld"));
    data.payload.reserve(payload.size());
    for (const QJsonValue& element : payload) {
        const QJsonObject item = element.toObject();
        data.payload.append({readJsonString(item, keyPayloadId, QString()), readJsonInt(item, keyPayloadCount, 0)});
    }
    return data;
}

TelemetrySourceDCS::PodCounts TelemetrySourceDCS::podCounts(const QList<PayloadItem>& payload) const
{
    PodCounts counts;
    for (const PayloadItem& item : payload) {
        if (!gunPods.contains(item.id))
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
        const int itemWeight = payloadWeights.value(item.id, 0);
        if (itemWeight <= 0)
            continue;
        weight = saturatingAdd(weight, saturatingMultiply(itemWeight, item.count));
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
