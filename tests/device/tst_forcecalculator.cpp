#include "effectssettings.h"
#include "forcecalculator.h"
#include "telemetry.h"

#include <QTest>

#include <climits>
#include <cmath>
#include <limits>

namespace {

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float huge = 1e30f;

// The wave a fresh oscillator (phase 0, last tick 0) adds on its first step at `tick`.
float firstWave(quint64 tick, float frequency, float amplitude)
{
    const quint64 period = quint64(std::max(1.0, std::trunc(1000.0 / frequency)));
    return sineWave(float(tick % (period + 1)) / float(period), amplitude);
}

bool near(float actual, float expected)
{
    return std::fabs(actual - expected) <= 1e-4f * std::max(1.0f, std::fabs(expected));
}

QString describe(const AxisForces& f)
{
    return QStringLiteral("spring %1 constant %2 periodic %3 damper %4")
        .arg(f.spring).arg(f.constant).arg(f.periodic).arg(f.damper);
}

EffectsSettings defaultSettings()
{
    EffectsSettings settings;
    settings.setDefaults();
    return settings;
}

enum Spring { AIRSPEED, PROP_THRUST, AOA, G_FORCE };

SpringWithSingleCurveSettings& springOf(AxisEffectsSettings& axis, int spring)
{
    switch (spring) {
    case AIRSPEED: return axis.airspeedSpring;
    case PROP_THRUST: return axis.propThrustSpring;
    case AOA: return axis.aoaSpring;
    default: return axis.gForceSpring;
    }
}

// Every effect that produces force, active with full strength, on every axis.
void activateEverything(EffectsSettings& settings)
{
    for (AxisEffectsSettings& a : settings.axes) {
        for (int s = AIRSPEED; s <= G_FORCE; ++s) {
            springOf(a, s).active = true;
            springOf(a, s).total_effect_strength = 100;
            springOf(a, s).dampening_contribution = 50;
        }
        a.elevatorWeight.active = true;
        a.elevatorWeight.total_effect_strength = 100;
        EffectSettingsBase* shakers[] = {
            &a.overspeedShaker, &a.overGShaker, &a.afterburnerShaker, &a.onGroundShaker, &a.gunfireShaker,
            &a.aoaShaker, &a.gearShaker, &a.flapsShaker, &a.airbrakeShaker, &a.gearExtractionJolt,
            &a.countermeasuresJolt, &a.damageJolt, &a.weaponReleaseJolt, &a.landingJolt, &a.liftShimmyShaker,
            &a.vortexStateShaker, &a.genericShaker, &a.engineShaker, &a.rotorShaker};
        for (EffectSettingsBase* shaker : shakers)
            shaker->active = true;
        TotalEffectStrengthSettingsAddon* strengths[] = {
            &a.overspeedShaker, &a.overGShaker, &a.afterburnerShaker, &a.onGroundShaker, &a.aoaShaker,
            &a.gearShaker, &a.flapsShaker, &a.airbrakeShaker, &a.gearExtractionJolt, &a.countermeasuresJolt,
            &a.damageJolt, &a.weaponReleaseJolt, &a.landingJolt, &a.liftShimmyShaker, &a.vortexStateShaker,
            &a.genericShaker, &a.engineShaker, &a.rotorShaker};
        for (TotalEffectStrengthSettingsAddon* strength : strengths)
            strength->total_effect_strength = 100;
        for (ShakerWithFixedFrequencySettings& gun : a.gunfireShaker.gunfire)
            gun.total_effect_strength = 100;
    }
}

QList<ResponseCurve*> curvesOf(AxisEffectsSettings& a)
{
    QList<ResponseCurve*> curves;
    for (int s = AIRSPEED; s <= G_FORCE; ++s)
        curves << &springOf(a, s).curve1;
    SingleCurveSettingsAddon* single[] = {
        &a.overspeedShaker, &a.overGShaker, &a.afterburnerShaker, &a.onGroundShaker, &a.damageJolt,
        &a.weaponReleaseJolt, &a.liftShimmyShaker, &a.genericShaker, &a.engineShaker, &a.rotorShaker};
    for (SingleCurveSettingsAddon* s : single)
        curves << &s->curve1;
    DualCurveSettingsAddon* dual[] = {&a.aoaShaker, &a.gearShaker, &a.flapsShaker, &a.airbrakeShaker,
                                      &a.landingJolt, &a.vortexStateShaker};
    for (DualCurveSettingsAddon* d : dual) {
        curves << &d->curve1 << &d->curve2;
    }
    return curves;
}

Telemetry filledTelemetry(float real, qint32 whole)
{
    Telemetry t;
    t.airspeed = real;
    t.verticalSpeed = real;
    t.gForce = real;
    t.aoa = real;
    t.engineRpm = whole;
    t.rotorRpm = whole;
    t.propAirflow = whole;
    t.afterburner = whole;
    t.flaps = whole;
    t.airbrake = whole;
    t.gear = whole;
    t.aileronTrim = real;
    t.elevatorTrim = real;
    t.rudderTrim = real;
    t.shakeMagnitude = whole;
    t.shakeFrequency = whole;
    t.onGround = true;
    for (bool& trigger : t.gunfireTriggers)
        trigger = true;
    return t;
}

} // namespace

