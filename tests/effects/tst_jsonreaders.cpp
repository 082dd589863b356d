#include "jsonreaders.h"

#include <QJsonDocument>
#include <QTest>

namespace {
QJsonObject parse(const char* text)
{
    return QJsonDocument::fromJson(text).object();
}
}

class TestJsonReaders : public QObject
{
    Q_OBJECT

private slots:
    void intReader_data();
    void intReader();
    void doubleReader_data();
    void doubleReader();
    void boolReader_data();
    void boolReader();
    void stringReader_data();
    void stringReader();
    void arrayReaderNeverGivesNull_data();
    void arrayReaderNeverGivesNull();
};

void TestJsonReaders::intReader_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("expected");
    QTest::newRow("whole number") << QByteArray(R"({"x": 12})") << 12;
    QTest::newRow("negative") << QByteArray(R"({"x": -7})") << -7;
    QTest::newRow("whole double") << QByteArray(R"({"x": 3.0})") << 3;
    QTest::newRow("fraction") << QByteArray(R"({"x": 12.5})") << -99;
    QTest::newRow("string") << QByteArray(R"({"x": "12"})") << -99;
    QTest::newRow("true") << QByteArray(R"({"x": true})") << -99;
    QTest::newRow("null") << QByteArray(R"({"x": null})") << -99;
    QTest::newRow("array") << QByteArray(R"({"x": [1]})") << -99;
    QTest::newRow("object") << QByteArray(R"({"x": {"y": 1}})") << -99;
    QTest::newRow("missing") << QByteArray(R"({"y": 1})") << -99;
    QTest::newRow("int max") << QByteArray(R"({"x": 2147483647})") << 2147483647;
    QTest::newRow("int min") << QByteArray(R"({"x": -2147483648})") << int(-2147483647 - 1);
    QTest::newRow("above int") << QByteArray(R"({"x": 2147483648})") << -99;
    QTest::newRow("below int") << QByteArray(R"({"x": -2147483649})") << -99;
    QTest::newRow("2^32 does not wrap to 0") << QByteArray(R"({"x": 4294967296})") << -99;
    QTest::newRow("beyond 64 bits") << QByteArray(R"({"x": 1e300})") << -99;
}

void TestJsonReaders::intReader()
{
    QFETCH(QByteArray, json);
    QFETCH(int, expected);
    QCOMPARE(readJsonInt(parse(json), "x", -99), expected);
}

void TestJsonReaders::doubleReader_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<double>("expected");
    QTest::newRow("integer") << QByteArray(R"({"x": 3})") << 3.0;
    QTest::newRow("fraction") << QByteArray(R"({"x": -0.25})") << -0.25;
    QTest::newRow("huge") << QByteArray(R"({"x": 1e300})") << 1e300;
    QTest::newRow("string") << QByteArray(R"({"x": "3"})") << 8.5;
    QTest::newRow("bool") << QByteArray(R"({"x": false})") << 8.5;
    QTest::newRow("null") << QByteArray(R"({"x": null})") << 8.5;
    QTest::newRow("array") << QByteArray(R"({"x": [3]})") << 8.5;
    QTest::newRow("object") << QByteArray(R"({"x": {"x": 3}})") << 8.5;
    QTest::newRow("missing") << QByteArray(R"({})") << 8.5;
}

void TestJsonReaders::doubleReader()
{
    QFETCH(QByteArray, json);
    QFETCH(double, expected);
    QCOMPARE(readJsonDouble(parse(json), "x", 8.5), expected);
}

void TestJsonReaders::boolReader_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("fallback");
    QTest::addColumn<bool>("expected");
    QTest::newRow("true") << QByteArray(R"({"x": true})") << false << true;
    QTest::newRow("false") << QByteArray(R"({"x": false})") << true << false;
    QTest::newRow("integer 1 is not true") << QByteArray(R"({"x": 1})") << false << false;
    QTest::newRow("integer 0 is not false") << QByteArray(R"({"x": 0})") << true << true;
    QTest::newRow("string") << QByteArray(R"({"x": "true"})") << false << false;
    QTest::newRow("null") << QByteArray(R"({"x": null})") << true << true;
    QTest::newRow("array") << QByteArray(R"({"x": [true]})") << false << false;
    QTest::newRow("object") << QByteArray(R"({"x": {"x": true}})") << false << false;
    QTest::newRow("missing") << QByteArray(R"({})") << true << true;
}

void TestJsonReaders::boolReader()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, fallback);
    QFETCH(bool, expected);
    QCOMPARE(readJsonBool(parse(json), "x", fallback), expected);
}

void TestJsonReaders::stringReader_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("expected");
    QTest::newRow("string") << QByteArray(R"({"x": "F-16C"})") << QString("F-16C");
    QTest::newRow("empty string") << QByteArray(R"({"x": ""})") << QString("");
    QTest::newRow("number") << QByteArray(R"({"x": 5})") << QString("fallback");
    QTest::newRow("null") << QByteArray(R"({"x": null})") << QString("fallback");
    QTest::newRow("bool") << QByteArray(R"({"x": true})") << QString("fallback");
    QTest::newRow("array") << QByteArray(R"({"x": ["F-16C"]})") << QString("fallback");
    QTest::newRow("object") << QByteArray(R"({"x": {"x": "F-16C"}})") << QString("fallback");
    QTest::newRow("missing") << QByteArray(R"({})") << QString("fallback");
}

void TestJsonReaders::stringReader()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, expected);
    QCOMPARE(readJsonString(parse(json), "x", "fallback"), expected);
}

void TestJsonReaders::arrayReaderNeverGivesNull_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<int>("size");
    QTest::newRow("array") << QByteArray(R"({"x": [1, 2, 3]})") << 3;
    QTest::newRow("empty array") << QByteArray(R"({"x": []})") << 0;
    QTest::newRow("object") << QByteArray(R"({"x": {"a": 1}})") << 0;
    QTest::newRow("null") << QByteArray(R"({"x": null})") << 0;
    QTest::newRow("number") << QByteArray(R"({"x": 3})") << 0;
    QTest::newRow("string") << QByteArray(R"({"x": "[1]"})") << 0;
    QTest::newRow("bool") << QByteArray(R"({"x": true})") << 0;
    QTest::newRow("missing") << QByteArray(R"({})") << 0;
}

void TestJsonReaders::arrayReaderNeverGivesNull()
{
    QFETCH(QByteArray, json);
    QFETCH(int, size);
    const QJsonArray array = readJsonArray(parse(json), "x");
    QCOMPARE(array.size(), size);
}

QTEST_GUILESS_MAIN(TestJsonReaders)
#include "tst_jsonreaders.moc"
