#include "defaultcurvetables.h"
#include "effectsprofile.h"
#include "effectsprofilefile.h"
#include "effectvalueranges.h"

#include <QDir>
#include <QPointF>
#include <QRegularExpression>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString goldenPath()
{
    return qEnvironmentVariable("TORQUIX_SOURCE_DIR") + "/tests/effects/data/golden_profile.json";
}

EffectsProfile golden()
{
    EffectsProfile profile;
    if (!readEffectsProfileFile(goldenPath(), profile))
        qWarning("golden profile not readable");
    return profile;
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

ResponseCurve curveOf(const DefaultCurveTable& table)
{
    ResponseCurve curve;
    curve.setPoints(table);
    return curve;
}

const QStringList effectKeys = {
    "smart_damper", "direct_x", "airspeed_spring", "prop_thrust_spring", "aoa_spring", "g_force_spring",
    "simple_spring", "elevator_weight", "local_aoa", "turbulence", "trim", "overspeed_shaker", "over_g_shaker",
    "afterburner_shaker", "on_ground_shaker", "gunfire_shaker", "aoa_shaker", "gear_shaker", "flaps_shaker",
    "airbrake_shaker", "gear_jolt", "countermeasuers_jolt", "damage_jolt", "weapon_release_jolt", "landing_jolt",
    "lift_shimmy_shaker", "vorterx_state_shaker", "generic_shaker", "engine_shaker", "rotor_shaker",
};
const QStringList axisKeys = {"ailerons", "elevator", "rudder", "throttle_collective"};

enum class Kind { Bool, Int, Double, Array };
const QList<QPair<QString, Kind>> effectMembers = {
    {"active", Kind::Bool}, {"trim_buttons_allowed", Kind::Bool}, {"force_release_allowed", Kind::Bool},
    {"trim_reset_allowed", Kind::Bool}, {"total_effect_strength", Kind::Int}, {"dampening_contribution", Kind::Int},
    {"base_frequency", Kind::Int}, {"frequency_mode", Kind::Int}, {"max_frequency", Kind::Int},
    {"frequency_multiplier", Kind::Int}, {"trimmer", Kind::Int}, {"force", Kind::Int}, {"periodic", Kind::Int},
    {"static_dampening", Kind::Double}, {"dynamic_dampening", Kind::Double}, {"curve1", Kind::Array},
    {"curve2", Kind::Array}, {"gunfire", Kind::Array},
};

bool wrongFor(Kind kind, const QJsonValue& value)
{
    switch (kind) {
    case Kind::Bool: return !value.isBool();
    case Kind::Int: return !value.isDouble() || value.toDouble() != 7; // only the row value 7 is a valid int
    case Kind::Double: return !value.isDouble();
    case Kind::Array: return !value.isArray();
    }
    return true;
}

// Every effect of every axis present as an object whose members all hold `value` where that is
// the wrong JSON type for them; the metadata likewise.
QJsonObject everyMemberWrong(const QJsonValue& value)
{
    QJsonObject effect;
    for (const auto& [name, kind] : effectMembers)
        if (wrongFor(kind, value))
            effect.insert(name, value);
    QJsonObject axis;
    for (const QString& key : effectKeys)
        axis.insert(key, effect);
    QJsonObject effects;
    for (const QString& key : axisKeys)
        effects.insert(key, axis);
    QJsonObject metadata;
    if (!value.isString()) {
        metadata.insert("flight_module", value);
        metadata.insert("comment", value);
    }
    if (wrongFor(Kind::Int, value))
        metadata.insert("flight_data_source", value);
    return QJsonObject{{"metadata", metadata}, {"effects", effects}};
}

}

