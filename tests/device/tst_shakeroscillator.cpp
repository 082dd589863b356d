#include "axisforces.h"
#include "shakeroscillator.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
}

class TestShakerOscillator : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void tableSinInterpolatesTheTenDegreeTable_data();
    void tableSinInterpolatesTheTenDegreeTable();
    void tableSinIsSafeForAnyAngle_data();
    void tableSinIsSafeForAnyAngle();

    void stepAdvancesPhaseByElapsedOverPeriod_data();
    void stepAdvancesPhaseByElapsedOverPeriod();
    void stepWithoutUsableFrequencyOrAmplitudeChangesNothing_data();
    void stepWithoutUsableFrequencyOrAmplitudeChangesNothing();
    void brokenPhaseIsReset_data();
    void brokenPhaseIsReset();
    void completedCycleDrawsAmplitudeThenFrequencyJitter();
    void jitterAppliesFromTheNextStep();
    void largeNegativeJitterKeepsShakerRunningForward_data();
    void largeNegativeJitterKeepsShakerRunningForward();
    void reseedingRepeatsTheJitterSequence();
    void jitterHasDeviationPointTwo();
};

void TestShakerOscillator::init()
{
    reseedShakerJitter(1);
}

void TestShakerOscillator::tableSinInterpolatesTheTenDegreeTable_data()
{
    QTest::addColumn<float>("degrees");
    QTest::addColumn<float>("expected");
    QTest::newRow("0") << 0.0f << 0.0f;
    QTest::newRow("10") << 10.0f << 0.1736f;
    QTest::newRow("30") << 30.0f << 0.5f;
    QTest::newRow("45 is linear, not sin 45") << 45.0f << 0.7044f;
    QTest::newRow("90") << 90.0f << 1.0f;
    QTest::newRow("135") << 135.0f << 0.7044f;
    QTest::newRow("180") << 180.0f << 0.0f;
    QTest::newRow("210") << 210.0f << -0.5f;
    QTest::newRow("270") << 270.0f << -1.0f;
    QTest::newRow("355") << 355.0f << -0.0868f;
    QTest::newRow("360") << 360.0f << 0.0f;
    QTest::newRow("-90") << -90.0f << -1.0f;
    QTest::newRow("-30") << -30.0f << -0.5f;
    QTest::newRow("5") << 5.0f << 0.0868f;
    QTest::newRow("725 wraps to 5") << 725.0f << 0.0868f;
    QTest::newRow("-715 wraps to 5") << -715.0f << 0.0868f;
    QTest::newRow("7290 wraps to 90") << 7290.0f << 1.0f;
}

void TestShakerOscillator::tableSinInterpolatesTheTenDegreeTable()
{
    QFETCH(float, degrees);
    QFETCH(float, expected);
    QVERIFY2(std::fabs(tableSin(degrees) - expected) < 1e-4f,
             qPrintable(QString::number(tableSin(degrees))));
}

void TestShakerOscillator::tableSinIsSafeForAnyAngle_data()
{
    QTest::addColumn<float>("degrees");
    QTest::addColumn<float>("expected"); // NaN: any value within -1 to 1
    QTest::newRow("tiny negative") << -1e-10f << 0.0f;
    QTest::newRow("smallest negative") << -std::numeric_limits<float>::denorm_min() << 0.0f;
    QTest::newRow("just below 360") << std::nextafter(360.0f, 0.0f) << 0.0f;
    QTest::newRow("just below 0 after wrap") << -0.00001f << 0.0f;
    QTest::newRow("huge") << 1e30f << notANumber;
    QTest::newRow("huge negative") << -1e30f << notANumber;
    QTest::newRow("float max") << std::numeric_limits<float>::max() << notANumber;
    QTest::newRow("beyond int") << 3e9f << notANumber;
    QTest::newRow("NaN gives 0") << notANumber << 0.0f;
    QTest::newRow("infinity gives 0") << infinity << 0.0f;
    QTest::newRow("minus infinity gives 0") << -infinity << 0.0f;
}

void TestShakerOscillator::tableSinIsSafeForAnyAngle()
{
    QFETCH(float, degrees);
    QFETCH(float, expected);
    const float value = tableSin(degrees);
    QVERIFY(std::isfinite(value));
    QVERIFY(value >= -1.0f && value <= 1.0f);
    if (!std::isnan(expected))
        QVERIFY2(std::fabs(value - expected) < 1e-4f, qPrintable(QString::number(value)));
}

