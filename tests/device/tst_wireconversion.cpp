#include "wireconversion.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();
}

class TestWireConversion : public QObject
{
    Q_OBJECT

private slots:
    void forceIsLimitedBeforeTheFade_data();
    void forceIsLimitedBeforeTheFade();
    void damperSaturatesAtInt16_data();
    void damperSaturatesAtInt16();
    void dampeningIsScaledByStrength_data();
    void dampeningIsScaledByStrength();
    void curvePointSaturatesAtInt16_data();
    void curvePointSaturatesAtInt16();
    void hardwareTrimStaysWithinFullTravel_data();
    void hardwareTrimStaysWithinFullTravel();
    void forceReleaseStaysAPercentage_data();
    void forceReleaseStaysAPercentage();
    void byteFieldsClampInsteadOfWrapping_data();
    void byteFieldsClampInsteadOfWrapping();
};

void TestWireConversion::forceIsLimitedBeforeTheFade_data()
{
    QTest::addColumn<float>("percent");
    QTest::addColumn<float>("fade");
    QTest::addColumn<int>("expected");
    QTest::newRow("150 % at full fade") << 150.0f << 1.0f << 10000;
    QTest::newRow("-250 % at full fade") << -250.0f << 1.0f << -10000;
    QTest::newRow("fraction truncates") << 12.345f << 1.0f << 1234;
    QTest::newRow("tiny negative truncates to 0") << -0.009f << 1.0f << 0;
    QTest::newRow("exactly 100 %") << 100.0f << 1.0f << 10000;
    QTest::newRow("exactly -100 %") << -100.0f << 1.0f << -10000;
    QTest::newRow("40 % half faded") << 40.0f << 0.5f << 2000;
    QTest::newRow("saturated force still fades in") << 150.0f << 0.5f << 5000;
    QTest::newRow("saturated negative force fades in") << -400.0f << 0.25f << -2500;
    QTest::newRow("nothing at the start of a fade") << 80.0f << 0.0f << 0;
    QTest::newRow("NaN force") << notANumber << 1.0f << 0;
    QTest::newRow("infinite force") << inf << 1.0f << 10000;
    QTest::newRow("negative infinite force") << -inf << 1.0f << -10000;
    QTest::newRow("NaN fade") << 50.0f << notANumber << 0;
    QTest::newRow("fade above 1") << 50.0f << 3.0f << 5000;
    QTest::newRow("negative fade") << 50.0f << -1.0f << 0;
    QTest::newRow("infinite force with no fade") << inf << 0.0f << 0;
}

void TestWireConversion::forceIsLimitedBeforeTheFade()
{
    QFETCH(float, percent);
    QFETCH(float, fade);
    QFETCH(int, expected);
    QCOMPARE(int(toWireForce(percent, fade)), expected);
}

void TestWireConversion::damperSaturatesAtInt16_data()
{
    QTest::addColumn<float>("percent");
    QTest::addColumn<float>("fade");
    QTest::addColumn<int>("expected");
    QTest::newRow("150 % is not limited at 100 %") << 150.0f << 1.0f << 15000;
    QTest::newRow("half faded") << 150.0f << 0.5f << 7500;
    QTest::newRow("top of int16") << 327.67f << 1.0f << 32767;
    QTest::newRow("beyond int16 saturates") << 400.0f << 1.0f << 32767;
    QTest::newRow("below int16 saturates") << -400.0f << 1.0f << -32768;
    QTest::newRow("far beyond does not wrap") << 1e9f << 1.0f << 32767;
    QTest::newRow("NaN") << notANumber << 1.0f << 0;
    QTest::newRow("infinite") << inf << 1.0f << 32767;
    QTest::newRow("NaN fade") << 20.0f << notANumber << 0;
}

void TestWireConversion::damperSaturatesAtInt16()
{
    QFETCH(float, percent);
    QFETCH(float, fade);
    QFETCH(int, expected);
    QCOMPARE(int(toWireDamper(percent, fade)), expected);
}

void TestWireConversion::dampeningIsScaledByStrength_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("expected");
    QTest::newRow("30.5 at 50 %") << 30.5f << 50 << 15;
    QTest::newRow("full strength") << 1000.0f << 100 << 1000;
    QTest::newRow("no strength") << 1000.0f << 0 << 0;
    QTest::newRow("beyond int16") << 30000.0f << 200 << 32767;
    QTest::newRow("below int16") << -30000.0f << 200 << -32768;
    QTest::newRow("NaN value") << notANumber << 100 << 0;
    QTest::newRow("infinite value, no strength") << inf << 0 << 0;
}