class TestEffectsProfile : public QObject
{
    Q_OBJECT

private slots:
    void goldenProfileLoadsToExpectedValues();
    void writtenProfileReadsBackEqual();
    void writingReplacesTheWholeFile();
    void failedWriteReportsFailure();
    void unreadableFilesGiveDefaults_data();
    void unreadableFilesGiveDefaults();
    void everyMemberOfWrongTypeFallsBack_data();
    void everyMemberOfWrongTypeFallsBack();
    void wrongTypeAtAnyLevelResetsThatLevel_data();
    void wrongTypeAtAnyLevelResetsThatLevel();
    void flightDataSource_data();
    void flightDataSource();
    void metadataStringsAreNotKept();
    void defaultSettingsWriteFourEmptyAxes();
    void inactiveEffectsReadBackAsDefaults();
    void profileJsonHasMetadataAndEffects();
    void everyValueIsHeldWithinItsEditorRange_data();
    void everyValueIsHeldWithinItsEditorRange();
    void curvesAreHeldToShapesTheEditorDraws_data();
    void curvesAreHeldToShapesTheEditorDraws();
};

void TestEffectsProfile::goldenProfileLoadsToExpectedValues()
{
    EffectsProfile profile;
    QVERIFY(readEffectsProfileFile(goldenPath(), profile));

    QCOMPARE(profile.metadata.source, Telemetry::TELEMETRY_SOURCE_DCS);
    QCOMPARE(profile.metadata.flightModule, QString("FA-18C_hornet"));
    QCOMPARE(profile.metadata.comment, QString("Carrier ops, heavy stick"));

    const AxisEffectsSettings& ailerons = profile.effects.axes[0];
    QVERIFY(ailerons.airspeedSpring.active);
    QCOMPARE(ailerons.airspeedSpring.total_effect_strength, 80);
    QCOMPARE(ailerons.airspeedSpring.dampening_contribution, 15);
    QCOMPARE(ailerons.airspeedSpring.curve1.points[2].out, 12.5f);
    QCOMPARE(ailerons.airspeedSpring.curve1.points[10].in, 1000.0f);
    QVERIFY(ailerons.trim.active);
    QCOMPARE(ailerons.trim.trim_buttons_allowed, true);
    QCOMPARE(ailerons.trim.force_release_allowed, false); // missing from the object
    QCOMPARE(ailerons.trim.trim_reset_allowed, false);
    const GunfireShakerSettings& guns = ailerons.gunfireShaker;
    QVERIFY(guns.active);
    QCOMPARE(guns.gunfire[0].total_effect_strength, 60);
    QCOMPARE(guns.gunfire[0].base_frequency, 18);
    QCOMPARE(guns.gunfire[1].active, false);
    QCOMPARE(guns.gunfire[1].total_effect_strength, 35);
    QCOMPARE(guns.gunfire[1].frequency_mode, 1);
    QCOMPARE(guns.gunfire[1].base_frequency, 9);
    QCOMPARE(guns.gunfire[2].total_effect_strength, 25);
    QCOMPARE(guns.gunfire[2].base_frequency, 20);
    for (int k = 3; k < 5; ++k) { // not in the file: the defaults stay
        QCOMPARE(guns.gunfire[k].active, true);
        QCOMPARE(guns.gunfire[k].total_effect_strength, 0);
    }
    QVERIFY(ailerons.countermeasuresJolt.active);
    QCOMPARE(ailerons.countermeasuresJolt.total_effect_strength, 45);
    QCOMPARE(ailerons.countermeasuresJolt.base_frequency, 30);

    const AxisEffectsSettings& elevator = profile.effects.axes[1];
    QVERIFY(elevator.vortexStateShaker.active);
    QCOMPARE(elevator.vortexStateShaker.total_effect_strength, 50);
    QCOMPARE(elevator.vortexStateShaker.base_frequency, 12);
    QCOMPARE(elevator.vortexStateShaker.frequency_mode, 1);
    QCOMPARE(elevator.vortexStateShaker.max_frequency, 25);
    QVERIFY(elevator.vortexStateShaker.curve1 == curveOf(descendAngleCurve0To90));
    QCOMPARE(elevator.smartDamper.static_dampening, 12.5f);
    QCOMPARE(elevator.smartDamper.dynamic_dampening, 3.25f);
    QCOMPARE(elevator.directX.trimmer, 50);
    QCOMPARE(elevator.directX.force, 0); // 12.5 is not a whole number
    QCOMPARE(elevator.directX.periodic, 75);
    QVERIFY(elevator.aoaShaker.curve1 == curveOf(easeOutCurve0To500));
    QVERIFY(elevator.aoaShaker.curve2 == AoAShakerSettings().curve2); // a short curve is none the editor draws

    const AxisEffectsSettings& rudder = profile.effects.axes[2];
    QVERIFY(rudder.simpleSpring.active);
    QCOMPARE(rudder.simpleSpring.total_effect_strength, 30);
    QVERIFY(rudder.simpleSpring.curve1 == curveOf(identityCurveMinus100To100));
    QCOMPARE(rudder.engineShaker.frequency_multiplier, 2);

    // Everything else is off with its defaults, the collective axis entirely.
    QVERIFY(profile.effects.axes[3] == AxisEffectsSettings());
    const QJsonObject written = profile.effects.toJson();
    QCOMPARE(written.value("ailerons").toObject().keys(),
             (QStringList{"airspeed_spring", "countermeasuers_jolt", "gunfire_shaker", "trim"}));
    QCOMPARE(written.value("elevator").toObject().keys(),
             (QStringList{"aoa_shaker", "direct_x", "smart_damper", "vorterx_state_shaker"}));
    QCOMPARE(written.value("rudder").toObject().keys(), (QStringList{"engine_shaker", "simple_spring"}));
    QCOMPARE(written.value("throttle_collective").toObject(), QJsonObject());
}

