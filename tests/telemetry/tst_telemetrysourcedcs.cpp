#include "loopbacksource.h"
#include "telemetrysourcedcs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {
const QByteArray payloadMapping = R"({
    "Mk-82": {"weight": 241},
    "Crate": {"weight": 100},
    "Heavy": {"weight": 2000000000},
    "Broken": {"weight": 12.5}
})";

const QByteArray gunMapping = R"({
    "Mi-24P": [
        {"triggerIndex": 0},
        {"triggerIndex": 2, "pod": "GSh-23 pod"}
    ],
    "Ka-50": [
        {"index": 1, "pod": "UPK-23-250"},
        {"index": 3, "pod": "Gun box"}
    ],
    "Odd": [
        {"triggerIndex": 7},
        {"triggerIndex": 1.5},
        {"triggerIndex": -1, "pod": "Odd pod"},
        {"index": 9, "pod": "Odd pod 2"}
    ]
})";

QByteArray exportObject(const QJsonObject& fields, const QString& name = "F-16C_50")
{
    QJsonObject object = fields;
    object.insert("name", name);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QJsonArray payload(std::initializer_list<std::pair<const char*, int>> items)
{
    QJsonArray array;
    for (const auto& [id, count] : items)
        array.append(QJsonObject{{"id", id}, {"count", count}});
    return array;
}
}

class TestTelemetrySourceDcs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exportFieldsFillTheRecord_data();
    void exportFieldsFillTheRecord();
    void firstParsedDatagramEmitsNoEvent();
    void eventsFollowChanges_data();
    void eventsFollowChanges();
    void eventsComeBeforeTheRecordInOrder();
    void datagramWithoutNameZeroesTheRecord_data();
    void datagramWithoutNameZeroesTheRecord();
    void sameMappedPayloadItemsAddUp();
    void payloadArithmeticSaturatesInsteadOfWrapping();
    void missingMappingFilesMeanShellsModeAndNoRelease();
    void shellsModeHoldsTriggerForSixDatagrams();
    void podIndexModeFollowsPodCounts();
    void triggerModeNeedsTheTriggerFlag();
    void triggerModeFollowsItsPod();
    void invalidTriggerIndexesAreIgnored();
    void podReloadedWhileIdleMovesTheReference();
    void detectorsArePrimedAgainAfterLoss();
    void shippedMappingFilesAreRead();

private:
    void useMappings(const QByteArray& payload, const QByteArray& gun);

    std::unique_ptr<QTemporaryDir> workDir;
    QString previousDir;
};

void TestTelemetrySourceDcs::initTestCase()
{
    Telemetry::registerMetaTypes();
    previousDir = QDir::currentPath();
}

void TestTelemetrySourceDcs::init()
{
    // The source reads its mapping files from the working directory.
    workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir->isValid());
    QVERIFY(QDir::setCurrent(workDir->path()));
}

void TestTelemetrySourceDcs::cleanup()
{
    QDir::setCurrent(previousDir);
    workDir.reset();
}

void TestTelemetrySourceDcs::useMappings(const QByteArray& payload, const QByteArray& gun)
{
    QFile payloadFile("payload_weight_mapping.json");
    QVERIFY(payloadFile.open(QIODevice::WriteOnly));
    payloadFile.write(payload);
    QFile gunFile("gun_trigger_mapping.json");
    QVERIFY(gunFile.open(QIODevice::WriteOnly));
    gunFile.write(gun);
}

void TestTelemetrySourceDcs::exportFieldsFillTheRecord_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<Telemetry>("expected");

    Telemetry full;
    full.airspeed = 412.5f;
    full.verticalSpeed = -3.25f;
    full.gForce = 1.5f;
    full.aoa = 4.75f;
    full.propAirflow = 87;
    full.engineRpm = 2650;
    full.rotorRpm = 240;
    full.afterburner = 30;
    full.gear = 100;
    full.flaps = 25;
    full.airbrake = 60;
    full.onGround = true;
    full.shakeMagnitude = 12;
    QTest::newRow("every field") << exportObject({{"speed", 412.5}, {"v_speed", -3.25}, {"g", 1.5},
        {"aoa", 4.75}, {"eng_rpm_norm", 87}, {"eng_rpm_abs", 2650}, {"rotor_rpm_abs", 240}, {"ab", 30},
        {"gear", 100}, {"flaps", 25}, {"sp_br", 60}, {"wow", 1}, {"shk_amp", 12.9}}) << full;

    Telemetry truncated;
    truncated.shakeMagnitude = -7;
    QTest::newRow("shake truncates toward zero, fractions and strings count 0")
        << exportObject({{"shk_amp", -7.9}, {"gear", 50.5}, {"flaps", "25"}, {"speed", "fast"}}) << truncated;

    Telemetry huge;
    huge.airspeed = std::numeric_limits<float>::max();
    huge.shakeMagnitude = std::numeric_limits<qint32>::max();
    QTest::newRow("numbers beyond the fields saturate")
        << exportObject({{"speed", 1e300}, {"shk_amp", 1e20}, {"eng_rpm_abs", 1e12}}) << huge;
}