class TestForceCalculator : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void noActiveEffectGivesNoForce_data();
    void noActiveEffectGivesNoForce();
    void springAddsItsTermAndDampening_data();
    void springAddsItsTermAndDampening();
    void springsAddUp();
    void elevatorWeightPullsAgainstGForce_data();
    void elevatorWeightPullsAgainstGForce();
    void shakerFollowsItsTelemetry_data();
    void shakerFollowsItsTelemetry();
    void firingGunsShareOnePhase_data();
    void firingGunsShareOnePhase();
    void joltPlaysHundredMillisecondsFromStart_data();
    void joltPlaysHundredMillisecondsFromStart();
    void strongerJoltReplacesRunningOne_data();
    void strongerJoltReplacesRunningOne();
    void joltPlaysOnlyWhereActive();
    void landingJoltSizeAndFrequency_data();
    void landingJoltSizeAndFrequency();
    void sizedJoltsFollowTheirCurve_data();
    void sizedJoltsFollowTheirCurve();
    void indexOutsideAxesGivesNoForce_data();
    void indexOutsideAxesGivesNoForce();
    void hostileInputsKeepEveryOutputFinite_data();
    void hostileInputsKeepEveryOutputFinite();
};

void TestForceCalculator::init()
{
    reseedShakerJitter(1);
}

void TestForceCalculator::noActiveEffectGivesNoForce_data()
{
    QTest::addColumn<Telemetry>("telemetry");
    QTest::newRow("no telemetry") << Telemetry();
    QTest::newRow("flying") << filledTelemetry(300.0f, 50);
    QTest::newRow("extreme") << filledTelemetry(huge, INT_MAX);
}

void TestForceCalculator::noActiveEffectGivesNoForce()
{
    QFETCH(Telemetry, telemetry);
    const EffectsSettings settings = defaultSettings();
    ForceCalculator calculator(nullptr);
    calculator.startCountermeasureJolt(&settings, 1000);
    calculator.startLandingJolt(&settings, 200.0f, -3.0f, 1000);
    for (int axis = 0; axis < 4; ++axis) {
        const AxisForces f = calculator.calculateAxisForces(axis, 1010, 0.0f, &telemetry, &settings);
        QVERIFY2(f.spring == 0.0f && f.constant == 0.0f && f.periodic == 0.0f && f.damper == 0.0f,
                 qPrintable(describe(f)));
    }
}

void TestForceCalculator::springAddsItsTermAndDampening_data()
{
    QTest::addColumn<int>("spring");
    QTest::addColumn<int>("axis");
    QTest::addColumn<float>("input"); // into the telemetry field the spring reads
    QTest::addColumn<float>("firstOutput");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("dampening");
    QTest::addColumn<float>("expectedSpring");
    QTest::addColumn<float>("expectedDamper");
    QTest::newRow("thrust 40, half dampening") << int(PROP_THRUST) << 0 << 40.0f << 0.0f << 100 << 50 << 40.0f << 20.0f;
    QTest::newRow("airspeed square law") << int(AIRSPEED) << 2 << 500.0f << 0.0f << 80 << 25 << 20.0f << 5.0f;
    QTest::newRow("aoa on elevator, magnitude") << int(AOA) << 1 << -15.0f << 10.0f << 100 << 0 << 50.0f << 0.0f;
    QTest::newRow("aoa on ailerons reads 0") << int(AOA) << 0 << 15.0f << 10.0f << 100 << 0 << 10.0f << 0.0f;
    QTest::newRow("aoa on rudder reads 0") << int(AOA) << 2 << 15.0f << 10.0f << 100 << 0 << 10.0f << 0.0f;
    QTest::newRow("aoa on collective reads 0") << int(AOA) << 3 << 15.0f << 10.0f << 100 << 0 << 10.0f << 0.0f;
    QTest::newRow("g-force magnitude") << int(G_FORCE) << 3 << -3.0f << 0.0f << 100 << 100 << 30.0f << 30.0f;
    QTest::newRow("no telemetry gives curve at 0") << int(PROP_THRUST) << 1 << 0.0f << 5.0f << 100 << 0 << 5.0f << 0.0f;
    QTest::newRow("NaN airspeed is no airspeed") << int(AIRSPEED) << 0 << notANumber << 0.0f << 100 << 50 << 0.0f << 0.0f;
    QTest::newRow("infinite airspeed is no airspeed") << int(AIRSPEED) << 0 << infinity << 0.0f << 100 << 50 << 0.0f << 0.0f;
    QTest::newRow("NaN g is no g") << int(G_FORCE) << 0 << notANumber << 0.0f << 100 << 50 << 0.0f << 0.0f;
    QTest::newRow("NaN aoa is no aoa") << int(AOA) << 1 << notANumber << 0.0f << 100 << 50 << 0.0f << 0.0f;
    QTest::newRow("huge airspeed held at last point") << int(AIRSPEED) << 0 << huge << 0.0f << 50 << 0 << 50.0f << 0.0f;
}

