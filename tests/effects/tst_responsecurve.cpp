#include "curvedescriptor.h"
#include "responsecurve.h"

#include <QJsonDocument>
#include <QTest>

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

ResponseCurve curveOf(std::initializer_list<ResponseCurvePoint> points)
{
    ResponseCurve curve;
    int i = 0;
    for (const ResponseCurvePoint& p : points)
        curve.points[i++] = p;
    curve.set = true;
    return curve;
}

ResponseCurve generic()
{
    ResponseCurve curve;
    curve.setPoints(genericCurveTable);
    return curve;
}

}

class TestResponseCurve : public QObject
{
    Q_OBJECT

private slots:
    void evaluatesPiecewiseLinearAndFlatOutside_data();
    void evaluatesPiecewiseLinearAndFlatOutside();
    void extremePointsNeverGiveInfinity();
    void jsonFormIsElevenInOutObjects();
    void readsArraysOfAnyLength_data();
    void readsArraysOfAnyLength();
    void pointMembersOfWrongTypeReadZero();
    void hugeNumbersClampToFloatRange();
    void everyPointRoundTripsExactly();
    void assignAndSetPointsMarkTheCurveSet();
    void descriptorStoresItsArgumentsWithZeroCurve();
};

void TestResponseCurve::evaluatesPiecewiseLinearAndFlatOutside_data()
{
    QTest::addColumn<ResponseCurve>("curve");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("expected");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    QTest::newRow("inside") << generic() << 50.0f << 50.0f;
    QTest::newRow("between points") << generic() << 31.0f << 31.0f;
    QTest::newRow("below first") << generic() << -150.0f << -100.0f;
    QTest::newRow("above last") << generic() << 250.0f << 100.0f;
    QTest::newRow("at a point") << generic() << -40.0f << -40.0f;
    QTest::newRow("at the first point") << generic() << -100.0f << -100.0f;
    QTest::newRow("NaN gives the last output") << generic() << nan << 100.0f;
    QTest::newRow("minus infinity") << generic() << -inf << -100.0f;
    QTest::newRow("plus infinity") << generic() << inf << 100.0f;
    QTest::newRow("all zero") << ResponseCurve() << 42.0f << 0.0f;

    const ResponseCurve peak = curveOf({{0, 0}, {10, 0}, {20, 6}, {30, 30}, {40, 100}, {50, 30},
                                        {60, 6}, {70, 0}, {80, 0}, {90, 0}, {100, 0}});
    QTest::newRow("rising side") << peak << 35.0f << 65.0f;
    QTest::newRow("falling side") << peak << 45.0f << 65.0f;

    // Inputs that fall back: the first segment that brackets x wins, later ones are not consulted.
    const ResponseCurve folded = curveOf({{0, 0}, {10, 10}, {5, 50}, {20, 20}, {30, 30}, {40, 40},
                                          {50, 50}, {60, 60}, {70, 70}, {80, 80}, {90, 90}});
    QTest::newRow("non-monotonic first bracket") << folded << 8.0f << 8.0f;
    QTest::newRow("non-monotonic later segment") << folded << 12.0f << 36.0f;
    // A repeated input: the zero-width segment never brackets anything.
    const ResponseCurve step = curveOf({{0, 0}, {10, 0}, {10, 100}, {20, 100}, {30, 100}, {40, 100},
                                        {50, 100}, {60, 100}, {70, 100}, {80, 100}, {90, 100}});
    QTest::newRow("step at repeated input") << step << 10.0f << 0.0f;
    QTest::newRow("after the step") << step << 15.0f << 100.0f;
}

void TestResponseCurve::evaluatesPiecewiseLinearAndFlatOutside()
{
    QFETCH(ResponseCurve, curve);
    QFETCH(float, x);
    QFETCH(float, expected);
    QCOMPARE(evaluateResponseCurve(x, curve), expected);
}

void TestResponseCurve::extremePointsNeverGiveInfinity()
{
    ResponseCurve curve = curveOf({{-FLT_MAX, -FLT_MAX}, {FLT_MAX, FLT_MAX}});
    for (int i = 2; i < ResponseCurve::pointCount; ++i)
        curve.points[i] = {FLT_MAX, FLT_MAX};
    for (float x : {-1e38f, 0.0f, 1.0f, 1e38f, FLT_MAX}) {
        const float y = evaluateResponseCurve(x, curve);
        QVERIFY2(std::isfinite(y), qPrintable(QString::number(x)));
    }
    QCOMPARE(evaluateResponseCurve(0.0f, curve), 0.0f);
}

void TestResponseCurve::jsonFormIsElevenInOutObjects()
{
    const QJsonArray array = generic().toJson();
    QCOMPARE(array.size(), 11);
    for (int i = 0; i < array.size(); ++i) {
        QVERIFY(array[i].isObject());
        const QJsonObject point = array[i].toObject();
        QCOMPARE(point.keys(), (QStringList{"in", "out"}));
        QCOMPARE(point.value("in").toDouble(), -100.0 + 20 * i);
        QCOMPARE(point.value("out").toDouble(), -100.0 + 20 * i);
    }
}