void TestTelemetrySourceDcs::exportFieldsFillTheRecord()
{
    QFETCH(QByteArray, datagram);
    QFETCH(Telemetry, expected);
    LoopbackSource<TelemetrySourceDCS> fixture;
    fixture.detect(datagram);
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.deliver(datagram);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(lastRecord(changed), expected);
}

void TestTelemetrySourceDcs::firstParsedDatagramEmitsNoEvent()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    fixture.detect(exportObject({{"wow", 0}, {"dmg", 100}, {"snares", 60}, {"gear", 0}}));
    // Whatever it holds, the first parsed datagram is only the reference.
    fixture.deliver(exportObject({{"wow", 1}, {"dmg", 0}, {"snares", 0}, {"gear", 100}, {"shells", 0},
                                  {"pld", payload({{"Mk-82", 2}})}}));
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
    fixture.deliver(exportObject({{"wow", 1}, {"dmg", 0}, {"snares", 0}, {"gear", 100}, {"shells", 0},
                                  {"pld", payload({{"Mk-82", 2}})}}));
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
}

void TestTelemetrySourceDcs::eventsFollowChanges_data()
{
    QTest::addColumn<QJsonObject>("before");
    QTest::addColumn<QJsonObject>("after");
    QTest::addColumn<QString>("event");
    QTest::addColumn<float>("argument");

    QTest::newRow("touchdown") << QJsonObject{{"wow", 0}}
                               << QJsonObject{{"wow", 1}, {"v_speed", -2.5}, {"speed", 220.0}}
                               << "touchdown" << -2.5f;
    QTest::newRow("still on wheels") << QJsonObject{{"wow", 1}} << QJsonObject{{"wow", 1}} << "" << 0.0f;
    QTest::newRow("damage 10 to 4") << QJsonObject{{"dmg", 10}} << QJsonObject{{"dmg", 4}} << "damage" << 6.0f;
    QTest::newRow("repair 4 to 10") << QJsonObject{{"dmg", 4}} << QJsonObject{{"dmg", 10}} << "" << 0.0f;
    QTest::newRow("extreme damage")
        << QJsonObject{{"dmg", 2147483647}} << QJsonObject{{"dmg", -2147483647 - 1}} << "damage" << 4294967295.0f;
    QTest::newRow("flare") << QJsonObject{{"snares", 30}} << QJsonObject{{"snares", 29}} << "countermeasure" << 0.0f;
    QTest::newRow("reload snares") << QJsonObject{{"snares", 0}} << QJsonObject{{"snares", 60}} << "" << 0.0f;
    QTest::newRow("gear leaves up") << QJsonObject{{"gear", 0}} << QJsonObject{{"gear", 37}} << "gear" << 0.0f;
    QTest::newRow("gear moving") << QJsonObject{{"gear", 37}} << QJsonObject{{"gear", 80}} << "" << 0.0f;
    QTest::newRow("gear reaches down") << QJsonObject{{"gear", 80}} << QJsonObject{{"gear", 100}} << "gear" << 0.0f;
    QTest::newRow("gear leaves down") << QJsonObject{{"gear", 100}} << QJsonObject{{"gear", 95}} << "gear" << 0.0f;
    QTest::newRow("gear reaches up") << QJsonObject{{"gear", 50}} << QJsonObject{{"gear", 0}} << "gear" << 0.0f;
    QTest::newRow("bomb released")
        << QJsonObject{{"pld", payload({{"Mk-82", 3}})}} << QJsonObject{{"pld", payload({{"Mk-82", 2}})}}
        << "weapon" << 241.0f;
    QTest::newRow("unmapped payload") << QJsonObject{{"pld", payload({{"Unknown", 3}})}}
                                      << QJsonObject{{"pld", payload({{"Unknown", 2}})}} << "" << 0.0f;
    QTest::newRow("weight that is not whole counts 0")
        << QJsonObject{{"pld", payload({{"Broken", 3}})}} << QJsonObject{{"pld", payload({{"Broken", 2}})}}
        << "" << 0.0f;
}