void TestForceCalculator::springAddsItsTermAndDampening()
{
    QFETCH(int, spring);
    QFETCH(int, axis);
    QFETCH(float, input);
    QFETCH(float, firstOutput);
    QFETCH(int, strength);
    QFETCH(int, dampening);
    QFETCH(float, expectedSpring);
    QFETCH(float, expectedDamper);

    EffectsSettings settings = defaultSettings();
    SpringWithSingleCurveSettings& s = springOf(settings.axes[axis], spring);
    s.active = true;
    s.total_effect_strength = strength;
    s.dampening_contribution = dampening;
    s.curve1.points[0].out = firstOutput;

    Telemetry t;
    switch (spring) {
    case AIRSPEED: t.airspeed = input; break;
    case PROP_THRUST: t.propAirflow = qint32(input); break;
    case AOA: t.aoa = input; break;
    default: t.gForce = input; break;
    }
    ForceCalculator calculator(nullptr);
    const AxisForces f = calculator.calculateAxisForces(axis, 1000, 0.0f, &t, &settings);
    QVERIFY2(near(f.spring, expectedSpring) && near(f.damper, expectedDamper), qPrintable(describe(f)));
    QCOMPARE(f.constant, 0.0f);
    QCOMPARE(f.periodic, 0.0f);
}

void TestForceCalculator::springsAddUp()
{
    EffectsSettings settings = defaultSettings();
    AxisEffectsSettings& elevator = settings.axes[1];
    for (int s = AIRSPEED; s <= G_FORCE; ++s) {
        springOf(elevator, s).active = true;
        springOf(elevator, s).total_effect_strength = 50;
        springOf(elevator, s).dampening_contribution = 10 * (s + 1);
    }
    Telemetry t;
    t.airspeed = 500.0f; // 25
    t.propAirflow = 40;  // 40
    t.aoa = 15.0f;       // 50
    t.gForce = 2.0f;     // 20
    ForceCalculator calculator(nullptr);
    const AxisForces f = calculator.calculateAxisForces(1, 1000, 0.0f, &t, &settings);
    QVERIFY2(near(f.spring, 0.5f * (25 + 40 + 50 + 20)), qPrintable(describe(f)));
    QVERIFY2(near(f.damper, 0.5f * (25 * 0.1f + 40 * 0.2f + 50 * 0.3f + 20 * 0.4f)), qPrintable(describe(f)));
}

void TestForceCalculator::elevatorWeightPullsAgainstGForce_data()
{
    QTest::addColumn<int>("axis");
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("strength");
    QTest::addColumn<float>("gForce");
    QTest::addColumn<float>("expected");
    QTest::newRow("ailerons") << 0 << true << 50 << 1.0f << -1.0f;
    QTest::newRow("elevator") << 1 << true << 50 << 1.0f << -1.0f;
    QTest::newRow("rudder") << 2 << true << 50 << 1.0f << -1.0f;
    QTest::newRow("collective") << 3 << true << 50 << 1.0f << -1.0f;
    QTest::newRow("negative g pushes") << 1 << true << 100 << -2.0f << 4.0f;
    QTest::newRow("inactive") << 1 << false << 100 << 3.0f << 0.0f;
    QTest::newRow("NaN g") << 1 << true << 100 << notANumber << 0.0f;
    QTest::newRow("infinite g") << 1 << true << 100 << -infinity << 0.0f;
}

void TestForceCalculator::elevatorWeightPullsAgainstGForce()
{
    QFETCH(int, axis);
    QFETCH(bool, active);
    QFETCH(int, strength);
    QFETCH(float, gForce);
    QFETCH(float, expected);
    EffectsSettings settings = defaultSettings();
    settings.axes[axis].elevatorWeight.active = active;
    settings.axes[axis].elevatorWeight.total_effect_strength = strength;
    Telemetry t;
    t.gForce = gForce;
    ForceCalculator calculator(nullptr);
    const AxisForces f = calculator.calculateAxisForces(axis, 1000, 0.0f, &t, &settings);
    QVERIFY2(near(f.constant, expected), qPrintable(describe(f)));
    QCOMPARE(f.spring, 0.0f);
    QCOMPARE(f.periodic, 0.0f);
}

