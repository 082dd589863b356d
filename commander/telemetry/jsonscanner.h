#pragma once

#include <QByteArrayView>
#include <QLatin1String>
#include <QString>

#include <optional>
#include <vector>

// Reads JSON text as QJsonDocument::fromJson does: the same texts are refused and the
// same values come out, but no document is built. One pass notes where each value
// lies; only the values asked for are converted. Datagrams are parsed on the thread
// of the 2 ms force loop, and building a document of a 64 KiB datagram takes too long.
// A scanner keeps its buffers between texts; a value index is valid until the next scan.
class JsonScanner
{
public:
    enum Type : quint8 { NO_VALUE, NULL_VALUE, BOOL_VALUE, NUMBER, STRING, ARRAY, OBJECT };

    static constexpr int noValue = -1;
    static constexpr int rootObject = 0;
    // Containers nested deeper than this are refused, as Qt's parser refuses them.
    static constexpr int nestingLimit = 1024;

    // True when text is a JSON object that Qt's parser accepts; value rootObject is then
    // that object. Any other text, a valid top-level array included, leaves no values.
    bool scanObject(QByteArrayView text);

    // NO_VALUE for noValue.
    Type type(int value) const
    {
        return value >= 0 && value < tokenCount ? tokens[size_t(value)].type : NO_VALUE;
    }

    // For each of count keys, the value of the last member of object with that name
    // (as Qt keeps the last of duplicate members), or noValue.
    void findMembers(int object, const QLatin1String* keys, int count, int* values) const;

    // The elements of an array in order: firstElement, then nextElement until noValue.
    int firstElement(int array) const
    {
        const Type container = type(array);
        if (container != ARRAY && container != OBJECT)
            return noValue;
        return tokens[size_t(array)].next > array + 1 ? array + 1 : noValue;
    }
    int nextElement(int array, int element) const
    {
        const int next = tokens[size_t(element)].next;
        return next < tokens[size_t(array)].next ? next : noValue;
    }
    // The keys and values of an object in text order, duplicates included.
    int firstKey(int object) const { return firstElement(object); }
    int valueOfKey(int key) const { return key + 1; }
    int nextKey(int object, int key) const { return nextElement(object, key + 1); }

    // Conversions as QJsonValue and the effect model's readers (readJsonDouble and its
    // kin) make them; noValue or a value of another type gives the fallback.
    double toDouble(int value, double fallback) const;
    // A number that is not whole or does not fit an int gives the fallback.
    int toInt(int value, int fallback) const;
    QString toString(int value, const QString& fallback) const;
    bool toBool(int value, bool fallback) const;
    // The value as it stands in the text (a string without its quotes).
    QByteArrayView rawText(int value) const;
    // The UTF-8 text of a string without escapes, as toString decodes it; else nothing.
    std::optional<QByteArrayView> unescapedString(int value) const;
    // A whole number that fits 64 bits, as QJsonValue::toInteger takes it; else nothing.
    std::optional<qint64> toInteger(int value) const;

private:
    struct Token
    {
        int begin; // first byte of the value (strings: after the quote)
        int end;   // strings: the closing quote; containers: after the bracket
        int next;  // the token after this value and everything inside it
        Type type;
        // Strings: holds a backslash. Numbers: digits only (Qt keeps it as a 64-bit
        // integer when it fits). Bools: true.
        bool flag;
    };

    bool scan(const char* begin, const char* end);
    QByteArrayView utf8Text(const Token& string) const;
    bool keyEquals(const Token& key, QLatin1String name) const;
    std::optional<qint64> integerOf(const Token& token) const;

    const char* text = nullptr;
    // tokens holds room for the longest text scanned so far; tokenCount are in use.
    std::vector<Token> tokens;
    int tokenCount = 0;
    std::vector<int> open; // the containers not yet closed, innermost last
};
