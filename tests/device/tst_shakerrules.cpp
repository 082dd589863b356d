#include "axisforces.h"
#include "rpmshakersettings.h"
#include "shakerrules.h"
#include "shakerwithdualcurveandvariablefrequencysettings.h"
#include "shakerwithfixedfrequencysettings.h"
#include "shakerwithsinglecurveandfixedfrequencysettings.h"
#include "shakerwithsinglecurveandvariablefrequencysettings.h"
#include "telemetry.h"

#include <QTest>

#include <climits>
#include <cmath>

namespace {

constexpr quint64 previousTick = 1000;
constexpr quint64 stepTick = 1008;

constexpr ResponseCurvePoint identity0To100[ResponseCurve::pointCount] = {
    {0, 0}, {10, 10}, {20, 20}, {30, 30}, {40, 40}, {50, 50}, {60, 60}, {70, 70}, {80, 80}, {90, 90}, {100, 100}};
constexpr ResponseCurvePoint easeOut0To250[ResponseCurve::pointCount] = {
    {0, 0}, {25, 19}, {50, 36}, {75, 51}, {100, 64}, {125, 75}, {150, 84}, {175, 91}, {200, 96}, {225, 99}, {250, 100}};
constexpr ResponseCurvePoint easeOut0To500[ResponseCurve::pointCount] = {
    {0, 0}, {50, 19}, {100, 36}, {150, 51}, {200, 64}, {250, 75}, {300, 84}, {350, 91}, {400, 96}, {450, 99}, {500, 100}};
constexpr ResponseCurvePoint angleIdentity0To90[ResponseCurve::pointCount] = {
    {0, 0}, {9, 9}, {18, 18}, {27, 27}, {36, 36}, {45, 45}, {54, 54}, {63, 63}, {72, 72}, {81, 81}, {90, 90}};
constexpr ResponseCurvePoint linear0To10[ResponseCurve::pointCount] = {
    {0, 0}, {1, 10}, {2, 20}, {3, 30}, {4, 40}, {5, 50}, {6, 60}, {7, 70}, {8, 80}, {9, 90}, {10, 100}};
constexpr ResponseCurvePoint linear0To5000[ResponseCurve::pointCount] = {
    {0, 0}, {500, 10}, {1000, 20}, {1500, 30}, {2000, 40}, {2500, 50}, {3000, 60}, {3500, 70}, {4000, 80},
    {4500, 90}, {5000, 100}};
// Every input 0: nothing to divide by when working out a frequency ratio.
constexpr ResponseCurvePoint allInputsZero[ResponseCurve::pointCount] = {
    {0, 0}, {0, 100}, {0, 100}, {0, 100}, {0, 100}, {0, 100}, {0, 100}, {0, 100}, {0, 100}, {0, 100}, {0, 100}};

OscillatorState freshOscillator()
{
    OscillatorState state;
    state.lastTick = previousTick;
    return state;
}

// One 8 ms step from phase 0 and no jitter: the phase advance reveals the period, the added
// wave the amplitude. A frequency not above 0 must leave everything untouched. Above 500 Hz
// the 1 ms period puts every even step at phase 0, so such rows expect amplitude 0.
QString stepError(const OscillatorState& state, const AxisForces& forces, float frequency, float amplitude)
{
    if (forces.spring != 0.0f || forces.constant != 0.0f || forces.damper != 0.0f)
        return QStringLiteral("a shaker touched a non-periodic component");
    if (!(frequency > 0.0f)) {
        if (state.lastTick != previousTick || state.phase != 0.0f || forces.periodic != 0.0f)
            return QStringLiteral("a shaker without frequency ran");
        return {};
    }
    const double period = std::max(1.0, std::trunc(1000.0 / frequency));
    const float phase = float(std::fmod(stepTick - previousTick, period + 1.0) / period);
    if (std::fabs(state.phase - phase) > 1e-6f)
        return QStringLiteral("phase %1, expected %2").arg(state.phase).arg(phase);
    if (state.lastTick != stepTick)
        return QStringLiteral("tick not taken");
    if (amplitude != 0.0f && std::fabs(tableSin(phase * 360.0f)) < 0.1f)
        return QStringLiteral("row cannot show the amplitude at phase %1").arg(phase);
    const float expected = sineWave(phase, amplitude);
    if (std::fabs(forces.periodic - expected) > 1e-4f * std::max(1.0f, std::fabs(expected)))
        return QStringLiteral("periodic %1, expected %2").arg(forces.periodic).arg(expected);
    return {};
}

} // namespace