void TestForceCalculator::shakerFollowsItsTelemetry_data()
{
    QTest::addColumn<QString>("shaker");
    QTest::addColumn<Telemetry>("telemetry");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");

    Telemetry t;
    t.airspeed = 500.0f;
    QTest::newRow("overspeed by airspeed") << "overspeed" << t << 20.0f << 2.5f;
    t = Telemetry();
    t.gForce = 5.0f;
    QTest::newRow("over-G by g") << "overG" << t << 20.0f << 2.5f;
    t.gForce = -5.0f;
    QTest::newRow("over-G signed") << "overG" << t << 20.0f << 0.0f;
    t = Telemetry();
    t.afterburner = 50;
    QTest::newRow("afterburner") << "afterburner" << t << 20.0f << 7.5f;
    t = Telemetry();
    t.airspeed = 125.0f;
    t.onGround = true;
    QTest::newRow("rolling on the ground") << "onGround" << t << 30.0f << 7.5f;
    t.onGround = false;
    QTest::newRow("airborne: no rolling") << "onGround" << t << 0.0f << 0.0f;
    t = Telemetry();
    t.airspeed = 250.0f;
    t.aoa = 20.0f;
    QTest::newRow("aoa shaker") << "aoa" << t << 30.0f << 0.75f * 0.49f * 10.0f;
    t.aoa = -20.0f;
    QTest::newRow("aoa shaker signed") << "aoa" << t << 30.0f << 0.0f;
    t = Telemetry();
    t.airspeed = 250.0f;
    t.gear = 40;
    t.flaps = 60;
    t.airbrake = 80;
    QTest::newRow("gear") << "gear" << t << 30.0f << 3.0f;
    QTest::newRow("flaps") << "flaps" << t << 30.0f << 4.5f;
    QTest::newRow("airbrake") << "airbrake" << t << 30.0f << 6.0f;
    t = Telemetry();
    t.airspeed = 40.0f;
    QTest::newRow("lift shimmy") << "liftShimmy" << t << 20.0f << 10.0f;
    t = Telemetry();
    t.verticalSpeed = -5.0f;
    t.airspeed = 5.0f;
    // Descend-angle curve at 45.02 degrees, between (45, 70.7) and (54, 80.9); descent curve at 5.
    const float angle = float(std::atan2(5.0, 5.0) * 180.0 / 3.14);
    const float angleOutput = 70.7f + (angle - 45.0f) * (80.9f - 70.7f) / 9.0f;
    QTest::newRow("vortex state") << "vortexState" << t << 30.0f << angleOutput / 100.0f * 0.5f * 10.0f;
    t = Telemetry();
    t.shakeMagnitude = 60;
    t.shakeFrequency = 50;
    QTest::newRow("generic") << "generic" << t << 20.0f << 6.0f;
    t = Telemetry();
    t.rotorRpm = 200;
    t.engineRpm = 400;
    QTest::newRow("rotor by rotor rpm") << "rotor" << t << 200.0f / 60.0f << 10.0f;
    QTest::newRow("engine by engine rpm") << "engine" << t << 400.0f / 60.0f << 10.0f;
    t = Telemetry();
    t.airspeed = notANumber;
    t.onGround = true;
    QTest::newRow("NaN ground speed") << "onGround" << t << 20.0f << 0.0f;
}

void TestForceCalculator::shakerFollowsItsTelemetry()
{
    QFETCH(QString, shaker);
    QFETCH(Telemetry, telemetry);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);

    EffectsSettings settings = defaultSettings();
    AxisEffectsSettings& a = settings.axes[2];
    const QHash<QString, EffectSettingsBase*> effects = {
        {"overspeed", &a.overspeedShaker}, {"overG", &a.overGShaker}, {"afterburner", &a.afterburnerShaker},
        {"onGround", &a.onGroundShaker}, {"aoa", &a.aoaShaker}, {"gear", &a.gearShaker},
        {"flaps", &a.flapsShaker}, {"airbrake", &a.airbrakeShaker}, {"liftShimmy", &a.liftShimmyShaker},
        {"vortexState", &a.vortexStateShaker}, {"generic", &a.genericShaker}, {"rotor", &a.rotorShaker},
        {"engine", &a.engineShaker}};
    QVERIFY(effects.contains(shaker));
    activateEverything(settings);
    for (EffectSettingsBase* effect : effects) {
        if (effect != effects.value(shaker))
            effect->active = false;
    }
    for (int s = AIRSPEED; s <= G_FORCE; ++s)
        springOf(a, s).active = false;
    a.elevatorWeight.active = false;
    a.gunfireShaker.active = false;

    ForceCalculator calculator(nullptr);
    const quint64 tick = 1000;
    const AxisForces f = calculator.calculateAxisForces(2, tick, 0.0f, &telemetry, &settings);
    const float expected = frequency > 0.0f ? firstWave(tick, frequency, amplitude) : 0.0f;
    QVERIFY(amplitude == 0.0f || std::fabs(expected) > 0.1f * amplitude);
    QVERIFY2(near(f.periodic, expected), qPrintable(describe(f) + QStringLiteral(", expected %1").arg(expected)));
    QCOMPARE(f.spring, 0.0f);
    QCOMPARE(f.constant, 0.0f);
}