void TestResponseCurve::readsArraysOfAnyLength_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("readPoints"); // points 0 .. readPoints-1 are (i, 2i); the rest (0, 0)
    QTest::newRow("empty") << QByteArray("[]") << 0;
    QTest::newRow("short") << QByteArray(R"([{"in":0,"out":0},{"in":1,"out":2},{"in":2,"out":4},{"in":3,"out":6},{"in":4,"out":8}])") << 5;
    QByteArray longArray = "[";
    for (int i = 0; i < 14; ++i)
        longArray += QByteArray(i ? "," : "") + "{\"in\":" + QByteArray::number(i) + ",\"out\":" + QByteArray::number(2 * i) + "}";
    QTest::newRow("long: extra points ignored") << longArray + "]" << 11;
}

void TestResponseCurve::readsArraysOfAnyLength()
{
    QFETCH(QByteArray, json);
    QFETCH(int, readPoints);
    ResponseCurve curve = generic();
    curve.set = false;
    curve.fromJson(QJsonDocument::fromJson(json).array());
    QVERIFY(curve.set);
    for (int i = 0; i < ResponseCurve::pointCount; ++i) {
        const ResponseCurvePoint expected = i < readPoints ? ResponseCurvePoint{float(i), float(2 * i)} : ResponseCurvePoint{};
        QVERIFY2(curve.points[i] == expected, qPrintable(QString::number(i)));
    }
}

void TestResponseCurve::pointMembersOfWrongTypeReadZero()
{
    ResponseCurve curve = generic();
    curve.fromJson(QJsonDocument::fromJson(
        R"([7, null, "p", [1, 2], {"in": "5", "out": true}, {"in": 3}, {"out": 4}, {"in": null, "out": {}},
            {"in": 1.5, "out": -2.5}, true, {}])").array());
    for (int i = 0; i < ResponseCurve::pointCount; ++i) {
        ResponseCurvePoint expected;
        if (i == 5)
            expected = {3, 0};
        else if (i == 6)
            expected = {0, 4};
        else if (i == 8)
            expected = {1.5f, -2.5f};
        QVERIFY2(curve.points[i] == expected, qPrintable(QString::number(i)));
    }
}

void TestResponseCurve::hugeNumbersClampToFloatRange()
{
    ResponseCurve curve;
    curve.fromJson(QJsonDocument::fromJson(R"([{"in": -1e300, "out": 1e39}, {"in": 3.5e38, "out": -1e308}])").array());
    QCOMPARE(curve.points[0].in, -FLT_MAX);
    QCOMPARE(curve.points[0].out, FLT_MAX);
    QCOMPARE(curve.points[1].in, FLT_MAX);
    QCOMPARE(curve.points[1].out, -FLT_MAX);
}

void TestResponseCurve::everyPointRoundTripsExactly()
{
    ResponseCurve curve;
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        curve.points[i] = {std::nextafter(0.1f * i, 1.0f), -1.0f / (i + 3)};
    curve.points[10] = {FLT_MAX, -FLT_MIN};
    curve.set = true;

    const QByteArray text = QJsonDocument(curve.toJson()).toJson(QJsonDocument::Compact);
    ResponseCurve back;
    back.fromJson(QJsonDocument::fromJson(text).array());
    QVERIFY2(back == curve, text.constData());
}

void TestResponseCurve::assignAndSetPointsMarkTheCurveSet()
{
    ResponseCurve unset = generic();
    unset.set = false;
    ResponseCurve target;
    target.assign(unset);
    QVERIFY(target.set);
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        QVERIFY(target.points[i] == genericCurveTable[i]);

    ResponseCurve fresh;
    QVERIFY(!fresh.set);
    fresh.setPoints(genericCurveTable);
    QVERIFY(fresh == generic());
}

void TestResponseCurve::descriptorStoresItsArgumentsWithZeroCurve()
{
    const CurveDescriptor d("Mapping of shaking magnitude", "In (%)", "Out (%)", 1, 2, 3, 4, 5, true, 6, true);
    QCOMPARE(d.title, QString("Mapping of shaking magnitude"));
    QCOMPARE(d.xLabel, QString("In (%)"));
    QCOMPARE(d.yLabel, QString("Out (%)"));
    QCOMPARE(d.xMin, 1.0f);
    QCOMPARE(d.xMax, 2.0f);
    QCOMPARE(d.yMin, 3.0f);
    QCOMPARE(d.yMax, 4.0f);
    QCOMPARE(d.referenceLevel, 5.0f);
    QCOMPARE(d.referenceVisible, true);
    QCOMPARE(d.firstOutput, 6.0f);
    QCOMPARE(d.firstOutputFixed, true);
    QVERIFY(d.curve == ResponseCurve());
}

QTEST_GUILESS_MAIN(TestResponseCurve)
#include "tst_responsecurve.moc"
