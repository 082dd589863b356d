#pragma once

#include "jsonscanner.h"
#include "telemetrysourceudp.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

// DCS World: one JSON object per datagram from our export script. Detects
// touchdown, countermeasure, gear-lock, damage and weapon-release events and
// derives the five gun-trigger states, helped by two mapping files read from
// the working directory at construction.
class TelemetrySourceDCS : public TelemetrySourceUdp
{
    Q_OBJECT

public:
    explicit TelemetrySourceDCS(QObject* parent = nullptr, quint16 port = 0);

    static constexpr int triggerCount = Telemetry::gunfireTriggerCount;

protected:
    // One "pld" element; elements that are not objects give an empty id. What the
    // mapping files say of the id comes with it.
    struct PayloadItem {
        QString id;
        int count = 0;
        bool gunPod = false;
        int weight = 0;
    };

    // The members of one export object that the parse uses.
    struct ExportObject {
        QString name;
        float speed = 0.0f;
        float verticalSpeed = 0.0f;
        float g = 0.0f;
        float aoa = 0.0f;
        qint32 shakeAmplitude = 0;
        int engineRpmNormalized = 0;
        int engineRpm = 0;
        int rotorRpm = 0;
        int afterburner = 0;
        int gear = 0;
        int flaps = 0;
        int speedBrake = 0;
        int wow = 0;
        int damage = 0;
        int snares = 0;
        int shells = 0;
        bool triggerFlags[triggerCount] = {false, false, false, false, false};
        QList<PayloadItem> payload;
    };
    using PodCounts = QMap<QString, qint64>;

    void parseTelemetry(const QByteArray& datagram) override;
    QString parseFlightModule(const QByteArray& datagram) override;
    Telemetry::Source sourceType() const override { return Telemetry::TELEMETRY_SOURCE_DCS; }
    void publishTelemetry() override { emit telemetryChanged(telemetry); }
    void publishEmptyTelemetry() override { emit telemetryChanged(emptyTelemetry); }

    // The members of the scanned root object. Payload items whose id neither the pod
    // counts nor the payload weight look at are left out: they would change neither.
    ExportObject parseExportObject(const JsonScanner& json) const;
    PodCounts podCounts(const QList<PayloadItem>& payload) const;
    qint64 payloadWeight(const QList<PayloadItem>& payload) const;
    void detectTouchdown(const ExportObject& data);
    void detectCountermeasures(const ExportObject& data);
    void detectGearLock(const ExportObject& data);
    void detectDamage(const ExportObject& data);
    void detectWeaponRelease(qint64 weight);
    void updateGunTriggers(const ExportObject& data, const PodCounts& counts);
    // Returns whether trigger i is judged in this step.
    bool advanceTriggerCounter(int i);
    void updateTriggersFromShells(const ExportObject& data);
    void updateTriggersByPodIndex(const ExportObject& data, const PodCounts& counts);
    void updateTriggersByTriggerIndex(const ExportObject& data, const PodCounts& counts);
    void clearTelemetry();

private:
    void loadPayloadWeights();
    void loadGunTriggerMapping();
    const PayloadItem* countedPayloadId(const JsonScanner& json, int value) const;
    void primeFrom(const ExportObject& data, const PodCounts& counts, qint64 weight);
    void setTrigger(int i, bool on);
    void updateShellTrigger0(const ExportObject& data);
    void judgePod(const QString& pod, bool flag, int i, const PodCounts& counts);

    QMap<QString, int> payloadWeights;
    QSet<QString> gunPods;
    QMap<QString, QSet<int>> triggerIndexSets;
    QMap<QString, QMap<int, QString>> triggerPods;
    QMap<QString, QMap<int, QString>> indexPods;
    // Every payload id that counts or weighs (count 0), also by its UTF-8 text, so that
    // the datagram's ids are looked up without decoding each of them.
    QHash<QString, PayloadItem> countedPayloadIds;
    QHash<QByteArray, PayloadItem> countedPayloadIdsUtf8;
    std::optional<PayloadItem> nullPayloadId;

    int previousWow = 0;
    int previousDamage = 0;
    int previousSnares = 0;
    int previousGear = 0;
    qint64 previousPayloadWeight = 0;
    int previousShells[triggerCount] = {0, 0, 0, 0, 0};
    quint8 triggerStates[triggerCount] = {0, 0, 0, 0, 0};
    int triggerCounters[triggerCount] = {0, 0, 0, 0, 0};
    PodCounts previousPodCounts;
    JsonScanner json;
};