void TestForceCalculator::firingGunsShareOnePhase_data()
{
    QTest::addColumn<bool>("effectActive");
    QTest::addColumn<QList<bool>>("triggers");
    QTest::addColumn<float>("expected");
    // Guns: strengths 50, 30, 20, 10, 40; gun 1 has its own flag off, gun 2 runs at 25 Hz.
    // The first firing gun sets the phase, 1000 mod 51 over 50 at 20 Hz.
    const float phase = 31.0f / 50.0f;
    QTest::newRow("one gun") << true << QList<bool>{true, false, false, false, false} << sineWave(phase, 5.0f);
    QTest::newRow("two guns add at one phase")
        << true << QList<bool>{true, true, false, false, false} << sineWave(phase, 8.0f);
    QTest::newRow("later gun of other frequency keeps the phase")
        << true << QList<bool>{true, false, true, false, false} << sineWave(phase, 7.0f);
    QTest::newRow("gun's own flag is not consulted")
        << true << QList<bool>{false, true, false, false, false} << firstWave(1000, 20.0f, 3.0f);
    QTest::newRow("no trigger") << true << QList<bool>{false, false, false, false, false} << 0.0f;
    QTest::newRow("effect off") << false << QList<bool>{true, true, true, true, true} << 0.0f;
}

void TestForceCalculator::firingGunsShareOnePhase()
{
    QFETCH(bool, effectActive);
    QFETCH(QList<bool>, triggers);
    QFETCH(float, expected);
    EffectsSettings settings = defaultSettings();
    GunfireShakerSettings& gunfire = settings.axes[0].gunfireShaker;
    gunfire.active = effectActive;
    const int strengths[] = {50, 30, 20, 10, 40};
    for (int k = 0; k < 5; ++k)
        gunfire.gunfire[k].total_effect_strength = strengths[k];
    gunfire.gunfire[1].active = false;
    gunfire.gunfire[2].base_frequency = 25;
    Telemetry t;
    for (int k = 0; k < 5; ++k)
        t.gunfireTriggers[k] = triggers[k];

    ForceCalculator calculator(nullptr);
    const AxisForces f = calculator.calculateAxisForces(0, 1000, 0.0f, &t, &settings);
    QVERIFY2(near(f.periodic, expected), qPrintable(describe(f)));
}

void TestForceCalculator::joltPlaysHundredMillisecondsFromStart_data()
{
    QTest::addColumn<quint64>("tick");
    QTest::addColumn<bool>("plays");
    QTest::newRow("at start") << quint64(1000) << true;
    QTest::newRow("50 ms") << quint64(1050) << true;
    QTest::newRow("99 ms") << quint64(1099) << true;
    QTest::newRow("100 ms") << quint64(1100) << false;
    QTest::newRow("much later") << quint64(60000) << false;
    QTest::newRow("before start") << quint64(999) << false;
}

void TestForceCalculator::joltPlaysHundredMillisecondsFromStart()
{
    QFETCH(quint64, tick);
    QFETCH(bool, plays);
    EffectsSettings settings = defaultSettings();
    settings.axes[3].countermeasuresJolt.active = true;
    settings.axes[3].countermeasuresJolt.total_effect_strength = 100;
    ForceCalculator calculator(nullptr);
    calculator.startCountermeasureJolt(&settings, 1000);
    const Telemetry t;
    const AxisForces f = calculator.calculateAxisForces(3, tick, 0.0f, &t, &settings);
    const float expected = plays ? firstWave(tick, 20.0f, 10.0f) : 0.0f;
    QVERIFY(!plays || expected != 0.0f);
    QVERIFY2(near(f.periodic, expected), qPrintable(describe(f)));
}