void TestTelemetrySourceDcs::eventsFollowChanges()
{
    QFETCH(QJsonObject, before);
    QFETCH(QJsonObject, after);
    QFETCH(QString, event);
    QFETCH(float, argument);
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    fixture.detect(exportObject(before));
    fixture.deliver(exportObject(before));
    fixture.log.take();

    QSignalSpy touchdown(&fixture.source, &TelemetrySource::touchdownDetected);
    QSignalSpy damage(&fixture.source, &TelemetrySource::damageReceived);
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    fixture.deliver(exportObject(after));
    const QStringList expected = event.isEmpty() ? QStringList({"telemetry"}) : QStringList({event, "telemetry"});
    QCOMPARE(fixture.log.take(), expected);
    if (event == "touchdown") {
        QCOMPARE(touchdown.at(0).at(0).toFloat(), argument);
        QCOMPARE(touchdown.at(0).at(1).toFloat(), 220.0f);
    } else if (event == "damage") {
        QCOMPARE(damage.at(0).at(0).toFloat(), argument);
    } else if (event == "weapon") {
        QCOMPARE(weapon.at(0).at(0).toFloat(), argument);
    }
}

void TestTelemetrySourceDcs::eventsComeBeforeTheRecordInOrder()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    const QJsonObject before{{"wow", 0}, {"snares", 10}, {"gear", 50}, {"dmg", 100}, {"pld", payload({{"Mk-82", 4}})}};
    const QJsonObject after{{"wow", 1}, {"snares", 9}, {"gear", 100}, {"dmg", 90}, {"pld", payload({{"Mk-82", 2}})}};
    fixture.detect(exportObject(before));
    fixture.deliver(exportObject(before));
    fixture.log.take();
    fixture.deliver(exportObject(after));
    QCOMPARE(fixture.log.take(),
             QStringList({"touchdown", "countermeasure", "gear", "damage", "weapon", "telemetry"}));
}

void TestTelemetrySourceDcs::datagramWithoutNameZeroesTheRecord_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::newRow("invalid JSON") << QByteArray("{\"name\": \"F-16C_50\", \"speed\": ");
    QTest::newRow("no name") << QByteArray(R"({"speed": 300, "wow": 0, "dmg": 0})");
    QTest::newRow("name is a number") << QByteArray(R"({"name": 5, "speed": 300})");
    QTest::newRow("JSON array") << QByteArray(R"([{"name": "F-16C_50"}])");
}

void TestTelemetrySourceDcs::datagramWithoutNameZeroesTheRecord()
{
    QFETCH(QByteArray, datagram);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    const QJsonObject flying{{"speed", 300}, {"wow", 1}, {"gear", 100}, {"dmg", 50}, {"shells", 100}};
    fixture.detect(exportObject(flying));
    fixture.deliver(exportObject(flying));
    fixture.deliver(exportObject({{"speed", 300}, {"wow", 1}, {"gear", 100}, {"dmg", 50}, {"shells", 99}}));
    QVERIFY(lastRecord(changed) != Telemetry());
    fixture.log.take();

    fixture.deliver(datagram);
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
    QCOMPARE(lastRecord(changed), Telemetry());

    // The detectors kept their state: the next good datagram compares with the one before the bad one.
    fixture.deliver(exportObject({{"speed", 300}, {"wow", 1}, {"gear", 100}, {"dmg", 40}, {"shells", 99}}));
    QCOMPARE(fixture.log.take(), QStringList({"damage", "telemetry"}));
}

void TestTelemetrySourceDcs::sameMappedPayloadItemsAddUp()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    const QJsonObject loaded{{"pld", payload({{"Crate", 2}, {"Crate", 3}, {"Unknown", 9}})}};
    fixture.detect(exportObject(loaded));
    fixture.deliver(exportObject(loaded));
    fixture.deliver(exportObject({{"pld", QJsonArray{42, "x"}}}));
    QCOMPARE(weapon.count(), 1);
    QCOMPARE(weapon.at(0).at(0).toFloat(), 500.0f);
}