void TestEffectsProfile::writtenProfileReadsBackEqual()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const EffectsProfile profile = golden();
    const QString path = dir.filePath("profile.json");
    QVERIFY(writeEffectsProfileFile(path, profile));

    EffectsProfile back;
    back.effects.axes[2].landingJolt.active = true; // must not survive the read
    QVERIFY(readEffectsProfileFile(path, back));
    QVERIFY(back == profile);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"profile.json"});
}

void TestEffectsProfile::writingReplacesTheWholeFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.json");
    QVERIFY(writeEffectsProfileFile(path, golden()));
    EffectsProfile small;
    small.metadata.comment = "small";
    QVERIFY(writeEffectsProfileFile(path, small));
    EffectsProfile back;
    QVERIFY(readEffectsProfileFile(path, back));
    QVERIFY(back == small);
}

void TestEffectsProfile::failedWriteReportsFailure()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/profile.json");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot write profile"));
    QVERIFY(!writeEffectsProfileFile(path, golden()));
    QVERIFY(!QFile::exists(path));

    // A directory standing where the file should be is never replaced.
    QVERIFY(QDir(dir.path()).mkdir("taken.json"));
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Cannot write profile"));
    QVERIFY(!writeEffectsProfileFile(dir.filePath("taken.json"), golden()));
    QVERIFY(QFileInfo(dir.filePath("taken.json")).isDir());
}

void TestEffectsProfile::unreadableFilesGiveDefaults_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("create");
    QTest::newRow("missing file") << QByteArray() << false;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("not JSON") << QByteArray("effects: none") << true;
    QTest::newRow("truncated") << QByteArray(R"({"metadata": {"comment": "x"}, "effects": {"ailerons": {)") << true;
    QTest::newRow("array root") << QByteArray(R"([{"metadata": {}}])") << true;
    QTest::newRow("binary") << QByteArray("\x00\xff\xfe{", 4) << true;
}

void TestEffectsProfile::unreadableFilesGiveDefaults()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, create);
    QTemporaryDir dir;
    const QString path = dir.filePath("profile.json");
    if (create)
        QVERIFY(writeText(path, text));
    EffectsProfile profile = golden();
    QVERIFY(!readEffectsProfileFile(path, profile));
    QVERIFY(profile == EffectsProfile());
}