void TestForceCalculator::strongerJoltReplacesRunningOne_data()
{
    QTest::addColumn<int>("secondStrength");
    QTest::addColumn<quint64>("secondTick");
    QTest::addColumn<quint64>("probe");
    QTest::addColumn<float>("amplitude"); // 0: silent
    QTest::newRow("equal at 50 ms is dropped") << 50 << quint64(1050) << quint64(1100) << 0.0f;
    QTest::newRow("equal at 50 ms: first plays on") << 50 << quint64(1050) << quint64(1099) << 5.0f;
    QTest::newRow("weaker at 99 ms is dropped") << 30 << quint64(1099) << quint64(1100) << 0.0f;
    QTest::newRow("stronger at 50 ms takes over") << 80 << quint64(1050) << quint64(1100) << 8.0f;
    QTest::newRow("stronger at 50 ms plays 100 ms") << 80 << quint64(1050) << quint64(1149) << 8.0f;
    QTest::newRow("stronger at 50 ms ends") << 80 << quint64(1050) << quint64(1150) << 0.0f;
    QTest::newRow("equal at 100 ms restarts") << 50 << quint64(1100) << quint64(1150) << 5.0f;
    QTest::newRow("weaker at 100 ms restarts") << 30 << quint64(1100) << quint64(1150) << 3.0f;
    QTest::newRow("weaker at 150 ms restarts") << 30 << quint64(1150) << quint64(1200) << 3.0f;
}

void TestForceCalculator::strongerJoltReplacesRunningOne()
{
    QFETCH(int, secondStrength);
    QFETCH(quint64, secondTick);
    QFETCH(quint64, probe);
    QFETCH(float, amplitude);
    EffectsSettings first = defaultSettings();
    first.axes[1].countermeasuresJolt.active = true;
    first.axes[1].countermeasuresJolt.total_effect_strength = 50;
    EffectsSettings second = first;
    second.axes[1].countermeasuresJolt.total_effect_strength = secondStrength;

    ForceCalculator calculator(nullptr);
    calculator.startCountermeasureJolt(&first, 1000);
    calculator.startCountermeasureJolt(&second, secondTick);
    const Telemetry t;
    const AxisForces f = calculator.calculateAxisForces(1, probe, 0.0f, &t, &second);
    const float expected = amplitude != 0.0f ? firstWave(probe, 20.0f, amplitude) : 0.0f;
    QVERIFY(amplitude == 0.0f || expected != 0.0f);
    QVERIFY2(near(f.periodic, expected), qPrintable(describe(f) + QStringLiteral(", expected %1").arg(expected)));
}

void TestForceCalculator::joltPlaysOnlyWhereActive()
{
    EffectsSettings settings = defaultSettings();
    settings.axes[2].gearExtractionJolt.active = true;
    settings.axes[2].gearExtractionJolt.total_effect_strength = 100;
    ForceCalculator calculator(nullptr);
    calculator.startGearExtractionJolt(&settings, 1000);
    const Telemetry t;

    QVERIFY(calculator.calculateAxisForces(2, 1010, 0.0f, &t, &settings).periodic != 0.0f);
    // Switched on elsewhere after the event: nothing was started there.
    settings.axes[0].gearExtractionJolt = settings.axes[2].gearExtractionJolt;
    QCOMPARE(calculator.calculateAxisForces(0, 1020, 0.0f, &t, &settings).periodic, 0.0f);
    // Switched off while playing: silent.
    settings.axes[2].gearExtractionJolt.active = false;
    QCOMPARE(calculator.calculateAxisForces(2, 1030, 0.0f, &t, &settings).periodic, 0.0f);
}

void TestForceCalculator::landingJoltSizeAndFrequency_data()
{
    QTest::addColumn<bool>("zeroInputs");
    QTest::addColumn<float>("airspeed");
    QTest::addColumn<float>("verticalSpeed");
    QTest::addColumn<quint64>("probe");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude"); // 0: nothing started
    // Strength is 2 x curve1(airspeed) x curve2(|descent|); the total strength is not used.
    QTest::newRow("125 km/h, 5 m/s") << false << 125.0f << -5.0f << quint64(1000) << 30.0f << 7.5f;
    QTest::newRow("top of both curves") << false << 250.0f << -10.0f << quint64(1003) << 40.0f << 20.0f;
    QTest::newRow("beyond both curves") << false << 500.0f << -20.0f << quint64(1003) << 40.0f << 20.0f;
    QTest::newRow("curve1 inputs all 0 runs at base") << true << 125.0f << -5.0f << quint64(1000) << 20.0f << 10.0f;
    QTest::newRow("no descent") << false << 125.0f << 0.0f << quint64(1000) << 30.0f << 0.0f;
    QTest::newRow("climbing") << false << 125.0f << 3.0f << quint64(1000) << 30.0f << 0.0f;
    QTest::newRow("no airspeed") << false << 0.0f << -5.0f << quint64(1000) << 20.0f << 0.0f;
    QTest::newRow("NaN airspeed") << false << notANumber << -5.0f << quint64(1000) << 20.0f << 0.0f;
    QTest::newRow("infinite airspeed") << false << infinity << -5.0f << quint64(1000) << 20.0f << 0.0f;
    QTest::newRow("NaN descent") << false << 125.0f << notANumber << quint64(1000) << 20.0f << 0.0f;
    QTest::newRow("infinite descent") << false << 125.0f << -infinity << quint64(1000) << 20.0f << 0.0f;
}