void TestTelemetrySourceDcs::payloadArithmeticSaturatesInsteadOfWrapping()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    // Three items of 4e18 each exceed 64 bits; the sum must saturate, not wrap negative.
    const QJsonObject loaded{{"pld", payload({{"Heavy", 2000000000}, {"Heavy", 2000000000}, {"Heavy", 2000000000}})}};
    fixture.detect(exportObject(loaded));
    fixture.deliver(exportObject(loaded));
    fixture.deliver(exportObject({{"pld", payload({{"Heavy", 2000000000}})}}));
    QCOMPARE(weapon.count(), 1);
    const float released = weapon.at(0).at(0).toFloat();
    QVERIFY(std::isfinite(released));
    QVERIFY2(released > 5.0e18f, qPrintable(QString::number(released)));
}

void TestTelemetrySourceDcs::missingMappingFilesMeanShellsModeAndNoRelease()
{
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    fixture.detect(exportObject({{"shells", 100}, {"pld", payload({{"Mk-82", 4}})}}, "Mi-24P"));
    fixture.deliver(exportObject({{"shells", 100}, {"pld", payload({{"Mk-82", 4}})}}, "Mi-24P"));
    fixture.deliver(exportObject({{"shells", 99}, {"gun_trg2", 1}, {"pld", payload({{"Mk-82", 0}})}}, "Mi-24P"));
    QCOMPARE(weapon.count(), 0);
    const Telemetry record = lastRecord(changed);
    QVERIFY(record.gunfireTriggers[0]);
    QVERIFY(!record.gunfireTriggers[2]);
}

void TestTelemetrySourceDcs::shellsModeHoldsTriggerForSixDatagrams()
{
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(exportObject({{"shells", 100}}));
    fixture.deliver(exportObject({{"shells", 100}}));
    fixture.deliver(exportObject({{"shells", 99}}));
    QVERIFY(lastRecord(changed).gunfireTriggers[0]);
    // Stays on for the next five datagrams even though no shell is fired.
    for (int i = 0; i < 5; ++i) {
        fixture.deliver(exportObject({{"shells", 99}}));
        QVERIFY2(lastRecord(changed).gunfireTriggers[0], qPrintable(QString::number(i)));
    }
    // The sixth is judged against the count stored six datagrams before: nothing fired since.
    fixture.deliver(exportObject({{"shells", 99}}));
    QVERIFY(!lastRecord(changed).gunfireTriggers[0]);
    for (int i = 1; i < Telemetry::gunfireTriggerCount; ++i)
        QVERIFY(!lastRecord(changed).gunfireTriggers[i]);

    // Fired during the hold: judged on at the sixth again.
    fixture.deliver(exportObject({{"shells", 98}}));
    for (int i = 0; i < 5; ++i)
        fixture.deliver(exportObject({{"shells", 90}}));
    fixture.deliver(exportObject({{"shells", 90}}));
    QVERIFY(lastRecord(changed).gunfireTriggers[0]);
}

void TestTelemetrySourceDcs::podIndexModeFollowsPodCounts()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    const auto ka50 = [](int shells, int pod1, int pod3) {
        return exportObject({{"shells", shells}, {"pld", payload({{"UPK-23-250", pod1}, {"Gun box", pod3}})}}, "Ka-50");
    };
    fixture.detect(ka50(200, 250, 100));
    fixture.deliver(ka50(200, 250, 100));
    fixture.deliver(ka50(200, 240, 100));
    Telemetry record = lastRecord(changed);
    QVERIFY(!record.gunfireTriggers[0]);
    QVERIFY(record.gunfireTriggers[1]);
    QVERIFY(!record.gunfireTriggers[2]);
    QVERIFY(!record.gunfireTriggers[3]);

    fixture.deliver(ka50(199, 240, 90));
    record = lastRecord(changed);
    QVERIFY(record.gunfireTriggers[0]);
    QVERIFY(record.gunfireTriggers[1]);
    QVERIFY(record.gunfireTriggers[3]);
    QVERIFY(!record.gunfireTriggers[4]);
}

void TestTelemetrySourceDcs::triggerModeNeedsTheTriggerFlag()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    fixture.detect(exportObject({{"shells", 500}}, "Mi-24P"));
    fixture.deliver(exportObject({{"shells", 500}}, "Mi-24P"));
    // Shells fall but trigger 0 is not pressed: no gunfire on trigger 0.
    fixture.deliver(exportObject({{"shells", 490}, {"gun_trg0", 0}}, "Mi-24P"));
    QVERIFY(!lastRecord(changed).gunfireTriggers[0]);
    fixture.deliver(exportObject({{"shells", 480}, {"gun_trg0", 1}}, "Mi-24P"));
    Telemetry record = lastRecord(changed);
    QVERIFY(record.gunfireTriggers[0]);
    QVERIFY(!record.gunfireTriggers[1]);
}

