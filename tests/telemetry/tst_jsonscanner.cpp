#include "jsonscanner.h"
#include "jsonscannercheck.h"

#include <QTest>

// The scanner must read every text as Qt's parser does, since the telemetry it replaces
// Qt's parser for must not change. Each row is checked against Qt itself; the expected
// outcome is written down too, so that a change of either shows.
class TestJsonScanner : public QObject
{
    Q_OBJECT

private slots:
    void readsAsQtDoes_data();
    void readsAsQtDoes();
    void valuesOfAnotherTypeGiveTheFallback();
};

void TestJsonScanner::readsAsQtDoes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("accepted");

    const auto row = [](const char* name, const QByteArray& text, bool accepted) {
        QTest::newRow(name) << text << accepted;
    };
    row("empty object", "{}", true);
    row("white space", " \t\r\n{ \"a\" : 1 , \"b\" :[ ] }\n ", true);
    row("form feed is not white space", "{\"a\":1}\f", false);
    row("byte-order mark", "\xEF\xBB\xBF{\"a\":1}", true);
    row("byte-order mark after a blank", " \xEF\xBB\xBF{\"a\":1}", false);
    row("two byte-order marks", "\xEF\xBB\xBF\xEF\xBB\xBF{}", false);
    row("top-level array", "[1]", false);
    row("nothing", "", false);
    row("a NUL after the object", QByteArray("{\"a\":1}\0", 8), false);
    row("unterminated", "{\"a\":1", false);
    row("trailing comma", "{\"a\":1,}", false);
    row("trailing comma in an array", "{\"a\":[1,]}", false);
    row("missing colon", "{\"a\" 1}", false);
    row("key not a string", "{1:2}", false);
    row("wrong closing bracket", "{\"a\":[1}", false);
    row("nested values", "{\"a\":[1,[2,{\"x\":3}],\"s\",true,false,null],\"b\":{\"c\":{}}}", true);
    row("literals", "{\"a\":true,\"b\":false,\"c\":null}", true);
    row("cut literal", "{\"a\":tru}", false);
    row("literal run on", "{\"a\":truex}", false);

    row("integer", "{\"a\":-42}", true);
    row("negative zero", "{\"a\":-0}", true);
    row("negative zero as a double", "{\"a\":-0.0}", true);
    row("largest 64-bit integer", "{\"a\":9223372036854775807}", true);
    row("past 64 bits", "{\"a\":9223372036854775808}", true);
    row("smallest 64-bit integer", "{\"a\":-9223372036854775808}", true);
    row("below 64 bits", "{\"a\":-9223372036854775809}", true);
    row("integer beyond a double's precision", "{\"a\":9007199254740993}", true);
    row("thirty digits", "{\"a\":123456789012345678901234567890}", true);
    row("whole double", "{\"a\":1.000}", true);
    row("exponent", "{\"a\":1.5E+3}", true);
    row("point without decimals", "{\"a\":1.}", true);
    row("point without integer", "{\"a\":.5}", true);
    row("point alone", "{\"a\":.}", false);
    row("minus alone", "{\"a\":-}", false);
    row("plus sign", "{\"a\":+1}", false);
    row("leading zero", "{\"a\":01}", false);
    row("exponent without digits", "{\"a\":1e}", false);
    row("second point", "{\"a\":1.5.5}", false);
    row("too large", "{\"a\":1e400}", false);
    row("largest double", "{\"a\":1.797693134862315807e308}", true);
    row("just past the largest double", "{\"a\":1.797693134862315808e308}", false);
    row("smallest denormal", "{\"a\":4.9e-324}", true);
    row("just above half the smallest denormal", "{\"a\":2.4703282292062328e-324}", true);
    row("just below half the smallest denormal", "{\"a\":2.4703282292062327e-324}", false);
    row("too small", "{\"a\":-1e-400}", false);
    row("zero with a huge exponent", "{\"a\":0e-99999999999999999999}", true);
    row("huge exponent", "{\"a\":1e99999999999999999999}", false);
    row("small through its digits", "{\"a\":0.0000000000000000000000000001e-300}", false);
    row("large through its digits", "{\"a\":1234567890123456789012345678901234567890e-350}", true);

    row("control characters in a string", "{\"a\":\"\x01\t\x7f\"}", true);
    row("escapes", "{\"a\":\"\\b\\f\\n\\r\\t\\/\\\\\\\"\"}", true);
    row("unknown escape", "{\"a\":\"\\x\\U0041\"}", true);
    row("escaped byte above ASCII", "{\"a\":\"\\\xff\"}", true);
    row("escaped first byte of a sequence", "{\"a\":\"\\\xc3\xa9\"}", false);
    row("unicode escape", "{\"a\":\"\\u00e9\\u004A\"}", true);
    row("lone surrogate escape", "{\"a\":\"\\udc00\\ud800\"}", true);
    row("short unicode escape", "{\"a\":\"\\u12\"}", false);
    row("unicode escape not hexadecimal", "{\"a\":\"\\u12g4\"}", false);
    row("backslash at the end", "{\"a\":\"\\", false);
    row("unterminated string", "{\"a\":\"abc", false);
    row("UTF-8", "{\"\xc3\xa9\":\"\xe2\x82\xac\xf0\x9f\x98\x80\"}", true);
    row("largest code point", "{\"a\":\"\xf4\x8f\xbf\xbf\"}", true);
    row("invalid byte", "{\"a\":\"\xff\"}", false);
    row("overlong two bytes", "{\"a\":\"\xc0\x80\"}", false);
    row("overlong three bytes", "{\"a\":\"\xe0\x9f\xbf\"}", false);
    row("overlong four bytes", "{\"a\":\"\xf0\x8f\xbf\xbf\"}", false);
    row("surrogate in UTF-8", "{\"a\":\"\xed\xa0\x80\"}", false);
    row("above the largest code point", "{\"a\":\"\xf4\x90\x80\x80\"}", false);
    row("cut sequence", "{\"a\":\"\xe2\x82\"}", false);
    row("escaped key", "{\"\\u0061\":5}", true);
    // Qt drops a byte-order mark at the start of a string only when it has no escapes.
    row("byte-order mark starting a key", "{\"\xEF\xBB\xBF" "a\":1}", true);
    row("byte-order marks starting a string", "{\"a\":\"\xEF\xBB\xBF\xEF\xBB\xBFx\"}", true);
    row("byte-order mark inside a string", "{\"a\":\"y\xEF\xBB\xBFx\"}", true);
    row("byte-order mark starting a string with escapes", "{\"a\":\"\xEF\xBB\xBF\\nx\"}", true);
    row("byte-order mark after an escape", "{\"a\":\"\\n\xEF\xBB\xBFx\"}", true);
    // It tells keys apart with the mark kept: these are two members, and "name" is the first.
    row("key that differs by a byte-order mark", "{\"name\":\"A\",\"\xEF\xBB\xBF" "name\":\"B\"}", true);
    row("empty key and a byte-order mark", "{\"\":1,\"\xEF\xBB\xBF\":2}", true);

    // Qt keeps the last of duplicate members, an escaped key among them.
    row("duplicate members", R"({"a":"x","b":1,"\u0061":2,"c":[],"a":3})", true);
    // The object and depth - 1 arrays inside it.
    const auto nested = [](int depth) {
        return "{\"a\":" + QByteArray(depth - 1, '[') + QByteArray(depth - 1, ']') + "}";
    };
    row("at the nesting limit", nested(JsonScanner::nestingLimit), true);
    row("one past the nesting limit", nested(JsonScanner::nestingLimit + 1), false);
}