void TestShakerOscillator::stepAdvancesPhaseByElapsedOverPeriod_data()
{
    QTest::addColumn<float>("phase");
    QTest::addColumn<quint64>("lastTick");
    QTest::addColumn<quint64>("tick");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("expectedPhase");
    QTest::addColumn<bool>("cycleCompleted");
    QTest::newRow("0.9 plus 8 ms at 50 ms wraps to 0.06")
        << 0.9f << quint64(1000) << quint64(1008) << 20.0f << 0.06f << true;
    QTest::newRow("0.5 plus 8 ms at 16 ms stays at 1.0")
        << 0.5f << quint64(1000) << quint64(1008) << 62.5f << 1.0f << true;
    QTest::newRow("0 plus 8 ms at 50 ms") << 0.0f << quint64(1000) << quint64(1008) << 20.0f << 0.16f << false;
    QTest::newRow("period truncated to whole ms") << 0.0f << quint64(0) << quint64(8) << 30.0f
                                                  << 8.0f / 33.0f << false;
    QTest::newRow("first step advances tick mod (P + 1)")
        << 0.0f << quint64(0) << quint64(1000) << 20.0f << 31.0f / 50.0f << false;
    QTest::newRow("gap of several periods advances by the remainder")
        << 0.1f << quint64(5000) << quint64(5000 + 3 * 51 + 10) << 20.0f << 0.3f << false;
    QTest::newRow("no time passed") << 0.4f << quint64(7) << quint64(7) << 20.0f << 0.4f << false;
    QTest::newRow("clock going back stays within one cycle")
        << 0.2f << quint64(5000) << quint64(4990) << 20.0f << 0.04f << true; // (2^64 - 10) mod 51 = 42
    QTest::newRow("above 1000 Hz holds the period at 1 ms")
        << 0.3f << quint64(100) << quint64(108) << 5000.0f << 0.3f << false;
    QTest::newRow("above 1000 Hz, odd gap completes a cycle")
        << 0.3f << quint64(100) << quint64(107) << 5000.0f << 0.3f << true;
    QTest::newRow("far above 1000 Hz") << 0.3f << quint64(100) << quint64(107) << 3e30f << 0.3f << true;
    QTest::newRow("tiny frequency: long period in floating point")
        << 0.25f << quint64(0) << quint64(8) << 1e-30f << 0.25f << false;
}

void TestShakerOscillator::stepAdvancesPhaseByElapsedOverPeriod()
{
    QFETCH(float, phase);
    QFETCH(quint64, lastTick);
    QFETCH(quint64, tick);
    QFETCH(float, frequency);
    QFETCH(float, expectedPhase);
    QFETCH(bool, cycleCompleted);

    OscillatorState state;
    state.phase = phase;
    state.lastTick = lastTick;
    AxisForces forces;
    const float amplitude = 7.0f;
    runShakerOscillator(forces, state, OscillatorInput{tick, frequency, amplitude});

    QVERIFY2(std::fabs(state.phase - expectedPhase) < 1e-5f, qPrintable(QString::number(state.phase)));
    QCOMPARE(state.lastTick, tick);
    QCOMPARE(forces.periodic, sineWave(state.phase, amplitude));
    QCOMPARE(forces.spring, 0.0f);
    QCOMPARE(forces.constant, 0.0f);
    QCOMPARE(forces.damper, 0.0f);
    // New deviations are drawn exactly when a cycle completes.
    QCOMPARE(state.amplitudeJitter != 0.0f, cycleCompleted);
    QCOMPARE(state.frequencyJitter != 0.0f, cycleCompleted);
}

void TestShakerOscillator::stepWithoutUsableFrequencyOrAmplitudeChangesNothing_data()
{
    QTest::addColumn<float>("frequency");
    QTest::addColumn<float>("amplitude");
    QTest::newRow("zero frequency") << 0.0f << 5.0f;
    QTest::newRow("negative frequency") << -20.0f << 5.0f;
    QTest::newRow("NaN frequency") << notANumber << 5.0f;
    QTest::newRow("infinite frequency") << infinity << 5.0f;
    QTest::newRow("NaN amplitude") << 20.0f << notANumber;
    QTest::newRow("infinite amplitude") << 20.0f << -infinity;
}

void TestShakerOscillator::stepWithoutUsableFrequencyOrAmplitudeChangesNothing()
{
    QFETCH(float, frequency);
    QFETCH(float, amplitude);
    OscillatorState state;
    state.phase = 0.9f;
    state.lastTick = 100;
    AxisForces forces;
    runShakerOscillator(forces, state, OscillatorInput{200, frequency, amplitude});
    QCOMPARE(forces.periodic, 0.0f);
    QCOMPARE(state.phase, 0.9f);
    QCOMPARE(state.lastTick, quint64(100));
    QCOMPARE(state.amplitudeJitter, 0.0f);
    QCOMPARE(state.frequencyJitter, 0.0f);
}