class TestShakerRules : public QObject
{
    Q_OBJECT

private slots:
    void singleCurveFixedFrequency_data();
    void singleCurveFixedFrequency();
    void fixedFrequency_data();
    void fixedFrequency();
    void singleCurveVariableFrequency_data();
    void singleCurveVariableFrequency();
    void dualCurveVariableFrequency_data();
    void dualCurveVariableFrequency();
    void vortexState_data();
    void vortexState();
    void generic_data();
    void generic();
    void rpm_data();
    void rpm();
    void joltPlaysForHundredMilliseconds_data();
    void joltPlaysForHundredMilliseconds();
};

void TestShakerRules::singleCurveFixedFrequency_data()
{
    QTest::addColumn<int>("baseFrequency");
    QTest::addColumn<int>("strength");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("curve and strength scale ten percent") << 20 << 80 << 50.0f << 20.0f << 4.0f;
    QTest::newRow("full strength, full curve") << 25 << 100 << 100.0f << 25.0f << 10.0f;
    QTest::newRow("input above last point held flat") << 20 << 50 << 400.0f << 20.0f << 5.0f;
    QTest::newRow("input below first point held flat") << 20 << 50 << -3.0f << 20.0f << 0.0f;
    QTest::newRow("zero frequency adds nothing") << 0 << 100 << 50.0f << 0.0f << 0.0f;
    QTest::newRow("negative frequency adds nothing") << -5 << 100 << 50.0f << -5.0f << 0.0f;
}

