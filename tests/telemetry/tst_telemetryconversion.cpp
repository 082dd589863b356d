#include "gearlock.h"
#include "telemetryconversion.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestTelemetryConversion : public QObject
{
    Q_OBJECT

private slots:
    void int32ConversionTruncatesAndSaturates_data();
    void int32ConversionTruncatesAndSaturates();
    void floatConversionDropsNonFiniteAndSaturates_data();
    void floatConversionDropsNonFiniteAndSaturates();
    void nonFiniteFloatBecomesZero_data();
    void nonFiniteFloatBecomesZero();
    void gearLockFollowsLockedPositions_data();
    void gearLockFollowsLockedPositions();
};

void TestTelemetryConversion::int32ConversionTruncatesAndSaturates_data()
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr qint32 max = std::numeric_limits<qint32>::max();
    constexpr qint32 min = std::numeric_limits<qint32>::min();
    QTest::addColumn<double>("value");
    QTest::addColumn<qint32>("expected");
    QTest::newRow("positive fraction truncates down") << 91.9 << 91;
    QTest::newRow("negative fraction truncates up") << -2.7 << -2;
    QTest::newRow("just below 1") << 0.999 << 0;
    QTest::newRow("NaN") << std::nan("") << 0;
    QTest::newRow("+inf") << inf << 0;
    QTest::newRow("-inf") << -inf << 0;
    QTest::newRow("int32 max") << 2147483647.0 << max;
    QTest::newRow("just above int32 max") << 2147483647.5 << max;
    QTest::newRow("2^31") << 2147483648.0 << max;
    QTest::newRow("huge") << 1e300 << max;
    QTest::newRow("int32 min") << -2147483648.0 << min;
    QTest::newRow("fraction below int32 min") << -2147483648.9 << min;
    QTest::newRow("below int32 min") << -2147483649.0 << min;
    QTest::newRow("hugely negative") << -1e300 << min;
}

void TestTelemetryConversion::int32ConversionTruncatesAndSaturates()
{
    QFETCH(double, value);
    QFETCH(qint32, expected);
    QCOMPARE(saturatingToInt32(value), expected);
}

void TestTelemetryConversion::floatConversionDropsNonFiniteAndSaturates_data()
{
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr float fmax = std::numeric_limits<float>::max();
    QTest::addColumn<double>("value");
    QTest::addColumn<float>("expected");
    QTest::newRow("ordinary") << 90.0 << 90.0f;
    QTest::newRow("NaN") << std::nan("") << 0.0f;
    QTest::newRow("+inf") << inf << 0.0f;
    QTest::newRow("-inf") << -inf << 0.0f;
    QTest::newRow("beyond float") << 1e300 << fmax;
    QTest::newRow("beyond negative float") << -1e300 << -fmax;
}

void TestTelemetryConversion::floatConversionDropsNonFiniteAndSaturates()
{
    QFETCH(double, value);
    QFETCH(float, expected);
    const float result = saturatingToFloat(value);
    QVERIFY(std::isfinite(result));
    QCOMPARE(result, expected);
}

void TestTelemetryConversion::nonFiniteFloatBecomesZero_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<float>("expected");
    QTest::newRow("ordinary") << 1.5f << 1.5f;
    QTest::newRow("largest") << std::numeric_limits<float>::max() << std::numeric_limits<float>::max();
    QTest::newRow("NaN") << std::numeric_limits<float>::quiet_NaN() << 0.0f;
    QTest::newRow("+inf") << std::numeric_limits<float>::infinity() << 0.0f;
    QTest::newRow("-inf") << -std::numeric_limits<float>::infinity() << 0.0f;
}

void TestTelemetryConversion::nonFiniteFloatBecomesZero()
{
    QFETCH(float, value);
    QFETCH(float, expected);
    QCOMPARE(finiteOrZero(value), expected);
}

void TestTelemetryConversion::gearLockFollowsLockedPositions_data()
{
    QTest::addColumn<int>("previous");
    QTest::addColumn<int>("gear");
    QTest::addColumn<bool>("lock");
    QTest::newRow("leaves up") << 0 << 37 << true;
    QTest::newRow("moving") << 37 << 80 << false;
    QTest::newRow("reaches down") << 80 << 100 << true;
    QTest::newRow("leaves down") << 100 << 95 << true;
    QTest::newRow("reaches up") << 50 << 0 << true;
    QTest::newRow("stays down") << 100 << 100 << false;
    QTest::newRow("stays up") << 0 << 0 << false;
    QTest::newRow("99 to 100") << 99 << 100 << true;
    QTest::newRow("up to down at once") << 0 << 100 << true;
}

void TestTelemetryConversion::gearLockFollowsLockedPositions()
{
    QFETCH(int, previous);
    QFETCH(int, gear);
    QFETCH(bool, lock);
    QCOMPARE(isGearLockChange(previous, gear), lock);
}

QTEST_GUILESS_MAIN(TestTelemetryConversion)
#include "tst_telemetryconversion.moc"