void TestForceCalculator::landingJoltSizeAndFrequency()
{
    QFETCH(bool, zeroInputs);
    QFETCH(float, airspeed);
    QFETCH(float, verticalSpeed);
    QFETCH(quint64, probe);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    EffectsSettings settings = defaultSettings();
    LandingJoltShakerSettings& landing = settings.axes[0].landingJolt;
    landing.active = true;
    landing.total_effect_strength = 0;
    if (zeroInputs) {
        for (ResponseCurvePoint& point : landing.curve1.points)
            point = {0.0f, 100.0f};
    }
    ForceCalculator calculator(nullptr);
    calculator.startLandingJolt(&settings, airspeed, verticalSpeed, 1000);
    const Telemetry t;
    const AxisForces f = calculator.calculateAxisForces(0, probe, 0.0f, &t, &settings);
    const float expected = amplitude != 0.0f ? firstWave(probe, frequency, amplitude) : 0.0f;
    QVERIFY(amplitude == 0.0f || std::fabs(expected) > 0.1f * amplitude);
    QVERIFY2(near(f.periodic, expected), qPrintable(describe(f) + QStringLiteral(", expected %1").arg(expected)));
}

void TestForceCalculator::sizedJoltsFollowTheirCurve_data()
{
    QTest::addColumn<bool>("damage");
    QTest::addColumn<float>("size");
    QTest::addColumn<float>("amplitude"); // 0: nothing started
    // Damage: identity curve; weapon release: linear 0 to 1000 kg. Strength 50.
    QTest::newRow("damage 60 percent") << true << 60.0f << 3.0f;
    QTest::newRow("no damage") << true << 0.0f << 0.0f;
    QTest::newRow("NaN damage") << true << notANumber << 0.0f;
    QTest::newRow("500 kg released") << false << 500.0f << 2.5f;
    QTest::newRow("2000 kg held at curve end") << false << 2000.0f << 5.0f;
    QTest::newRow("nothing released") << false << 0.0f << 0.0f;
    QTest::newRow("infinite weight") << false << infinity << 0.0f;
}

void TestForceCalculator::sizedJoltsFollowTheirCurve()
{
    QFETCH(bool, damage);
    QFETCH(float, size);
    QFETCH(float, amplitude);
    EffectsSettings settings = defaultSettings();
    settings.axes[1].damageJolt.active = true;
    settings.axes[1].damageJolt.total_effect_strength = 50;
    settings.axes[1].weaponReleaseJolt.active = true;
    settings.axes[1].weaponReleaseJolt.total_effect_strength = 50;
    ForceCalculator calculator(nullptr);
    if (damage)
        calculator.startDamageJolt(&settings, size, 1000);
    else
        calculator.startWeaponReleaseJolt(&settings, size, 1000);
    const Telemetry t;
    const AxisForces f = calculator.calculateAxisForces(1, 1000, 0.0f, &t, &settings);
    const float expected = amplitude != 0.0f ? firstWave(1000, 20.0f, amplitude) : 0.0f;
    QVERIFY2(near(f.periodic, expected), qPrintable(describe(f)));
}

void TestForceCalculator::indexOutsideAxesGivesNoForce_data()
{
    QTest::addColumn<int>("index");
    QTest::newRow("-1") << -1;
    QTest::newRow("4") << 4;
    QTest::newRow("int max") << INT_MAX;
}

void TestForceCalculator::indexOutsideAxesGivesNoForce()
{
    QFETCH(int, index);
    EffectsSettings settings = defaultSettings();
    activateEverything(settings);
    const Telemetry t = filledTelemetry(100.0f, 50);
    ForceCalculator calculator(nullptr);
    const AxisForces f = calculator.calculateAxisForces(index, 1000, 0.0f, &t, &settings);
    QVERIFY2(f.spring == 0.0f && f.constant == 0.0f && f.periodic == 0.0f && f.damper == 0.0f,
             qPrintable(describe(f)));
}