void TestEffectsProfile::everyMemberOfWrongTypeFallsBack_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::newRow("null") << QJsonValue(QJsonValue::Null);
    QTest::newRow("true") << QJsonValue(true);
    QTest::newRow("integer") << QJsonValue(7);
    QTest::newRow("fraction") << QJsonValue(2.5);
    QTest::newRow("huge") << QJsonValue(1e300);
    QTest::newRow("string") << QJsonValue("text");
    QTest::newRow("empty array") << QJsonValue(QJsonArray());
    QTest::newRow("mixed array") << QJsonValue(QJsonArray{1, "a", QJsonValue()});
    QTest::newRow("empty object") << QJsonValue(QJsonObject());
    QTest::newRow("object") << QJsonValue(QJsonObject{{"active", true}, {"in", 3}});
}

void TestEffectsProfile::everyMemberOfWrongTypeFallsBack()
{
    QFETCH(QJsonValue, value);
    QTemporaryDir dir;
    const QString path = dir.filePath("wrong.json");
    QVERIFY(writeText(path, QJsonDocument(everyMemberWrong(value)).toJson()));

    EffectsProfile profile;
    QVERIFY(readEffectsProfileFile(path, profile));
    // Present effect objects read every member with its fallback: off, strength 0, curves kept.
    // The trim flags' fallback is false, not their default.
    EffectsProfile expected;
    for (AxisEffectsSettings& axis : expected.effects.axes) {
        axis.trim.trim_buttons_allowed = false;
        axis.trim.force_release_allowed = false;
        axis.trim.trim_reset_allowed = false;
    }
    QVERIFY(profile == expected);
}

void TestEffectsProfile::wrongTypeAtAnyLevelResetsThatLevel_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("metadataKept");
    QTest::addColumn<bool>("effectsReset");
    QTest::newRow("empty root") << QByteArray("{}") << false << true;
    QTest::newRow("halves of wrong type") << QByteArray(R"({"metadata": [], "effects": "all"})") << false << true;
    QTest::newRow("axes of wrong type")
        << QByteArray(R"({"metadata": {"flight_data_source": 1, "flight_module": "FA-18C_hornet", "comment": "Carrier ops, heavy stick"},
                         "effects": {"ailerons": 5, "elevator": null, "rudder": [], "throttle_collective": true}})")
        << true << true;
    QTest::newRow("only rudder, as a number") << QByteArray(R"({"effects": {"rudder": 5}})") << false << true;
}

void TestEffectsProfile::wrongTypeAtAnyLevelResetsThatLevel()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, metadataKept);
    EffectsProfile profile = golden();
    const EffectsProfileMetadata goldenMetadata = profile.metadata;
    profile.fromJson(QJsonDocument::fromJson(json).object());
    QVERIFY(profile.effects == EffectsSettings());
    QVERIFY(profile.metadata == (metadataKept ? goldenMetadata : EffectsProfileMetadata()));
}

void TestEffectsProfile::flightDataSource_data()
{
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("DCS") << QJsonValue(1) << 1;
    QTest::newRow("X-Plane") << QJsonValue(6) << 6;
    QTest::newRow("none") << QJsonValue(0) << 0;
    QTest::newRow("autodetect is no profile source") << QJsonValue(7) << 0;
    QTest::newRow("negative") << QJsonValue(-1) << 0;
    QTest::newRow("far out") << QJsonValue(1e10) << 0;
    QTest::newRow("fraction") << QJsonValue(1.5) << 0;
    QTest::newRow("string") << QJsonValue("1") << 0;
    QTest::newRow("bool") << QJsonValue(true) << 0;
}

void TestEffectsProfile::flightDataSource()
{
    QFETCH(QJsonValue, value);
    QFETCH(int, expected);
    EffectsProfileMetadata metadata;
    metadata.source = Telemetry::TELEMETRY_SOURCE_IL2;
    metadata.fromJson(QJsonObject{{"flight_data_source", value}});
    QCOMPARE(int(metadata.source), expected);
}

void TestEffectsProfile::metadataStringsAreNotKept()
{
    EffectsProfileMetadata metadata;
    metadata.flightModule = "Ka-50";
    metadata.comment = "old";
    metadata.fromJson(QJsonObject{{"flight_module", 50}, {"comment", QJsonValue()}});
    QCOMPARE(metadata.flightModule, QString());
    QCOMPARE(metadata.comment, QString());
}