void TestTelemetrySourceDcs::triggerModeFollowsItsPod()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    const auto mi24 = [](int pod, int trigger2) {
        return exportObject({{"shells", 500}, {"gun_trg2", trigger2}, {"pld", payload({{"GSh-23 pod", pod}})}}, "Mi-24P");
    };
    fixture.detect(mi24(250, 0));
    fixture.deliver(mi24(250, 0));
    fixture.deliver(mi24(240, 1));
    Telemetry record = lastRecord(changed);
    QVERIFY(record.gunfireTriggers[2]);
    QVERIFY(!record.gunfireTriggers[0]);
    for (int i = 0; i < 5; ++i)
        fixture.deliver(mi24(240, 0));
    QVERIFY(lastRecord(changed).gunfireTriggers[2]);
    fixture.deliver(mi24(240, 0));
    QVERIFY(!lastRecord(changed).gunfireTriggers[2]);
}

void TestTelemetrySourceDcs::invalidTriggerIndexesAreIgnored()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    // Every index of "Odd" is invalid, so it has no mapping and uses shells mode.
    fixture.detect(exportObject({{"shells", 10}}, "Odd"));
    fixture.deliver(exportObject({{"shells", 10}, {"pld", payload({{"Odd pod", 5}})}}, "Odd"));
    fixture.deliver(exportObject({{"shells", 9}, {"gun_trg1", 1}, {"pld", payload({{"Odd pod", 4}})}}, "Odd"));
    const Telemetry record = lastRecord(changed);
    QVERIFY(record.gunfireTriggers[0]);
    for (int i = 1; i < Telemetry::gunfireTriggerCount; ++i)
        QVERIFY(!record.gunfireTriggers[i]);
}

void TestTelemetrySourceDcs::podReloadedWhileIdleMovesTheReference()
{
    useMappings(payloadMapping, gunMapping);
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    const auto ka50 = [](int pod) { return exportObject({{"pld", payload({{"UPK-23-250", pod}})}}, "Ka-50"); };
    fixture.detect(ka50(0));
    fixture.deliver(ka50(0));
    fixture.deliver(ka50(250)); // rearmed on the ground
    QVERIFY(!lastRecord(changed).gunfireTriggers[1]);
    fixture.deliver(ka50(249));
    QVERIFY(lastRecord(changed).gunfireTriggers[1]);
}

void TestTelemetrySourceDcs::detectorsArePrimedAgainAfterLoss()
{
    LoopbackSource<TelemetrySourceDCS> fixture;
    fixture.detect(exportObject({{"dmg", 100}}));
    fixture.deliver(exportObject({{"dmg", 100}}));
    fixture.now = 1500;
    fixture.source.pollTelemetry();
    QCOMPARE(fixture.log.take(), QStringList({"telemetry", "telemetry", "lost"}));
    fixture.detect(exportObject({{"dmg", 20}}));
    fixture.deliver(exportObject({{"dmg", 10}}));
    QCOMPARE(fixture.log.take(), QStringList({"telemetry"}));
    fixture.deliver(exportObject({{"dmg", 5}}));
    QCOMPARE(fixture.log.take(), QStringList({"damage", "telemetry"}));
}

void TestTelemetrySourceDcs::shippedMappingFilesAreRead()
{
    QVERIFY(QDir::setCurrent(qEnvironmentVariable("TORQUIX_SOURCE_DIR") + "/resources"));
    LoopbackSource<TelemetrySourceDCS> fixture;
    QSignalSpy changed(&fixture.source, &TelemetrySource::telemetryChanged);
    QSignalSpy weapon(&fixture.source, &TelemetrySource::weaponReleased);
    const auto mi8 = [](int bombs, int upk, int guv) {
        return exportObject({{"pld", payload({{"FAB-250", bombs}, {"UPK-23-250", upk}, {"GUV-8700", guv}})}}, "Mi-8MT");
    };
    fixture.detect(mi8(2, 250, 700));
    fixture.deliver(mi8(2, 250, 700));
    fixture.deliver(mi8(1, 250, 690));
    QCOMPARE(weapon.count(), 1);
    QCOMPARE(weapon.at(0).at(0).toFloat(), 250.0f);
    const Telemetry record = lastRecord(changed);
    QVERIFY(!record.gunfireTriggers[1]);
    QVERIFY(record.gunfireTriggers[2]);
}

QTEST_GUILESS_MAIN(TestTelemetrySourceDcs)
#include "tst_telemetrysourcedcs.moc"