void TestForceCalculator::hostileInputsKeepEveryOutputFinite_data()
{
    QTest::addColumn<Telemetry>("telemetry");
    QTest::addColumn<QString>("settingsKind");
    const QStringList kinds = {"defaults", "zero inputs, far above 1000 Hz", "extreme"};
    for (const QString& kind : kinds) {
        const QByteArray k = kind.toUtf8();
        QTest::newRow(k + ": NaN") << filledTelemetry(notANumber, 0) << kind;
        QTest::newRow(k + ": infinity") << filledTelemetry(infinity, INT_MAX) << kind;
        QTest::newRow(k + ": minus infinity") << filledTelemetry(-infinity, INT_MIN) << kind;
        QTest::newRow(k + ": huge") << filledTelemetry(std::numeric_limits<float>::max(), INT_MAX) << kind;
        QTest::newRow(k + ": huge negative") << filledTelemetry(-std::numeric_limits<float>::max(), INT_MIN) << kind;
        QTest::newRow(k + ": negative") << filledTelemetry(-50.0f, -3000) << kind;
        QTest::newRow(k + ": tiny") << filledTelemetry(std::numeric_limits<float>::denorm_min(), 1) << kind;
    }
}

void TestForceCalculator::hostileInputsKeepEveryOutputFinite()
{
    QFETCH(Telemetry, telemetry);
    QFETCH(QString, settingsKind);
    EffectsSettings settings = defaultSettings();
    activateEverything(settings);
    for (AxisEffectsSettings& a : settings.axes) {
        if (settingsKind == "defaults")
            continue;
        const bool extreme = settingsKind == "extreme";
        const QList<ResponseCurve*> curves = curvesOf(a);
        QCOMPARE(curves.size(), 26);
        for (ResponseCurve* curve : curves) {
            for (ResponseCurvePoint& point : curve->points)
                point = extreme ? ResponseCurvePoint{std::numeric_limits<float>::max(), -std::numeric_limits<float>::max()}
                                : ResponseCurvePoint{0.0f, 100.0f};
        }
        FixedFrequencySettingsAddon* fixed[] = {
            &a.overspeedShaker, &a.overGShaker, &a.afterburnerShaker, &a.onGroundShaker, &a.aoaShaker,
            &a.gearShaker, &a.flapsShaker, &a.airbrakeShaker, &a.gearExtractionJolt, &a.countermeasuresJolt,
            &a.damageJolt, &a.weaponReleaseJolt, &a.landingJolt, &a.liftShimmyShaker, &a.vortexStateShaker,
            &a.genericShaker};
        for (FixedFrequencySettingsAddon* f : fixed) {
            f->base_frequency = extreme ? INT_MIN : 250000;
            f->frequency_mode = 1;
        }
        VariableFrequencySettingsAddon* variable[] = {&a.onGroundShaker, &a.aoaShaker, &a.gearShaker,
                                                      &a.flapsShaker, &a.airbrakeShaker, &a.landingJolt,
                                                      &a.vortexStateShaker};
        for (VariableFrequencySettingsAddon* v : variable)
            v->max_frequency = INT_MAX;
        for (ShakerWithFixedFrequencySettings& gun : a.gunfireShaker.gunfire)
            gun.base_frequency = INT_MAX;
        a.engineShaker.frequency_multiplier = INT_MAX;
        a.rotorShaker.frequency_multiplier = extreme ? INT_MIN : 5000;
        if (extreme) {
            for (int s = AIRSPEED; s <= G_FORCE; ++s) {
                springOf(a, s).total_effect_strength = INT_MAX;
                springOf(a, s).dampening_contribution = INT_MIN;
            }
            a.elevatorWeight.total_effect_strength = INT_MIN;
            a.genericShaker.total_effect_strength = INT_MAX;
            a.countermeasuresJolt.total_effect_strength = INT_MAX;
        }
    }

    ForceCalculator calculator(nullptr);
    const float real = telemetry.airspeed;
    // Ticks run on, jump far ahead, run back and pass through the top of the range.
    const quint64 ticks[] = {0, 2, 1000, 1002, 999, 5000000000ULL, 4, ULLONG_MAX - 3, ULLONG_MAX, 0};
    for (quint64 base : ticks) {
        calculator.startLandingJolt(&settings, real, real, base);
        calculator.startLandingJolt(&settings, std::fabs(real), -std::fabs(real), base);
        calculator.startWeaponReleaseJolt(&settings, real, base);
        calculator.startDamageJolt(&settings, std::fabs(real), base);
        calculator.startCountermeasureJolt(&settings, base);
        calculator.startGearExtractionJolt(&settings, base);
        for (int step = 0; step < 64; ++step) {
            const quint64 tick = base + quint64(step) * 2;
            const int axis = step % 4;
            const AxisForces f = calculator.calculateAxisForces(axis, tick, real, &telemetry, &settings);
            QVERIFY2(std::isfinite(f.spring) && std::isfinite(f.constant) && std::isfinite(f.periodic)
                         && std::isfinite(f.damper),
                     qPrintable(QStringLiteral("axis %1 tick %2: ").arg(axis).arg(tick) + describe(f)));
        }
    }
}

QTEST_GUILESS_MAIN(TestForceCalculator)
#include "tst_forcecalculator.moc"