void TestWireConversion::dampeningIsScaledByStrength()
{
    QFETCH(float, value);
    QFETCH(int, strength);
    QFETCH(int, expected);
    QCOMPARE(int(toWireInt16(strengthScaled(value, strength))), expected);
}

void TestWireConversion::curvePointSaturatesAtInt16_data()
{
    QTest::addColumn<float>("percent");
    QTest::addColumn<int>("expected");
    QTest::newRow("-37.5") << -37.5f << -3750;
    QTest::newRow("12.34") << 12.34f << 1234;
    QTest::newRow("100") << 100.0f << 10000;
    QTest::newRow("-0.005 truncates to 0") << -0.005f << 0;
    QTest::newRow("above int16") << 400.0f << 32767;
    QTest::newRow("below int16") << -400.0f << -32768;
    QTest::newRow("NaN") << notANumber << 0;
    QTest::newRow("negative infinite") << -inf << -32768;
}

void TestWireConversion::curvePointSaturatesAtInt16()
{
    QFETCH(float, percent);
    QFETCH(int, expected);
    QCOMPARE(int(toWireCurvePoint(percent)), expected);
}

void TestWireConversion::hardwareTrimStaysWithinFullTravel_data()
{
    QTest::addColumn<int>("trim");
    QTest::addColumn<int>("expected");
    QTest::newRow("inside") << -1234 << -1234;
    QTest::newRow("top") << 10000 << 10000;
    QTest::newRow("above") << 10001 << 10000;
    QTest::newRow("below") << -10001 << -10000;
    QTest::newRow("int max does not wrap") << std::numeric_limits<int>::max() << 10000;
    QTest::newRow("int min does not wrap") << std::numeric_limits<int>::min() << -10000;
    QTest::newRow("low 16 bits would be 0") << 65536 << 10000;
}

void TestWireConversion::hardwareTrimStaysWithinFullTravel()
{
    QFETCH(int, trim);
    QFETCH(int, expected);
    QCOMPARE(int(toWireHardwareTrim(trim)), expected);
}

void TestWireConversion::forceReleaseStaysAPercentage_data()
{
    QTest::addColumn<float>("percent");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << 0.0f << 0;
    QTest::newRow("fraction truncates") << 50.9f << 50;
    QTest::newRow("full") << 100.0f << 100;
    QTest::newRow("above full") << 101.0f << 100;
    QTest::newRow("above a byte") << 300.0f << 100;
    QTest::newRow("negative") << -5.0f << 0;
    QTest::newRow("NaN") << notANumber << 0;
    QTest::newRow("infinite") << inf << 100;
}

void TestWireConversion::forceReleaseStaysAPercentage()
{
    QFETCH(float, percent);
    QFETCH(int, expected);
    QCOMPARE(int(toWireForceRelease(percent)), expected);
}

void TestWireConversion::byteFieldsClampInsteadOfWrapping_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("strength");
    QTest::addColumn<int>("expected");
    QTest::newRow("DirectX 80 at 50 %") << 80.0f << 50 << 40;
    QTest::newRow("fraction truncates") << 33.0f << 50 << 16;
    QTest::newRow("top of a byte") << 255.0f << 100 << 255;
    QTest::newRow("256 is not its low byte 0") << 256.0f << 100 << 255;
    QTest::newRow("300 is not its low byte 44") << 300.0f << 100 << 255;
    QTest::newRow("negative is not its low byte") << -1.0f << 100 << 0;
    QTest::newRow("negative strength") << 50.0f << -100 << 0;
    QTest::newRow("NaN") << notANumber << 100 << 0;
    QTest::newRow("infinite") << inf << 100 << 255;
}

void TestWireConversion::byteFieldsClampInsteadOfWrapping()
{
    QFETCH(float, value);
    QFETCH(int, strength);
    QFETCH(int, expected);
    QCOMPARE(int(toWireByte(strengthScaled(value, strength))), expected);
}

QTEST_GUILESS_MAIN(TestWireConversion)
#include "tst_wireconversion.moc"
