#include "axiseffectssettings.h"
#include "effectsprofile.h"
#include "shakerwithdualcurveandfixedfrequencysettings.h"
#include "shakerwithvariablefrequencysettings.h"

#include <QJsonDocument>
#include <QMetaEnum>
#include <QPointF>
#include <QTest>

#include <cfloat>
#include <functional>
#include <iterator>

namespace {

struct ExpectedDescriptor
{
    QString title;
    QString xLabel;
    QString yLabel;
    float xMin, xMax, yMin, yMax;
    bool firstOutputFixed;
};

using Points = QList<QPointF>;
using Descriptors = QList<ExpectedDescriptor>;

}

Q_DECLARE_METATYPE(ExpectedDescriptor)

namespace {

ExpectedDescriptor desc(const char* title, const char* xLabel, float xMin, float xMax,
                        const char* yLabel = "Strength (%)", float yMin = 0, float yMax = 100, bool pinned = true)
{
    return {title, xLabel, yLabel, xMin, xMax, yMin, yMax, pinned};
}

ExpectedDescriptor speedDesc(float xMax)
{
    return desc("Shaking strength dependency on speed", "Speed (km/h)", 0, xMax);
}

// The 11 points start, start + step, ... with out = rule(in).
Points byRule(double start, double step, const std::function<double(double)>& rule)
{
    Points points;
    for (int i = 0; i < 11; ++i)
        points << QPointF(start + i * step, rule(start + i * step));
    return points;
}

Points literal(std::initializer_list<double> ins, std::initializer_list<double> outs)
{
    Points points;
    auto o = outs.begin();
    for (double in : ins)
        points << QPointF(in, *o++);
    return points;
}

const auto identity = [](double x) { return x; };
Points identity0To100() { return byRule(0, 10, identity); }
Points linear0To10() { return byRule(0, 1, [](double x) { return 10 * x; }); }
Points squareLaw0To1000() { return byRule(0, 100, [](double x) { return 100 * (x / 1000) * (x / 1000); }); }
Points easeOut(double top)
{
    return byRule(0, top / 10, [top](double x) { return 100 * (1 - (1 - x / top) * (1 - x / top)); });
}

const QStringList simpleMembers = {"active", "total_effect_strength"};
const QStringList springMembers = {"active", "total_effect_strength", "curve1", "dampening_contribution"};
const QStringList fixedShakerMembers = {"active", "total_effect_strength", "base_frequency", "frequency_mode"};
const QStringList singleCurveFixedMembers = fixedShakerMembers + QStringList{"curve1"};
const QStringList singleCurveVariableMembers = singleCurveFixedMembers + QStringList{"max_frequency"};
const QStringList dualCurveVariableMembers = singleCurveVariableMembers + QStringList{"curve2"};
const QStringList rpmMembers = {"active", "total_effect_strength", "curve1", "frequency_multiplier"};

EffectSettingsBase& effectOf(AxisEffectsSettings& a, int type)
{
    switch (type) {
    case EffectsProfile::EFFECT_TYPE_SMART_DAMPER: return a.smartDamper;
    case EffectsProfile::EFFECT_TYPE_DIRECT_X_FFB: return a.directX;
    case EffectsProfile::EFFECT_TYPE_AIRSPEED_SPRING: return a.airspeedSpring;
    case EffectsProfile::EFFECT_TYPE_PROP_THRUST_SPRING: return a.propThrustSpring;
    case EffectsProfile::EFFECT_TYPE_AOA_SPRING: return a.aoaSpring;
    case EffectsProfile::EFFECT_TYPE_G_FORCE_SPRING: return a.gForceSpring;
    case EffectsProfile::EFFECT_TYPE_SIMPLE_SPRING: return a.simpleSpring;
    case EffectsProfile::EFFECT_TYPE_ELEVATOR_WEIGHT: return a.elevatorWeight;
    case EffectsProfile::EFFECT_TYPE_LOCAL_AOA: return a.localAoa;
    case EffectsProfile::EFFECT_TYPE_TURBULENCE: return a.turbulence;
    case EffectsProfile::EFFECT_TYPE_TRIM: return a.trim;
    case EffectsProfile::EFFECT_TYPE_OVERSPEED_SHAKER: return a.overspeedShaker;
    case EffectsProfile::EFFECT_TYPE_OVERG_SHAKER: return a.overGShaker;
    case EffectsProfile::EFFECT_TYPE_AFTERBURNER_SHAKER: return a.afterburnerShaker;
    case EffectsProfile::EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER: return a.onGroundShaker;
    case EffectsProfile::EFFECT_TYPE_GUNFIRE_SHAKER: return a.gunfireShaker;
    case EffectsProfile::EFFECT_TYPE_AOA_SHAKER: return a.aoaShaker;
    case EffectsProfile::EFFECT_TYPE_GEAR_SHAKER: return a.gearShaker;
    case EffectsProfile::EFFECT_TYPE_FLAPS_SHAKER: return a.flapsShaker;
    case EffectsProfile::EFFECT_TYPE_AIRBRAKES_SHAKER: return a.airbrakeShaker;
    case EffectsProfile::EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER: return a.gearExtractionJolt;
    case EffectsProfile::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER: return a.countermeasuresJolt;
    case EffectsProfile::EFFECT_TYPE_DAMAGE_JOLT_SHAKER: return a.damageJolt;
    case EffectsProfile::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER: return a.weaponReleaseJolt;
    case EffectsProfile::EFFECT_TYPE_LANDING_JOLT_SHAKER: return a.landingJolt;
    case EffectsProfile::EFFECT_TYPE_ETL_SHAKER: return a.liftShimmyShaker;
    case EffectsProfile::EFFECT_TYPE_VORTEX_STATE_SHAKER: return a.vortexStateShaker;
    case EffectsProfile::EFFECT_TYPE_GENERIC_SHAKER: return a.genericShaker;
    case EffectsProfile::EFFECT_TYPE_MAIN_ROTOR_SHAKER: return a.rotorShaker;
    case EffectsProfile::EFFECT_TYPE_ENGINE_SHAKER: return a.engineShaker;
    }
    qFatal("no effect of type %d", type);
}

QList<CurveDescriptor> descriptorsOf(int type)
{
    switch (type) {
    case EffectsProfile::EFFECT_TYPE_AIRSPEED_SPRING: return {AirspeedSpringSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_PROP_THRUST_SPRING: return {PropThrustSpringSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_AOA_SPRING: return {AoASpringSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_G_FORCE_SPRING: return {GForceSpringSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_SIMPLE_SPRING: return {SimpleSpringSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_OVERSPEED_SHAKER: return {OverspeedShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_OVERG_SHAKER: return {OverGShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_AFTERBURNER_SHAKER: return {AfterburnerShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER: return {OnGroundShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_AOA_SHAKER:
        return {AoAShakerSettings::curve1Descriptor(), AoAShakerSettings::curve2Descriptor()};
    case EffectsProfile::EFFECT_TYPE_GEAR_SHAKER:
        return {GearShakerSettings::curve1Descriptor(), GearShakerSettings::curve2Descriptor()};
    case EffectsProfile::EFFECT_TYPE_FLAPS_SHAKER:
        return {FlapsShakerSettings::curve1Descriptor(), FlapsShakerSettings::curve2Descriptor()};
    case EffectsProfile::EFFECT_TYPE_AIRBRAKES_SHAKER:
        return {AirbrakeShakerSettings::curve1Descriptor(), AirbrakeShakerSettings::curve2Descriptor()};
    case EffectsProfile::EFFECT_TYPE_DAMAGE_JOLT_SHAKER: return {DamageJoltShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER:
        return {WeaponReleaseJoltShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_LANDING_JOLT_SHAKER:
        return {LandingJoltShakerSettings::curve1Descriptor(), LandingJoltShakerSettings::curve2Descriptor()};
    case EffectsProfile::EFFECT_TYPE_ETL_SHAKER: return {LiftShimmyShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_VORTEX_STATE_SHAKER:
        return {VortexStateShakerSettings::curve1Descriptor(), VortexStateShakerSettings::curve2Descriptor()};
    case EffectsProfile::EFFECT_TYPE_GENERIC_SHAKER: return {GenericShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_MAIN_ROTOR_SHAKER: return {RotorShakerSettings::curveDescriptor()};
    case EffectsProfile::EFFECT_TYPE_ENGINE_SHAKER: return {EngineShakerSettings::curveDescriptor()};
    default: return {};
    }
}

// A curve the editor could have drawn: inputs spread evenly over curve `index`'s range (0 to
// 10, which every range holds, for an effect type of none).
void setCurve(ResponseCurve& curve, int type, int index, float shift)
{
    const QList<CurveDescriptor> descriptors = descriptorsOf(type);
    const float xMin = descriptors.isEmpty() ? 0.0f : descriptors[index].xMin;
    const float xMax = descriptors.isEmpty() ? 10.0f : descriptors[index].xMax;
    const float step = (xMax - xMin) / (ResponseCurve::pointCount - 1);
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        curve.points[i] = {xMin + i * step, 95.1f - i * 3.7f - shift};
}

// Gives every field of the effect a value different from its default, within the range its
// editor offers.
void setEveryField(EffectSettingsBase& e, int type)
{
    e.active = true;
    if (auto* s = dynamic_cast<TotalEffectStrengthSettingsAddon*>(&e))
        s->total_effect_strength = 73;
    if (auto* d = dynamic_cast<DampeningContributionSettingsAddon*>(&e))
        d->dampening_contribution = 41;
    if (auto* c = dynamic_cast<SingleCurveSettingsAddon*>(&e))
        setCurve(c->curve1, type, 0, 0.5f);
    if (auto* c = dynamic_cast<DualCurveSettingsAddon*>(&e))
        setCurve(c->curve2, type, 1, 0.25f);
    if (auto* f = dynamic_cast<FixedFrequencySettingsAddon*>(&e)) {
        f->base_frequency = 7;
        f->frequency_mode = 1;
    }
    if (auto* v = dynamic_cast<VariableFrequencySettingsAddon*>(&e))
        v->max_frequency = 47;
    if (auto* m = dynamic_cast<FrequencyMultiplierSettingsAddon*>(&e))
        m->frequency_multiplier = 3;

    if (type == EffectsProfile::EFFECT_TYPE_SMART_DAMPER) {
        auto& damper = static_cast<SmartDamperSettings&>(e);
        damper.static_dampening = 12.3f;
        damper.dynamic_dampening = 0.7f;
    } else if (type == EffectsProfile::EFFECT_TYPE_DIRECT_X_FFB) {
        auto& directX = static_cast<DirectXSettings&>(e);
        directX.trimmer = 20;
        directX.force = 55;
        directX.periodic = 90;
    } else if (type == EffectsProfile::EFFECT_TYPE_TRIM) {
        auto& trim = static_cast<TrimSettings&>(e);
        trim.trim_buttons_allowed = false;
        trim.force_release_allowed = true;
        trim.trim_reset_allowed = false;
    } else if (type == EffectsProfile::EFFECT_TYPE_GUNFIRE_SHAKER) {
        auto& gunfire = static_cast<GunfireShakerSettings&>(e);
        for (int k = 0; k < GunfireShakerSettings::gunCount; ++k) {
            gunfire.gunfire[k].active = k % 2 == 0;
            gunfire.gunfire[k].total_effect_strength = 10 * k + 3;
            gunfire.gunfire[k].base_frequency = 11 + k;
            gunfire.gunfire[k].frequency_mode = k % 2;
        }
    }
}

// The defaults of every building block the effect is made of, whatever effect it serves.
void compareBuildingBlockDefaults(const EffectSettingsBase& e)
{
    QCOMPARE(e.active, false);
    if (auto* s = dynamic_cast<const TotalEffectStrengthSettingsAddon*>(&e))
        QCOMPARE(s->total_effect_strength, 0);
    if (auto* d = dynamic_cast<const DampeningContributionSettingsAddon*>(&e))
        QCOMPARE(d->dampening_contribution, 0);
    if (auto* f = dynamic_cast<const FixedFrequencySettingsAddon*>(&e)) {
        QCOMPARE(f->base_frequency, 20);
        QCOMPARE(f->frequency_mode, 0);
    }
    if (auto* v = dynamic_cast<const VariableFrequencySettingsAddon*>(&e))
        QCOMPARE(v->max_frequency, 40);
    if (auto* m = dynamic_cast<const FrequencyMultiplierSettingsAddon*>(&e))
        QCOMPARE(m->frequency_multiplier, 1);
}

void compareCurve(const ResponseCurve& curve, const Points& expected)
{
    QVERIFY(curve.set);
    QCOMPARE(expected.size(), ResponseCurve::pointCount);
    for (int i = 0; i < ResponseCurve::pointCount; ++i) {
        QVERIFY2(qAbs(curve.points[i].in - expected[i].x()) < 1e-4, qPrintable(QString::number(i)));
        QVERIFY2(qAbs(curve.points[i].out - expected[i].y()) < 1e-4, qPrintable(QString::number(i)));
    }
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

// One object of every composite base, including those that no effect of the axis record uses.
struct Composites
{
    SimpleEffectSettings simple;
    SingleCurveEffectSettings singleCurve;
    SpringWithSingleCurveSettings spring;
    ShakerWithFixedFrequencySettings fixedShaker;
    ShakerWithVariableFrequencySettings variableShaker;
    ShakerWithSingleCurveAndFixedFrequencySettings singleCurveFixedShaker;
    ShakerWithSingleCurveAndVariableFrequencySettings singleCurveVariableShaker;
    ShakerWithDualCurveAndFixedFrequencySettings dualCurveFixedShaker;
    ShakerWithDualCurveAndVariableFrequencySettings dualCurveVariableShaker;
    RPMShakerSettings rpmShaker;
};

EffectSettingsBase& compositeOf(Composites& c, const QString& name)
{
    if (name == "SimpleEffectSettings") return c.simple;
    if (name == "SingleCurveEffectSettings") return c.singleCurve;
    if (name == "SpringWithSingleCurveSettings") return c.spring;
    if (name == "ShakerWithFixedFrequencySettings") return c.fixedShaker;
    if (name == "ShakerWithVariableFrequencySettings") return c.variableShaker;
    if (name == "ShakerWithSingleCurveAndFixedFrequencySettings") return c.singleCurveFixedShaker;
    if (name == "ShakerWithSingleCurveAndVariableFrequencySettings") return c.singleCurveVariableShaker;
    if (name == "ShakerWithDualCurveAndFixedFrequencySettings") return c.dualCurveFixedShaker;
    if (name == "ShakerWithDualCurveAndVariableFrequencySettings") return c.dualCurveVariableShaker;
    if (name == "RPMShakerSettings") return c.rpmShaker;
    qFatal("no composite %s", qPrintable(name));
}

QJsonObject ownJson(const EffectSettingsBase& e)
{
    QJsonObject object;
    e.toJson(object);
    return object;
}

}

class TestEffectCatalogue : public QObject
{
    Q_OBJECT

private slots:
    void catalogue_data();

    void constructionEqualsDefaults_data() { catalogue_data(); }
    void constructionEqualsDefaults();
    void defaultsAreTheCatalogueValues_data() { catalogue_data(); }
    void defaultsAreTheCatalogueValues();
    void missingOrMistypedMemberResets_data() { catalogue_data(); }
    void missingOrMistypedMemberResets();
    void writesExactlyItsMembersOnlyWhileActive_data() { catalogue_data(); }
    void writesExactlyItsMembersOnlyWhileActive();
    void everyFieldRoundTrips_data() { catalogue_data(); }
    void everyFieldRoundTrips();
    void readingThroughAnyBuildingBlockNeverResets_data() { catalogue_data(); }
    void readingThroughAnyBuildingBlockNeverResets();
    void descriptorsMatchCatalogue_data() { catalogue_data(); }
    void descriptorsMatchCatalogue();

    void emptyEffectObjectKeepsCurves();
    void fractionalIntegerMembersReadAsFallback();
    void hugeDampeningIsHeldWithinTheSpinnerRange();
    void smartDamperMissingMemberKeepsDampening();
    void trimFlagsMissingFromObjectReadFalse();
    void gunfireReadsElementsInPlace_data();
    void gunfireReadsElementsInPlace();
    void gunfireWritesAllFiveGuns();
    void misspelledKeysAreNotRead_data();
    void misspelledKeysAreNotRead();

    void effectTypesKeepTheirNumbers_data();
    void effectTypesKeepTheirNumbers();
    void compositeBasesReadAndWriteFlatMembers_data();
    void compositeBasesReadAndWriteFlatMembers();
};

void TestEffectCatalogue::catalogue_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("members");
    QTest::addColumn<Points>("curve1");
    QTest::addColumn<Points>("curve2");
    QTest::addColumn<Descriptors>("descriptors");

    using P = EffectsProfile;
    const Points none;
    const Points aoaOnset = literal({0, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30}, {0, 0, 1, 9, 25, 49, 70, 86, 94, 98, 100});
    const Points liftPeak = literal({0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}, {0, 0, 6, 30, 100, 30, 6, 0, 0, 0, 0});
    const Points descendAngle = literal({0, 9, 18, 27, 36, 45, 54, 63, 72, 81, 90},
                                        {0, 15, 31, 45.3, 58.8, 70.7, 80.9, 89.1, 95.1, 98.7, 100});
    const Points engineRpm = literal({0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 3000}, {0, 0, 6, 30, 100, 30, 6, 0, 0, 0, 0});
    const Points rotorRpm = literal({0, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500}, {0, 0, 6, 30, 100, 30, 6, 0, 0, 0, 0});
    const auto row = [](int type, const char* key, const QStringList& members, const Points& c1, const Points& c2,
                        const Descriptors& d) {
        QTest::newRow(key) << type << QString(key) << members << c1 << c2 << d;
    };

    row(P::EFFECT_TYPE_SMART_DAMPER, "smart_damper", simpleMembers + QStringList{"static_dampening", "dynamic_dampening"}, none, none, {});
    row(P::EFFECT_TYPE_DIRECT_X_FFB, "direct_x", simpleMembers + QStringList{"trimmer", "force", "periodic"}, none, none, {});
    row(P::EFFECT_TYPE_AIRSPEED_SPRING, "airspeed_spring", springMembers, squareLaw0To1000(), none,
        {desc("Spring strength depending on speed", "Speed (km/h)", 0, 1000)});
    row(P::EFFECT_TYPE_PROP_THRUST_SPRING, "prop_thrust_spring", springMembers, identity0To100(), none,
        {desc("Spring strength dependency on propeller thrust", "Thrust (%)", 0, 100)});
    row(P::EFFECT_TYPE_AOA_SPRING, "aoa_spring", springMembers, byRule(0, 3, [](double x) { return x * 10 / 3; }), none,
        {desc("Spring strength dependency on AoA", "AoA (degrees)", 0, 30)});
    row(P::EFFECT_TYPE_G_FORCE_SPRING, "g_force_spring", springMembers, linear0To10(), none,
        {desc("Spring strength dependency on GForce", "GForce (g)", 0, 10)});
    row(P::EFFECT_TYPE_SIMPLE_SPRING, "simple_spring", springMembers, byRule(-100, 20, identity), none,
        {desc("Spring strength dependency on control deflection", "Control deflection (%)", -100, 100, "Strength (%)", -100, 100, false)});
    row(P::EFFECT_TYPE_ELEVATOR_WEIGHT, "elevator_weight", simpleMembers, none, none, {});
    row(P::EFFECT_TYPE_LOCAL_AOA, "local_aoa", simpleMembers, none, none, {});
    row(P::EFFECT_TYPE_TURBULENCE, "turbulence", simpleMembers, none, none, {});
    row(P::EFFECT_TYPE_TRIM, "trim", {"active", "trim_buttons_allowed", "force_release_allowed", "trim_reset_allowed"}, none, none, {});
    row(P::EFFECT_TYPE_OVERSPEED_SHAKER, "overspeed_shaker", singleCurveFixedMembers, squareLaw0To1000(), none,
        {desc("Shaker strength depending on speed", "Speed (km/h)", 0, 1000)});
    row(P::EFFECT_TYPE_OVERG_SHAKER, "over_g_shaker", singleCurveFixedMembers, byRule(0, 1, [](double x) { return x * x; }), none,
        {desc("Shaker strength depending on GForce", "GForce (G)", 0, 10)});
    row(P::EFFECT_TYPE_AFTERBURNER_SHAKER, "afterburner_shaker", singleCurveFixedMembers, easeOut(100), none,
        {desc("Shaking strength dependency on afterburner state", "Afterburner (%)", 0, 100)});
    row(P::EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER, "on_ground_shaker", singleCurveVariableMembers, easeOut(250), none,
        {desc("Shaker strength depending on ground speed", "Speed (km/h)", 0, 250)});
    row(P::EFFECT_TYPE_GUNFIRE_SHAKER, "gunfire_shaker", {"active", "gunfire"}, none, none, {});
    row(P::EFFECT_TYPE_AOA_SHAKER, "aoa_shaker", dualCurveVariableMembers, easeOut(500), aoaOnset,
        {speedDesc(500), desc("Shaking strength dependency on AoA", "AoA (degrees)", 0, 30)});
    row(P::EFFECT_TYPE_GEAR_SHAKER, "gear_shaker", dualCurveVariableMembers, easeOut(500), identity0To100(),
        {speedDesc(500), desc("Shaking strength dependency on gear state", "Gear (%)", 0, 100)});
    row(P::EFFECT_TYPE_FLAPS_SHAKER, "flaps_shaker", dualCurveVariableMembers, easeOut(500), identity0To100(),
        {speedDesc(500), desc("Shaking strength dependency on flaps state", "Flaps (%)", 0, 100)});
    row(P::EFFECT_TYPE_AIRBRAKES_SHAKER, "airbrake_shaker", dualCurveVariableMembers, easeOut(500), identity0To100(),
        {speedDesc(500), desc("Shaking strength dependency on airbrake state", "Airbrake (%)", 0, 100)});
    row(P::EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER, "gear_jolt", fixedShakerMembers, none, none, {});
    row(P::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER, "countermeasuers_jolt", fixedShakerMembers, none, none, {});
    row(P::EFFECT_TYPE_DAMAGE_JOLT_SHAKER, "damage_jolt", singleCurveFixedMembers, identity0To100(), none,
        {desc("Shaking strength dependency on damage received", "Damage received (%)", 0, 100)});
    row(P::EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER, "weapon_release_jolt", singleCurveFixedMembers,
        byRule(0, 100, [](double x) { return x / 10; }), none,
        {desc("Shaking strength dependency on released weight", "Released weight (kg)", 0, 1000)});
    row(P::EFFECT_TYPE_LANDING_JOLT_SHAKER, "landing_jolt", dualCurveVariableMembers, easeOut(250), linear0To10(),
        {speedDesc(250), desc("Shaking strength dependency on descend speed", "Descend speed (m/s)", 0, 10)});
    row(P::EFFECT_TYPE_ETL_SHAKER, "lift_shimmy_shaker", singleCurveFixedMembers, liftPeak, none, {speedDesc(100)});
    row(P::EFFECT_TYPE_VORTEX_STATE_SHAKER, "vorterx_state_shaker", dualCurveVariableMembers, descendAngle, linear0To10(),
        {desc("Shaking strength dependency on descend angle", "Descend angle (degrees)", 0, 90),
         desc("Shaking strength dependency on descend speed", "Descend speed (m/s)", 0, 10)});
    row(P::EFFECT_TYPE_GENERIC_SHAKER, "generic_shaker", singleCurveFixedMembers, identity0To100(), none,
        {desc("Mapping of shaking magnitude", "In (%)", 0, 100, "Out (%)")});
    row(P::EFFECT_TYPE_MAIN_ROTOR_SHAKER, "rotor_shaker", rpmMembers, rotorRpm, none,
        {desc("Shaking strength dependency on main rotor RPM", "Rotor RPM (RPM)", 0, 500)});
    row(P::EFFECT_TYPE_ENGINE_SHAKER, "engine_shaker", rpmMembers, engineRpm, none,
        {desc("Shaking strength dependency on engine RPM", "Engine RPM (RPM)", 0, 3000, "Strength (%)", 0, 100, false)});
}

void TestEffectCatalogue::constructionEqualsDefaults()
{
    QFETCH(int, type);
    const AxisEffectsSettings constructed;
    AxisEffectsSettings reset;
    setEveryField(effectOf(reset, type), type);
    QVERIFY(reset != constructed);
    effectOf(reset, type).setDefaults(); // virtual: the most derived defaults must run
    QVERIFY(reset == constructed);
}

void TestEffectCatalogue::defaultsAreTheCatalogueValues()
{
    QFETCH(int, type);
    QFETCH(Points, curve1);
    QFETCH(Points, curve2);
    AxisEffectsSettings axis;
    EffectSettingsBase& e = effectOf(axis, type);
    setEveryField(e, type);
    e.setDefaults();

    compareBuildingBlockDefaults(e);
    if (QTest::currentTestFailed())
        return;

    auto* single = dynamic_cast<SingleCurveSettingsAddon*>(&e);
    auto* dual = dynamic_cast<DualCurveSettingsAddon*>(&e);
    QCOMPARE(single != nullptr, !curve1.isEmpty());
    QCOMPARE(dual != nullptr, !curve2.isEmpty());
    if (single)
        compareCurve(single->curve1, curve1);
    if (dual)
        compareCurve(dual->curve2, curve2);

    if (type == EffectsProfile::EFFECT_TYPE_SMART_DAMPER) {
        QCOMPARE(axis.smartDamper.static_dampening, 0.0f);
        QCOMPARE(axis.smartDamper.dynamic_dampening, 0.0f);
    } else if (type == EffectsProfile::EFFECT_TYPE_DIRECT_X_FFB) {
        QCOMPARE(axis.directX.trimmer, 0);
        QCOMPARE(axis.directX.force, 0);
        QCOMPARE(axis.directX.periodic, 0);
    } else if (type == EffectsProfile::EFFECT_TYPE_TRIM) {
        QVERIFY(axis.trim.trim_buttons_allowed && axis.trim.force_release_allowed && axis.trim.trim_reset_allowed);
    } else if (type == EffectsProfile::EFFECT_TYPE_GUNFIRE_SHAKER) {
        for (const ShakerWithFixedFrequencySettings& gun : axis.gunfireShaker.gunfire) {
            QCOMPARE(gun.active, true);
            QCOMPARE(gun.total_effect_strength, 0);
            QCOMPARE(gun.base_frequency, 20);
            QCOMPARE(gun.frequency_mode, 0);
        }
    }
}

void TestEffectCatalogue::missingOrMistypedMemberResets()
{
    QFETCH(int, type);
    QFETCH(QString, key);
    const QList<QJsonValue> notObjects = {QJsonValue(), QJsonValue(true), QJsonValue(3), QJsonValue("x"), QJsonArray()};
    for (const QJsonValue& value : notObjects) {
        AxisEffectsSettings axis;
        setEveryField(effectOf(axis, type), type);
        AxisEffectsSettings expected;
        // The one exception: a missing damper keeps its two dampening values.
        expected.smartDamper.static_dampening = axis.smartDamper.static_dampening;
        expected.smartDamper.dynamic_dampening = axis.smartDamper.dynamic_dampening;

        QJsonObject axisObject;
        if (!value.isNull())
            axisObject.insert(key, value);
        axis.fromJson(axisObject);
        QVERIFY2(axis == expected, qPrintable(QJsonDocument(axisObject).toJson(QJsonDocument::Compact)));
    }
}

void TestEffectCatalogue::writesExactlyItsMembersOnlyWhileActive()
{
    QFETCH(int, type);
    QFETCH(QString, key);
    QFETCH(QStringList, members);
    AxisEffectsSettings axis;
    QCOMPARE(axis.toJson(), QJsonObject());

    effectOf(axis, type).active = true;
    const QJsonObject written = axis.toJson();
    QCOMPARE(written.keys(), QStringList{key});
    QVERIFY(written.value(key).isObject());
    const QJsonObject member = written.value(key).toObject();
    QCOMPARE(sorted(member.keys()), sorted(members));
    QCOMPARE(member.value("active"), QJsonValue(true));
}

void TestEffectCatalogue::everyFieldRoundTrips()
{
    QFETCH(int, type);
    AxisEffectsSettings source;
    setEveryField(effectOf(source, type), type);

    AxisEffectsSettings inMemory;
    inMemory.fromJson(source.toJson());
    QVERIFY(inMemory == source);

    // Through the text form too, as a profile file carries it.
    const QByteArray text = QJsonDocument(source.toJson()).toJson();
    AxisEffectsSettings fromText;
    fromText.fromJson(QJsonDocument::fromJson(text).object());
    QVERIFY2(fromText == source, text.constData());
}

void TestEffectCatalogue::readingThroughAnyBuildingBlockNeverResets()
{
    QFETCH(int, type);
    QFETCH(QString, key);
    AxisEffectsSettings source;
    setEveryField(effectOf(source, type), type);
    const QJsonObject own = source.toJson().value(key).toObject();

    const auto readVia = [&](const std::function<JsonCompatibleSettings*(EffectSettingsBase&)>& view) {
        AxisEffectsSettings target;
        JsonCompatibleSettings* block = view(effectOf(target, type));
        if (!block)
            return;
        block->fromJson(own); // a virtual call of a building block's operation
        QVERIFY(target == source);
        QJsonObject rewritten;
        block->toJson(rewritten);
        QCOMPARE(rewritten, own);
    };
    readVia([](EffectSettingsBase& e) { return static_cast<JsonCompatibleSettings*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<TotalEffectStrengthSettingsAddon*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<DampeningContributionSettingsAddon*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<SingleCurveSettingsAddon*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<DualCurveSettingsAddon*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<FixedFrequencySettingsAddon*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<VariableFrequencySettingsAddon*>(&e); });
    readVia([](EffectSettingsBase& e) { return dynamic_cast<FrequencyMultiplierSettingsAddon*>(&e); });
}

void TestEffectCatalogue::descriptorsMatchCatalogue()
{
    QFETCH(int, type);
    QFETCH(Descriptors, descriptors);
    const QList<CurveDescriptor> actual = descriptorsOf(type);
    QCOMPARE(actual.size(), descriptors.size());
    for (int i = 0; i < actual.size(); ++i) {
        const CurveDescriptor& a = actual[i];
        const ExpectedDescriptor& e = descriptors[i];
        QCOMPARE(a.title, e.title);
        QCOMPARE(a.xLabel, e.xLabel);
        QCOMPARE(a.yLabel, e.yLabel);
        QCOMPARE(a.xMin, e.xMin);
        QCOMPARE(a.xMax, e.xMax);
        QCOMPARE(a.yMin, e.yMin);
        QCOMPARE(a.yMax, e.yMax);
        QCOMPARE(a.referenceLevel, 0.0f);
        QCOMPARE(a.referenceVisible, false);
        QCOMPARE(a.firstOutput, 0.0f);
        QCOMPARE(a.firstOutputFixed, e.firstOutputFixed);
        QVERIFY(a.curve == ResponseCurve());
    }
}

void TestEffectCatalogue::emptyEffectObjectKeepsCurves()
{
    AxisEffectsSettings axis;
    setEveryField(axis.airspeedSpring, EffectsProfile::EFFECT_TYPE_AIRSPEED_SPRING);
    setEveryField(axis.landingJolt, EffectsProfile::EFFECT_TYPE_LANDING_JOLT_SHAKER);
    const ResponseCurve springCurve = axis.airspeedSpring.curve1;
    const ResponseCurve joltCurve2 = axis.landingJolt.curve2;

    axis.fromJson(QJsonDocument::fromJson(R"({"airspeed_spring": {}, "landing_jolt": {"active": true}})").object());
    QCOMPARE(axis.airspeedSpring.active, false);
    QCOMPARE(axis.airspeedSpring.total_effect_strength, 0);
    QCOMPARE(axis.airspeedSpring.dampening_contribution, 0);
    QVERIFY(axis.airspeedSpring.curve1 == springCurve);
    QCOMPARE(axis.landingJolt.active, true);
    QCOMPARE(axis.landingJolt.base_frequency, 20);
    QCOMPARE(axis.landingJolt.max_frequency, 40);
    QVERIFY(axis.landingJolt.curve2 == joltCurve2);
}

void TestEffectCatalogue::fractionalIntegerMembersReadAsFallback()
{
    AxisEffectsSettings axis;
    axis.fromJson(QJsonDocument::fromJson(R"({
        "direct_x": {"active": true, "force": 12.5, "trimmer": 4, "periodic": 1e12},
        "gear_jolt": {"active": true, "base_frequency": 12.5, "total_effect_strength": 2147483648}
    })").object());
    QCOMPARE(axis.directX.force, 0);
    QCOMPARE(axis.directX.trimmer, 4);
    QCOMPARE(axis.directX.periodic, 0);
    QCOMPARE(axis.gearExtractionJolt.base_frequency, 20);
    QCOMPARE(axis.gearExtractionJolt.total_effect_strength, 0);
}

void TestEffectCatalogue::hugeDampeningIsHeldWithinTheSpinnerRange()
{
    AxisEffectsSettings axis;
    axis.fromJson(QJsonDocument::fromJson(
        R"({"smart_damper": {"active": true, "static_dampening": 1e300, "dynamic_dampening": -1e39}})").object());
    QCOMPARE(axis.smartDamper.static_dampening, 1000.0f);
    QCOMPARE(axis.smartDamper.dynamic_dampening, 0.0f);
}

void TestEffectCatalogue::smartDamperMissingMemberKeepsDampening()
{
    AxisEffectsSettings axis;
    axis.smartDamper.active = true;
    axis.smartDamper.total_effect_strength = 60;
    axis.smartDamper.static_dampening = 30;
    axis.fromJson(QJsonObject());
    QCOMPARE(axis.smartDamper.active, false);
    QCOMPARE(axis.smartDamper.total_effect_strength, 0);
    QCOMPARE(axis.smartDamper.static_dampening, 30.0f);
    axis.smartDamper.setDefaults();
    QCOMPARE(axis.smartDamper.static_dampening, 0.0f);
}

void TestEffectCatalogue::trimFlagsMissingFromObjectReadFalse()
{
    AxisEffectsSettings axis;
    axis.fromJson(QJsonDocument::fromJson(R"({"trim": {"active": true, "force_release_allowed": 1}})").object());
    QCOMPARE(axis.trim.active, true);
    QCOMPARE(axis.trim.trim_buttons_allowed, false);
    QCOMPARE(axis.trim.force_release_allowed, false);
    QCOMPARE(axis.trim.trim_reset_allowed, false);

    axis.fromJson(QJsonObject());
    QCOMPARE(axis.trim.active, false);
    QVERIFY(axis.trim.trim_buttons_allowed && axis.trim.force_release_allowed && axis.trim.trim_reset_allowed);
}

void TestEffectCatalogue::gunfireReadsElementsInPlace_data()
{
    QTest::addColumn<QByteArray>("member");
    QTest::addColumn<QList<int>>("strengths");  // per gun after reading; -1 = kept its old value
    QTest::addColumn<QList<int>>("frequencies");
    QTest::newRow("one element") << QByteArray(R"({"active": true, "gunfire": [{"active": true, "total_effect_strength": 80}]})")
                                 << QList<int>{80, -1, -1, -1, -1} << QList<int>{20, -1, -1, -1, -1};
    QTest::newRow("no array") << QByteArray(R"({"active": true})")
                              << QList<int>{-1, -1, -1, -1, -1} << QList<int>{-1, -1, -1, -1, -1};
    QTest::newRow("not an array") << QByteArray(R"({"active": true, "gunfire": {"total_effect_strength": 5}})")
                                  << QList<int>{-1, -1, -1, -1, -1} << QList<int>{-1, -1, -1, -1, -1};
    QTest::newRow("non-object elements keep")
        << QByteArray(R"({"active": true, "gunfire": [7, null, {"base_frequency": 9}, "x", []]})")
        << QList<int>{-1, -1, 0, -1, -1} << QList<int>{-1, -1, 9, -1, -1};
    QTest::newRow("extra elements ignored")
        << QByteArray(R"({"active": true, "gunfire": [{}, {}, {}, {}, {"total_effect_strength": 5}, {"total_effect_strength": 6}]})")
        << QList<int>{0, 0, 0, 0, 5} << QList<int>{20, 20, 20, 20, 20};
}

void TestEffectCatalogue::gunfireReadsElementsInPlace()
{
    QFETCH(QByteArray, member);
    QFETCH(QList<int>, strengths);
    QFETCH(QList<int>, frequencies);
    AxisEffectsSettings axis;
    setEveryField(axis.gunfireShaker, EffectsProfile::EFFECT_TYPE_GUNFIRE_SHAKER);
    const GunfireShakerSettings before = axis.gunfireShaker;

    axis.fromJson(QJsonDocument::fromJson("{\"gunfire_shaker\": " + member + "}").object());
    QCOMPARE(axis.gunfireShaker.active, true);
    for (int k = 0; k < GunfireShakerSettings::gunCount; ++k) {
        const ShakerWithFixedFrequencySettings& gun = axis.gunfireShaker.gunfire[k];
        if (strengths[k] < 0) {
            QVERIFY(gun == before.gunfire[k]);
            continue;
        }
        QCOMPARE(gun.total_effect_strength, strengths[k]);
        QCOMPARE(gun.base_frequency, frequencies[k]);
        QCOMPARE(gun.frequency_mode, 0);
    }
}

void TestEffectCatalogue::gunfireWritesAllFiveGuns()
{
    AxisEffectsSettings axis;
    axis.gunfireShaker.active = true;
    for (ShakerWithFixedFrequencySettings& gun : axis.gunfireShaker.gunfire)
        gun.active = false;
    const QJsonArray guns = axis.toJson().value("gunfire_shaker").toObject().value("gunfire").toArray();
    QCOMPARE(guns.size(), 5);
    for (const QJsonValue& gun : guns)
        QCOMPARE(sorted(gun.toObject().keys()), sorted(fixedShakerMembers));
}

void TestEffectCatalogue::misspelledKeysAreNotRead_data()
{
    QTest::addColumn<QString>("wrongKey");
    QTest::addColumn<int>("type");
    QTest::newRow("countermeasures") << "countermeasures_jolt" << int(EffectsProfile::EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER);
    QTest::newRow("vortex") << "vortex_state_shaker" << int(EffectsProfile::EFFECT_TYPE_VORTEX_STATE_SHAKER);
}

void TestEffectCatalogue::misspelledKeysAreNotRead()
{
    QFETCH(QString, wrongKey);
    QFETCH(int, type);
    AxisEffectsSettings axis;
    QJsonObject member{{"active", true}, {"total_effect_strength", 70}};
    axis.fromJson(QJsonObject{{wrongKey, member}});
    QVERIFY(axis == AxisEffectsSettings());
    QCOMPARE(effectOf(axis, type).active, false);
}

void TestEffectCatalogue::effectTypesKeepTheirNumbers_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("enumerator");
    const char* const names[] = {
        "EFFECT_TYPE_SMART_DAMPER", "EFFECT_TYPE_DIRECT_X_FFB", "EFFECT_TYPE_AIRSPEED_SPRING",
        "EFFECT_TYPE_PROP_THRUST_SPRING", "EFFECT_TYPE_AOA_SPRING", "EFFECT_TYPE_G_FORCE_SPRING",
        "EFFECT_TYPE_SIMPLE_SPRING", "EFFECT_TYPE_ELEVATOR_WEIGHT", "EFFECT_TYPE_LOCAL_AOA", "EFFECT_TYPE_TURBULENCE",
        "EFFECT_TYPE_TRIM", "EFFECT_TYPE_OVERSPEED_SHAKER", "EFFECT_TYPE_OVERG_SHAKER", "EFFECT_TYPE_AFTERBURNER_SHAKER",
        "EFFECT_TYPE_ON_GROUND_ROLLING_SHAKER", "EFFECT_TYPE_GUNFIRE_SHAKER", "_deprecated_0", "EFFECT_TYPE_AOA_SHAKER",
        "EFFECT_TYPE_GEAR_SHAKER", "EFFECT_TYPE_FLAPS_SHAKER", "EFFECT_TYPE_AIRBRAKES_SHAKER",
        "EFFECT_TYPE_GEAR_EXTRACTION_JOLT_SHAKER", "EFFECT_TYPE_COUNTERMEASURES_JOLT_SHAKER",
        "EFFECT_TYPE_DAMAGE_JOLT_SHAKER", "EFFECT_TYPE_WEAPON_RELEASE_JOLT_SHAKER", "EFFECT_TYPE_LANDING_JOLT_SHAKER",
        "EFFECT_TYPE_ETL_SHAKER", "EFFECT_TYPE_VORTEX_STATE_SHAKER", "_deprecated_1", "EFFECT_TYPE_GENERIC_SHAKER",
        "EFFECT_TYPE_MAIN_ROTOR_SHAKER", "EFFECT_TYPE_ENGINE_SHAKER",
    };
    for (int number = 0; number < int(std::size(names)); ++number)
        QTest::newRow(names[number]) << number << QByteArray(names[number]);
}

// The editor pages effects by these numbers, so a renumbered or renamed enumerator breaks it.
void TestEffectCatalogue::effectTypesKeepTheirNumbers()
{
    QFETCH(int, number);
    QFETCH(QByteArray, enumerator);
    const QMetaEnum types = QMetaEnum::fromType<EffectsProfile::EffectType>();
    QCOMPARE(types.keyCount(), 32);
    QVERIFY(!types.isFlag());
    QCOMPARE(QByteArray(types.valueToKey(number)), enumerator);
}

void TestEffectCatalogue::compositeBasesReadAndWriteFlatMembers_data()
{
    QTest::addColumn<QString>("composite");
    QTest::addColumn<QStringList>("members");
    QTest::newRow("simple") << "SimpleEffectSettings" << simpleMembers;
    QTest::newRow("single curve") << "SingleCurveEffectSettings" << QStringList{"active", "total_effect_strength", "curve1"};
    QTest::newRow("spring") << "SpringWithSingleCurveSettings" << springMembers;
    QTest::newRow("fixed shaker") << "ShakerWithFixedFrequencySettings" << fixedShakerMembers;
    QTest::newRow("variable shaker") << "ShakerWithVariableFrequencySettings" << fixedShakerMembers + QStringList{"max_frequency"};
    QTest::newRow("single curve, fixed") << "ShakerWithSingleCurveAndFixedFrequencySettings" << singleCurveFixedMembers;
    QTest::newRow("single curve, variable") << "ShakerWithSingleCurveAndVariableFrequencySettings" << singleCurveVariableMembers;
    QTest::newRow("dual curve, fixed") << "ShakerWithDualCurveAndFixedFrequencySettings" << singleCurveFixedMembers + QStringList{"curve2"};
    QTest::newRow("dual curve, variable") << "ShakerWithDualCurveAndVariableFrequencySettings" << dualCurveVariableMembers;
    QTest::newRow("rpm") << "RPMShakerSettings" << rpmMembers;
}

void TestEffectCatalogue::compositeBasesReadAndWriteFlatMembers()
{
    QFETCH(QString, composite);
    QFETCH(QStringList, members);
    Composites constructed;
    const QJsonObject constructedJson = ownJson(compositeOf(constructed, composite));

    // Defaults: the addon defaults and generic curves, the same as on construction.
    Composites c;
    EffectSettingsBase& e = compositeOf(c, composite);
    setEveryField(e, -1);
    const QJsonObject everyField = ownJson(e);
    QCOMPARE(sorted(everyField.keys()), sorted(members));
    e.setDefaults();
    compareBuildingBlockDefaults(e);
    if (QTest::currentTestFailed())
        return;
    ResponseCurve generic;
    generic.setPoints(genericCurveTable);
    if (auto* single = dynamic_cast<SingleCurveSettingsAddon*>(&e))
        QVERIFY(single->curve1 == generic);
    if (auto* dual = dynamic_cast<DualCurveSettingsAddon*>(&e))
        QVERIFY(dual->curve2 == generic);
    QCOMPARE(ownJson(e), constructedJson);

    // Every field round-trips through the flat object.
    Composites back;
    compositeOf(back, composite).fromJson(everyField);
    QCOMPARE(ownJson(compositeOf(back, composite)), everyField);

    // Missing members take their fallbacks, a fraction is no whole number, curves stay.
    setEveryField(e, -1);
    const QJsonObject curvesBefore = ownJson(e);
    e.fromJson(QJsonObject{{"active", true}, {"base_frequency", 12.5}});
    const QJsonObject read = ownJson(e);
    QCOMPARE(read.value("active"), QJsonValue(true));
    QCOMPARE(read.value("total_effect_strength"), QJsonValue(0));
    for (const char* key : {"dampening_contribution", "base_frequency", "frequency_mode", "max_frequency",
                            "frequency_multiplier", "curve1", "curve2"}) {
        if (!members.contains(key))
            continue;
        const QJsonValue expected = QString(key).startsWith("curve") ? curvesBefore.value(key)
                                                                     : constructedJson.value(key);
        QVERIFY2(read.value(key) == expected, key);
    }
}

QTEST_GUILESS_MAIN(TestEffectCatalogue)
#include "tst_effectcatalogue.moc"