void TestShakerRules::singleCurveFixedFrequency()
{
    QFETCH(int, baseFrequency);
    QFETCH(int, strength);
    QFETCH(float, x);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    ShakerWithSingleCurveAndFixedFrequencySettings settings;
    settings.setDefaults();
    settings.curve1.setPoints(identity0To100);
    settings.base_frequency = baseFrequency;
    settings.total_effect_strength = strength;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applySingleCurveFixedFrequencyShaker(forces, settings, state, x, stepTick);
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::fixedFrequency_data()
{
    QTest::addColumn<int>("baseFrequency");
    QTest::addColumn<int>("strength");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("strength sets amplitude") << 25 << 70 << 25.0f << 7.0f;
    QTest::newRow("zero strength still steps") << 20 << 0 << 20.0f << 0.0f;
    QTest::newRow("negative strength inverts") << 20 << -50 << 20.0f << -5.0f;
    QTest::newRow("zero frequency adds nothing") << 0 << 70 << 0.0f << 0.0f;
}

void TestShakerRules::fixedFrequency()
{
    QFETCH(int, baseFrequency);
    QFETCH(int, strength);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    ShakerWithFixedFrequencySettings settings;
    settings.setDefaults();
    settings.base_frequency = baseFrequency;
    settings.total_effect_strength = strength;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applyFixedFrequencyShaker(forces, settings, state, stepTick);
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::singleCurveVariableFrequency_data()
{
    QTest::addColumn<bool>("zeroInputs");
    QTest::addColumn<int>("baseFrequency");
    QTest::addColumn<int>("maxFrequency");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("input 0 runs at base") << false << 20 << 40 << 0.0f << 20.0f << 0.0f;
    QTest::newRow("half way runs half way") << false << 20 << 40 << 125.0f << 30.0f << 7.5f;
    QTest::newRow("last input runs at max") << false << 20 << 40 << 250.0f << 40.0f << 10.0f;
    QTest::newRow("beyond last input runs at max") << false << 20 << 40 << 1000.0f << 40.0f << 10.0f;
    QTest::newRow("negative input runs at base") << false << 20 << 40 << -50.0f << 20.0f << 0.0f;
    QTest::newRow("max below base falls") << false << 30 << 10 << 250.0f << 10.0f << 10.0f;
    QTest::newRow("curve inputs all 0 runs at base") << true << 20 << 40 << 125.0f << 20.0f << 10.0f;
    QTest::newRow("zero frequencies add nothing") << false << 0 << 0 << 125.0f << 0.0f << 0.0f;
    QTest::newRow("negative base at input 0 adds nothing") << false << -20 << 40 << 0.0f << -20.0f << 0.0f;
    QTest::newRow("extreme ints do not overflow")
        << false << INT_MIN << INT_MAX << 250.0f << float(INT_MAX) << 0.0f;
}

void TestShakerRules::singleCurveVariableFrequency()
{
    QFETCH(bool, zeroInputs);
    QFETCH(int, baseFrequency);
    QFETCH(int, maxFrequency);
    QFETCH(float, x);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    ShakerWithSingleCurveAndVariableFrequencySettings settings;
    settings.setDefaults();
    settings.curve1.setPoints(zeroInputs ? allInputsZero : easeOut0To250);
    settings.base_frequency = baseFrequency;
    settings.max_frequency = maxFrequency;
    settings.total_effect_strength = 100;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applySingleCurveVariableFrequencyShaker(forces, settings, state, x, stepTick);
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::dualCurveVariableFrequency_data()
{
    QTest::addColumn<bool>("zeroInputs");
    QTest::addColumn<int>("strength");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("both curves and strength multiply") << false << 100 << 250.0f << 40.0f << 30.0f << 3.0f;
    QTest::newRow("top of first curve runs at max") << false << 50 << 500.0f << 100.0f << 40.0f << 5.0f;
    QTest::newRow("no speed runs at base, silent") << false << 100 << 0.0f << 100.0f << 20.0f << 0.0f;
    QTest::newRow("signed second input below its curve") << false << 100 << 500.0f << -5.0f << 40.0f << 0.0f;
    QTest::newRow("first curve inputs all 0 runs at base") << true << 100 << 250.0f << 50.0f << 20.0f << 5.0f;
}

void TestShakerRules::dualCurveVariableFrequency()
{
    QFETCH(bool, zeroInputs);
    QFETCH(int, strength);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    ShakerWithDualCurveAndVariableFrequencySettings settings;
    settings.setDefaults();
    settings.curve1.setPoints(zeroInputs ? allInputsZero : easeOut0To500);
    settings.curve2.setPoints(identity0To100);
    settings.total_effect_strength = strength;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applyDualCurveVariableFrequencyShaker(forces, settings, state, x, y, stepTick);
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::vortexState_data()
{
    QTest::addColumn<bool>("zeroInputs");
    QTest::addColumn<int>("frequencyMode");
    QTest::addColumn<int>("shakeFrequency");
    QTest::addColumn<float>("verticalSpeed");
    QTest::addColumn<float>("airspeed");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("angle");   // degrees, what curve1 must see
    QTest::addColumn<float>("descent"); // m/s, what curve2 must see

    const float fortyFive = float(std::atan2(5.0, 5.0) * 180.0 / 3.14); // 45.02, not 45
    QTest::newRow("climbing: angle 0, descent 0") << false << 0 << 0 << 3.0f << 100.0f << 20.0f << 0.0f << 0.0f;
    QTest::newRow("5 m/s at 5 km/h") << false << 0 << 0 << -5.0f << 5.0f << 30.0f << fortyFive << 5.0f;
    QTest::newRow("airspeed sign ignored") << false << 0 << 0 << -5.0f << -5.0f << 30.0f << fortyFive << 5.0f;
    QTest::newRow("no airspeed: straight down") << false << 0 << 0 << -5.0f << 0.0f << 30.0f << 90.0f << 5.0f;
    QTest::newRow("descent held at 10 m/s") << false << 0 << 0 << -20.0f << 10.0f << 40.0f << fortyFive << 10.0f;
    QTest::newRow("exactly 10 m/s") << false << 0 << 0 << -10.0f << 10.0f << 40.0f << fortyFive << 10.0f;
    QTest::newRow("telemetry frequency in mode 1") << false << 1 << 50 << -5.0f << 5.0f << 50.0f << fortyFive << 5.0f;
    QTest::newRow("mode 1 without telemetry frequency") << false << 1 << 0 << -5.0f << 5.0f << 30.0f << fortyFive << 5.0f;
    QTest::newRow("mode 0 ignores telemetry frequency") << false << 0 << 50 << -5.0f << 5.0f << 30.0f << fortyFive << 5.0f;
    QTest::newRow("second curve inputs all 0 runs at base")
        << true << 0 << 0 << -5.0f << 5.0f << 20.0f << fortyFive << 5.0f;
}

void TestShakerRules::vortexState()
{
    QFETCH(bool, zeroInputs);
    QFETCH(int, frequencyMode);
    QFETCH(int, shakeFrequency);
    QFETCH(float, verticalSpeed);
    QFETCH(float, airspeed);
    QFETCH(float, frequency);
    QFETCH(float, angle);
    QFETCH(float, descent);
    ShakerWithDualCurveAndVariableFrequencySettings settings;
    settings.setDefaults();
    // curve1 gives the angle back, so the amplitude shows the angle the rule worked out.
    settings.curve1.setPoints(angleIdentity0To90);
    settings.curve2.setPoints(zeroInputs ? allInputsZero : linear0To10);
    settings.frequency_mode = frequencyMode;
    settings.total_effect_strength = 100;
    Telemetry telemetry;
    telemetry.verticalSpeed = verticalSpeed;
    telemetry.airspeed = airspeed;
    telemetry.shakeFrequency = shakeFrequency;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applyVortexStateShaker(forces, settings, state, telemetry, stepTick);
    const float descentOutput = zeroInputs ? (descent > 0.0f ? 100.0f : 0.0f) : descent * 10.0f;
    const float amplitude = angle / 100.0f * descentOutput / 100.0f * 10.0f;
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::generic_data()
{
    QTest::addColumn<int>("baseFrequency");
    QTest::addColumn<int>("frequencyMode");
    QTest::addColumn<int>("shakeFrequency");
    QTest::addColumn<int>("shakeMagnitude");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("mode 0 uses own frequency") << 20 << 0 << 50 << 60 << 20.0f << 6.0f;
    QTest::newRow("mode 1 uses telemetry frequency") << 20 << 1 << 50 << 60 << 50.0f << 6.0f;
    QTest::newRow("mode 1, telemetry frequency 0") << 20 << 1 << 0 << 60 << 20.0f << 6.0f;
    QTest::newRow("mode 1, negative telemetry frequency") << 20 << 1 << -10 << 60 << 20.0f << 6.0f;
    QTest::newRow("other mode uses own frequency") << 20 << 2 << 50 << 60 << 20.0f << 6.0f;
    QTest::newRow("own frequency 0 adds nothing") << 0 << 0 << 50 << 60 << 0.0f << 0.0f;
    QTest::newRow("telemetry frequency replaces 0") << 0 << 1 << 50 << 60 << 50.0f << 6.0f;
    QTest::newRow("telemetry frequency far above 1000 Hz") << 20 << 1 << INT_MAX << 100 << float(INT_MAX) << 0.0f;
}

void TestShakerRules::generic()
{
    QFETCH(int, baseFrequency);
    QFETCH(int, frequencyMode);
    QFETCH(int, shakeFrequency);
    QFETCH(int, shakeMagnitude);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    ShakerWithSingleCurveAndFixedFrequencySettings settings;
    settings.setDefaults();
    settings.curve1.setPoints(identity0To100);
    settings.base_frequency = baseFrequency;
    settings.frequency_mode = frequencyMode;
    settings.total_effect_strength = 100;
    Telemetry telemetry;
    telemetry.shakeFrequency = shakeFrequency;
    telemetry.shakeMagnitude = shakeMagnitude;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applyGenericShaker(forces, settings, state, telemetry, stepTick);
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::rpm_data()
{
    QTest::addColumn<int>("multiplier");
    QTest::addColumn<float>("rpm");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("3000 rpm times 2 is 100 Hz") << 2 << 3000.0f << 100.0f << 3.0f;
    QTest::newRow("1200 rpm is 20 Hz") << 1 << 1200.0f << 20.0f << 1.2f;
    QTest::newRow("0 rpm adds nothing") << 2 << 0.0f << 0.0f << 0.0f;
    QTest::newRow("negative rpm adds nothing") << 2 << -600.0f << -20.0f << 0.0f;
    QTest::newRow("multiplier 0 adds nothing") << 0 << 3000.0f << 0.0f << 0.0f;
    QTest::newRow("negative multiplier adds nothing") << -1 << 1200.0f << -20.0f << 0.0f;
    QTest::newRow("far above 1000 Hz") << INT_MAX << float(INT_MAX) << 7.7e16f << 0.0f;
}

void TestShakerRules::rpm()
{
    QFETCH(int, multiplier);
    QFETCH(float, rpm);
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    RPMShakerSettings settings;
    settings.setDefaults();
    settings.curve1.setPoints(linear0To5000);
    settings.frequency_multiplier = multiplier;
    settings.total_effect_strength = 50;

    OscillatorState state = freshOscillator();
    AxisForces forces;
    applyRpmShaker(forces, settings, state, rpm, stepTick);
    const QString error = stepError(state, forces, frequency, amplitude);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void TestShakerRules::joltPlaysForHundredMilliseconds_data()
{
    QTest::addColumn<float>("joltFrequency");
    QTest::addColumn<quint64>("tick");
    QTest::addColumn<bool>("plays");
    QTest::newRow("at its start") << 20.0f << quint64(5000) << true;
    QTest::newRow("50 ms in") << 20.0f << quint64(5050) << true;
    QTest::newRow("99 ms in") << 20.0f << quint64(5099) << true;
    QTest::newRow("100 ms in it is over") << 20.0f << quint64(5100) << false;
    QTest::newRow("long after") << 20.0f << quint64(90000) << false;
    QTest::newRow("a tick before its start") << 20.0f << quint64(4999) << false;
    QTest::newRow("no frequency") << 0.0f << quint64(5050) << false;
}

void TestShakerRules::joltPlaysForHundredMilliseconds()
{
    QFETCH(float, joltFrequency);
    QFETCH(quint64, tick);
    QFETCH(bool, plays);
    JoltState jolt;
    jolt.startTick = 5000;
    jolt.strength = 0.6f;
    jolt.frequency = joltFrequency;
    jolt.oscillator.lastTick = tick - (stepTick - previousTick);

    AxisForces forces;
    applyJoltShaker(forces, jolt, tick);
    if (!plays) {
        QCOMPARE(forces.periodic, 0.0f);
        QCOMPARE(jolt.oscillator.lastTick, tick - (stepTick - previousTick));
        return;
    }
    QCOMPARE(jolt.oscillator.lastTick, tick);
    QVERIFY(std::fabs(jolt.oscillator.phase - 0.16f) < 1e-6f);
    QVERIFY(std::fabs(forces.periodic - sineWave(0.16f, 6.0f)) < 1e-5f);
}

QTEST_GUILESS_MAIN(TestShakerRules)
#include "tst_shakerrules.moc"