void TestShakerOscillator::brokenPhaseIsReset_data()
{
    QTest::addColumn<float>("phase");
    QTest::newRow("NaN") << notANumber;
    QTest::newRow("infinity") << infinity;
    QTest::newRow("minus infinity") << -infinity;
    QTest::newRow("above one cycle") << 7.5f;
    QTest::newRow("negative") << -0.5f;
}

void TestShakerOscillator::brokenPhaseIsReset()
{
    QFETCH(float, phase);
    OscillatorState state;
    state.phase = phase;
    state.lastTick = 1000;
    AxisForces forces;
    runShakerOscillator(forces, state, OscillatorInput{1010, 20.0f, 4.0f});
    QVERIFY2(std::fabs(state.phase - 0.2f) < 1e-6f, qPrintable(QString::number(state.phase)));
    QVERIFY(std::isfinite(forces.periodic));
}

void TestShakerOscillator::completedCycleDrawsAmplitudeThenFrequencyJitter()
{
    const float first = drawShakerJitter();
    const float second = drawShakerJitter();
    reseedShakerJitter(1);

    OscillatorState state;
    state.phase = 0.95f;
    state.lastTick = 0;
    AxisForces forces;
    runShakerOscillator(forces, state, OscillatorInput{8, 20.0f, 1.0f});
    QCOMPARE(state.amplitudeJitter, first);
    QCOMPARE(state.frequencyJitter, second);
}

void TestShakerOscillator::jitterAppliesFromTheNextStep()
{
    OscillatorState state;
    state.lastTick = 1000;
    state.frequencyJitter = 1.0f;  // doubles 20 Hz to 40 Hz: period 25 ms
    state.amplitudeJitter = -0.5f; // halves the amplitude
    AxisForces forces;
    runShakerOscillator(forces, state, OscillatorInput{1005, 20.0f, 8.0f});
    QVERIFY(std::fabs(state.phase - 0.2f) < 1e-6f);
    QCOMPARE(forces.periodic, sineWave(0.2f, 4.0f));
}

void TestShakerOscillator::largeNegativeJitterKeepsShakerRunningForward_data()
{
    QTest::addColumn<float>("jitter");
    QTest::newRow("factor exactly 0") << -1.0f;
    QTest::newRow("factor negative") << -1.5f;
    QTest::newRow("factor very negative") << -1e20f;
}

void TestShakerOscillator::largeNegativeJitterKeepsShakerRunningForward()
{
    QFETCH(float, jitter);
    OscillatorState state;
    state.lastTick = 1000;
    state.frequencyJitter = jitter;
    state.amplitudeJitter = jitter;
    AxisForces forces;
    // Factor held at 0.1: 20 Hz runs at 2 Hz (period 500 ms), amplitude 10 becomes 1.
    runShakerOscillator(forces, state, OscillatorInput{1050, 20.0f, 10.0f});
    QVERIFY2(std::fabs(state.phase - 0.1f) < 1e-6f, qPrintable(QString::number(state.phase)));
    QCOMPARE(forces.periodic, sineWave(0.1f, 1.0f));
}

void TestShakerOscillator::reseedingRepeatsTheJitterSequence()
{
    float first[5];
    for (float& value : first)
        value = drawShakerJitter();
    reseedShakerJitter(1);
    for (float value : first)
        QCOMPARE(drawShakerJitter(), value);
    reseedShakerJitter(2);
    QVERIFY(drawShakerJitter() != first[0]);
}

void TestShakerOscillator::jitterHasDeviationPointTwo()
{
    const int count = 20000;
    double sum = 0.0;
    double sumSquares = 0.0;
    for (int i = 0; i < count; ++i) {
        const double value = drawShakerJitter();
        QVERIFY(std::isfinite(value));
        sum += value;
        sumSquares += value * value;
    }
    const double mean = sum / count;
    const double deviation = std::sqrt(sumSquares / count - mean * mean);
    QVERIFY2(std::fabs(mean) < 0.01, qPrintable(QString::number(mean)));
    QVERIFY2(std::fabs(deviation - 0.2) < 0.01, qPrintable(QString::number(deviation)));
}

QTEST_GUILESS_MAIN(TestShakerOscillator)
#include "tst_shakeroscillator.moc"