void TestJsonScanner::readsAsQtDoes()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, accepted);

    // A scanner that has read an object before: a refused text leaves none of its values.
    JsonScanner scanner;
    QVERIFY(scanner.scanObject(R"({"a":1})"));
    const QString difference = differenceFromQt(scanner, text);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QCOMPARE(scanner.scanObject(text), accepted);
}

void TestJsonScanner::valuesOfAnotherTypeGiveTheFallback()
{
    JsonScanner scanner;
    QVERIFY(scanner.scanObject(R"({"s":"12","n":2.5,"big":3e10,"b":true,"a":[1]})"));
    const QLatin1String keys[] = {QLatin1String("s"), QLatin1String("n"), QLatin1String("big"),
                                  QLatin1String("b"), QLatin1String("a"), QLatin1String("none")};
    int v[6];
    scanner.findMembers(JsonScanner::rootObject, keys, 6, v);
    QCOMPARE(v[5], JsonScanner::noValue);
    QCOMPARE(scanner.toDouble(v[0], -1.0), -1.0);
    QCOMPARE(scanner.toInt(v[1], -1), -1);      // not whole
    QCOMPARE(scanner.toInt(v[2], -1), -1);      // beyond an int
    QCOMPARE(scanner.toInteger(v[2]), std::optional<qint64>(30000000000));
    QCOMPARE(scanner.toString(v[3], "x"), QString("x"));
    QCOMPARE(scanner.toBool(v[3], false), true);
    QCOMPARE(scanner.firstElement(v[0]), JsonScanner::noValue);
    QCOMPARE(scanner.toInt(scanner.firstElement(v[4]), -1), 1);
    QVERIFY(!scanner.unescapedString(v[1]));
    QCOMPARE(*scanner.unescapedString(v[0]), QByteArrayView("12"));
}

QTEST_GUILESS_MAIN(TestJsonScanner)
#include "tst_jsonscanner.moc"