void TestEffectsProfile::defaultSettingsWriteFourEmptyAxes()
{
    EffectsSettings settings = golden().effects;
    settings.setDefaults();
    const QJsonObject written = settings.toJson();
    QCOMPARE(written.keys(), (QStringList{"ailerons", "elevator", "rudder", "throttle_collective"}));
    for (const QJsonValue& axis : written)
        QCOMPARE(axis.toObject(), QJsonObject());
}

void TestEffectsProfile::inactiveEffectsReadBackAsDefaults()
{
    EffectsSettings settings;
    settings.axes[1].overGShaker.active = true;
    settings.axes[1].overGShaker.total_effect_strength = 65;
    settings.axes[1].flapsShaker.total_effect_strength = 90; // inactive: not written
    settings.axes[3].rotorShaker.active = true;
    settings.axes[3].rotorShaker.frequency_multiplier = 4;

    EffectsSettings back;
    back.fromJson(settings.toJson());
    QCOMPARE(back.axes[1].overGShaker.total_effect_strength, 65);
    QCOMPARE(back.axes[3].rotorShaker.frequency_multiplier, 4);
    QCOMPARE(back.axes[1].flapsShaker.total_effect_strength, 0);
    settings.axes[1].flapsShaker.total_effect_strength = 0;
    QVERIFY(back == settings);
}

void TestEffectsProfile::profileJsonHasMetadataAndEffects()
{
    const QJsonObject root = golden().toJson();
    QCOMPARE(root.keys(), (QStringList{"effects", "metadata"}));
    const QJsonObject metadata = root.value("metadata").toObject();
    QCOMPARE(metadata.value("flight_data_source"), QJsonValue(1));
    QCOMPARE(metadata.value("flight_module"), QJsonValue("FA-18C_hornet"));
    QCOMPARE(metadata.value("comment"), QJsonValue("Carrier ops, heavy stick"));
}

void TestEffectsProfile::everyValueIsHeldWithinItsEditorRange_data()
{
    QTest::addColumn<double>("value"); // of every number member and curve point of every effect
    QTest::newRow("-1e9") << -1e9;
    QTest::newRow("1e9") << 1e9;
    QTest::newRow("-1e308") << -1e308;
    QTest::newRow("1e308") << 1e308;
}

void TestEffectsProfile::everyValueIsHeldWithinItsEditorRange()
{
    QFETCH(double, value);
    QJsonArray curve;
    for (int k = 0; k < ResponseCurve::pointCount; ++k)
        curve.append(QJsonObject{{"in", value}, {"out", value}});
    QJsonObject effect{{"active", true}, {"curve1", curve}, {"curve2", curve}};
    for (const auto& [name, kind] : effectMembers)
        if (kind == Kind::Int || kind == Kind::Double)
            effect.insert(name, value);
    effect.insert("gunfire", QJsonArray{effect, effect, effect, effect, effect});
    QJsonObject axis, effects;
    for (const QString& key : effectKeys)
        axis.insert(key, effect);
    for (const QString& key : axisKeys)
        effects.insert(key, axis);
    EffectsProfile profile;
    profile.fromJson(QJsonObject{{"effects", effects}});
    // Every number written back lies within its member's range; no curve point kept the value.
    QStringList outside;
    const std::function<void(const QJsonValue&, const QString&)> check = [&](const QJsonValue& member, const QString& key) {
        const QJsonObject object = member.toObject();
        for (auto it = object.begin(); it != object.end(); ++it)
            check(it.value(), it.key());
        for (const QJsonValue& element : member.toArray())
            check(element, key);
        bool within = member.toDouble() != value;
        for (int row = 0; row < EffectValueRanges::EFFECT_VALUE_COUNT; ++row) {
            const EffectValueRanges::Range& range = EffectValueRanges::range(EffectValueRanges::EffectValueEnum(row));
            if (key == range.key)
                within = member.toDouble() >= range.minimum && member.toDouble() <= range.maximum;
        }
        if (member.isDouble() && !within)
            outside << key + ": " + QString::number(member.toDouble());
    };
    check(profile.effects.toJson(), QString());
    QCOMPARE(outside, QStringList());
    profile.effects.axes[3].rotorShaker.total_effect_strength = 101; // what the fuzz target names
    QCOMPARE(EffectValueRanges::valuesOutside(profile.effects), QStringList{"throttle_collective.rotor_shaker.total_effect_strength: 101"});
    // Curves inside their box that the editor could not have drawn are named too.
    profile.effects.axes[0].simpleSpring.curve1.points[5].in = -19.5f; // half a step above point 4
    profile.effects.axes[2].simpleSpring.curve1.points[10].in = 99.0f; // short of the range's end
    const QStringList named = EffectValueRanges::valuesOutside(profile.effects);
    QCOMPARE(named.size(), 3);
    QVERIFY(named[0].startsWith("ailerons.simple_spring.curve1: ") && named[1].startsWith("rudder.simple_spring.curve1: "));
}

void TestEffectsProfile::curvesAreHeldToShapesTheEditorDraws_data()
{
    QTest::addColumn<QList<float>>("read"); // inputs of the rudder's integrated spring curve in a profile
    QTest::addColumn<QList<float>>("held"); // empty: the effect's default curve, with a warning
    QTest::newRow("falling inputs") << QList<float>{50, -90, 0, 0, 0, 0, 0, 0, 0, 0, 0} << QList<float>();
    QTest::newRow("equal inputs") << QList<float>(ResponseCurve::pointCount, 20) << QList<float>();
    QTest::newRow("one point out of order") << QList<float>{-100, -80, -60, -40, -20, 0, -10, 40, 60, 80, 100} << QList<float>();
    QTest::newRow("inputs half a step apart") << QList<float>{-100, -80, -60, -40, -20, 0, 0.5, 40, 60, 80, 100} << QList<float>();
    QTest::newRow("ends inside the range") << QList<float>{-90, -72, -54, -36, -18, 0, 18, 36, 54, 72, 90}
                                           << QList<float>{-100, -72, -54, -36, -18, 0, 18, 36, 54, 72, 100};
    // Dragged and typed: steps of exactly one, and of one between values of two decimals.
    const QList<float> saved = {-100, -99, -98, -63.37f, -62.37f, -61.37f, 0.99f, 1.99f, 50.5, 99, 100};
    QTest::newRow("saved by the program") << saved << saved;
}

void TestEffectsProfile::curvesAreHeldToShapesTheEditorDraws()
{
    QFETCH(QList<float>, read);
    QFETCH(QList<float>, held);
    const auto readBack = [](const QJsonObject& spring) {
        EffectsProfile profile;
        profile.fromJson(QJsonObject{{"effects", QJsonObject{{"rudder", QJsonObject{{"simple_spring", spring}}}}}});
        QList<QPointF> points;
        for (const ResponseCurvePoint& point : profile.effects.axes[2].simpleSpring.curve1.points)
            points << QPointF(point.in, point.out);
        return points;
    };
    QJsonArray curve; // its outputs within the range, which stay
    QList<QPointF> expected;
    for (int k = 0; k < read.size(); ++k) {
        curve.append(QJsonObject{{"in", read[k]}, {"out", k * 10.5 - 50}});
        expected << QPointF(held.value(k), k * 10.5 - 50);
    }
    if (held.isEmpty()) {
        expected = readBack({{"active", true}});
        QTest::ignoreMessage(QtWarningMsg, "Profile curve rudder.simple_spring.curve1 is not one the curve editor draws; the effect's default curve is used");
    } else {
        QTest::failOnWarning(QRegularExpression("Profile curve"));
    }
    QCOMPARE(readBack({{"active", true}, {"curve1", curve}}), expected);
}

QTEST_GUILESS_MAIN(TestEffectsProfile)
#include "tst_effectsprofile.moc"
