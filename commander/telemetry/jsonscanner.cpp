#include "jsonscanner.h"

#include <QStringDecoder>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

namespace {

constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The value of each byte as a hexadecimal digit, -1 for the others.
struct HexDigits
{
    signed char value[256];
    constexpr HexDigits()
        : value{}
    {
        for (int c = 0; c < 256; ++c) {
            value[c] = c >= '0' && c <= '9' ? c - '0'
                : c >= 'a' && c <= 'f'      ? c - 'a' + 10
                : c >= 'A' && c <= 'F'      ? c - 'A' + 10
                                            : -1;
        }
    }
};
constexpr HexDigits hexDigits;

int hexValue(char c)
{
    return hexDigits.value[static_cast<unsigned char>(c)];
}

// Length of the well-formed UTF-8 sequence that starts at s (no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0.
int utf8SequenceLength(const unsigned char* s, int available)
{
    const unsigned char lead = s[0];
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (available < length || s[1] < low || s[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (s[i] < 0x80 || s[i] > 0xBF)
            return 0;
    }
    return length;
}

// The code unit that an escape sequence at s (after the backslash) stands for; the
// sequence's length goes to length, 0 when Qt's parser refuses it. Like Qt, an unknown
// escape stands for the byte that follows the backslash.
char16_t unescape(const char* s, int available, int* length)
{
    *length = 1;
    switch (s[0]) {
    case 'b': return u'\b';
    case 'f': return u'\f';
    case 'n': return u'\n';
    case 'r': return u'\r';
    case 't': return u'\t';
    case 'u': {
        if (available < 5) {
            *length = 0;
            return 0;
        }
        const int d1 = hexValue(s[1]), d2 = hexValue(s[2]), d3 = hexValue(s[3]), d4 = hexValue(s[4]);
        if ((d1 | d2 | d3 | d4) < 0) {
            *length = 0;
            return 0;
        }
        *length = 5;
        return char16_t(d1 << 12 | d2 << 8 | d3 << 4 | d4);
    }
    default:
        return char16_t(static_cast<unsigned char>(s[0]));
    }
}

// Whether a number written with these digits lies beyond what a double holds, as
// Qt's conversion decides: too large, or so small that it would round to zero.
// Only the two decades where the limits lie need the conversion itself.
bool numberOutOfRange(const char* begin, const char* end, int leadingExponent)
{
    if (leadingExponent > -324 && leadingExponent < 308)
        return false;
    if (leadingExponent > 308 || leadingExponent < -324)
        return true;
    double value = 0.0;
    return std::from_chars(begin, end, value).ec != std::errc();
}

bool isWhitespace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

inline const char* skipWhitespace(const char* p, const char* end)
{
    while (p < end && isWhitespace(*p))
        ++p;
    return p;
}

// The closing quote of a string whose text starts at p, or null when Qt refuses it.
// escaped tells whether the text holds a backslash.
const char* scanStringText(const char* p, const char* end, bool* escaped)
{
    while (p < end) {
        const auto c = static_cast<unsigned char>(*p);
        if (c == '"')
            return p;
        if (c < 0x80 && c != '\\') {
            // Control characters are taken as they are, as Qt takes them.
            ++p;
        } else if (c == '\\') {
            *escaped = true;
            if (++p == end)
                return nullptr;
            int length = 0;
            unescape(p, int(end - p), &length);
            if (length == 0)
                return nullptr;
            p += length;
        } else {
            const int length = utf8SequenceLength(reinterpret_cast<const unsigned char*>(p), int(end - p));
            if (length == 0)
                return nullptr;
            p += length;
        }
    }
    return nullptr;
}

// The end of the number that starts at p, or null when Qt refuses it. Qt's grammar:
// "-"? ("0" | digit*) ("." digit*)? ([eE] [+-]? digit*)?; then the text must convert:
// a digit before the exponent, one after it if there is one, and a finite value that
// does not round to zero unless it is zero. digitsOnly: no point and no exponent.
const char* scanNumberText(const char* p, const char* end, bool* digitsOnly)
{
    // The common case first: up to 18 digits, no point, no exponent.
    const char* digits = p;
    if (digits < end && *digits == '0') {
        ++digits;
    } else {
        while (digits < end && isDigit(*digits))
            ++digits;
    }
    if (digits > p && digits - p <= 18 && digits < end && *digits != '.' && *digits != 'e'
        && *digits != 'E') {
        *digitsOnly = true;
        return digits;
    }

    const char* const begin = p;
    if (*p == '-')
        ++p;
    const char* const integerBegin = p;
    if (p < end && *p == '0') {
        ++p;
    } else {
        while (p < end && isDigit(*p))
            ++p;
    }
    const long integerDigits = p - integerBegin;
    long fractionDigits = 0;
    long firstSignificantFraction = -1;
    *digitsOnly = true;
    if (p < end && *p == '.') {
        *digitsOnly = false;
        const char* const fractionBegin = ++p;
        for (; p < end && isDigit(*p); ++p) {
            if (firstSignificantFraction < 0 && *p != '0')
                firstSignificantFraction = p - fractionBegin;
        }
        fractionDigits = p - fractionBegin;
    }
    long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        *digitsOnly = false;
        ++p;
        bool exponentNegative = false;
        if (p < end && (*p == '-' || *p == '+'))
            exponentNegative = *p++ == '-';
        const char* const exponentBegin = p;
        for (; p < end && isDigit(*p); ++p)
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000L);
        if (p == exponentBegin)
            return nullptr;
        if (exponentNegative)
            exponent = -exponent;
    }
    // A number that runs to the end of the text is refused.
    if (p == end || integerDigits + fractionDigits == 0)
        return nullptr;

    // Up to 18 digits always fit 64 bits; anything else must be within a double's range,
    // which the decade of its first significant digit decides. Zero is always in range.
    if (!*digitsOnly || integerDigits > 18) {
        const bool integerSignificant = integerDigits > 0 && *integerBegin != '0';
        if (integerSignificant || firstSignificantFraction >= 0) {
            const long leading = integerSignificant ? integerDigits - 1 + exponent
                                                    : exponent - firstSignificantFraction - 1;
            if (numberOutOfRange(begin, p, int(std::clamp(leading, -100000L, 100000L))))
                return nullptr;
        }
    }
    return p;
}

bool startsWith(const char* p, const char* end, const char* literal, int length)
{
    return end - p >= length && std::memcmp(p, literal, size_t(length)) == 0;
}

} // namespace

bool JsonScanner::scanObject(QByteArrayView input)
{
    tokenCount = 0;
    open.clear();
    text = input.data();
    if (input.size() >= std::numeric_limits<int>::max())
        return false;
    const char* p = input.data();
    const char* const end = p + input.size();
    if (input.startsWith(byteOrderMark))
        p += byteOrderMark.size();
    p = skipWhitespace(p, end);
    // A top-level array gives no object whether it is valid or not: no need to read it.
    if (p == end || *p != '{')
        return false;
    if (!scan(p, end)) {
        tokenCount = 0;
        return false;
    }
    return true;
}

bool JsonScanner::scan(const char* p, const char* const end)
{
    // Every value takes a byte at least, so the tokens never outgrow this.
    const size_t room = size_t(end - text) + 1;
    if (tokens.size() < room)
        tokens.resize(room);
    Token* const out = tokens.data();
    int count = 0;
    const auto add = [&](Type type, const char* begin, const char* valueEnd, bool flag) {
        out[count] = {int(begin - text), int(valueEnd - text), count + 1, type, flag};
        ++count;
    };
    if (open.capacity() < size_t(nestingLimit))
        open.reserve(size_t(nestingLimit));

    // p is at the root's "{".
    open.push_back(count);
    add(OBJECT, p, p + 1, false);
    ++p;
    bool inObject = true;
    bool justOpened = true;
    for (;;) {
        // A member or an element starts here, or a closing bracket right after its opening one.
        p = skipWhitespace(p, end);
        if (p == end)
            return false;
        bool closing = justOpened && *p == (inObject ? '}' : ']');
        if (!closing) {
            if (inObject) {
                bool escaped = false;
                const char* const quote = *p == '"' ? scanStringText(p + 1, end, &escaped) : nullptr;
                if (!quote)
                    return false;
                add(STRING, p + 1, quote, escaped);
                p = skipWhitespace(quote + 1, end);
                if (p == end || *p != ':')
                    return false;
                p = skipWhitespace(p + 1, end);
                if (p == end)
                    return false;
            }
            const char c = *p;
            if (c == '{' || c == '[') {
                if (int(open.size()) >= nestingLimit)
                    return false;
                open.push_back(count);
                add(c == '{' ? OBJECT : ARRAY, p, p + 1, false);
                ++p;
                inObject = c == '{';
                justOpened = true;
                continue;
            }
            const char* valueEnd = nullptr;
            bool flag = false;
            if (c == '"') {
                valueEnd = scanStringText(p + 1, end, &flag);
                if (!valueEnd)
                    return false;
                add(STRING, p + 1, valueEnd++, flag);
            } else if (c == 't' || c == 'f' || c == 'n') {
                const bool isTrue = c == 't' && startsWith(p, end, "true", 4);
                const bool isFalse = c == 'f' && startsWith(p, end, "false", 5);
                const bool isNull = c == 'n' && startsWith(p, end, "null", 4);
                if (!isTrue && !isFalse && !isNull)
                    return false;
                valueEnd = p + (isFalse ? 5 : 4);
                add(isNull ? NULL_VALUE : BOOL_VALUE, p, valueEnd, isTrue);
            } else {
                // Qt reads anything else as a number and refuses what does not convert.
                valueEnd = scanNumberText(p, end, &flag);
                if (!valueEnd)
                    return false;
                add(NUMBER, p, valueEnd, flag);
            }
            p = valueEnd;
        }
        // After a value: a comma, or closing brackets and then a comma or the end.
        for (;;) {
            if (!closing) {
                p = skipWhitespace(p, end);
                if (p == end)
                    return false;
                if (*p == ',') {
                    ++p;
                    break;
                }
                if (*p != (inObject ? '}' : ']'))
                    return false;
            }
            closing = false;
            Token& container = out[open.back()];
            container.end = int(++p - text);
            container.next = count;
            open.pop_back();
            if (open.empty()) {
                tokenCount = count;
                return skipWhitespace(p, end) == end;
            }
            inObject = out[open.back()].type == OBJECT;
        }
        justOpened = false;
    }
}

QByteArrayView JsonScanner::utf8Text(const Token& string) const
{
    // Qt decodes a string without escapes in one go, which drops a byte-order mark
    // at its start.
    QByteArrayView bytes(text + string.begin, string.end - string.begin);
    if (bytes.startsWith(byteOrderMark))
        bytes = bytes.sliced(byteOrderMark.size());
    return bytes;
}

bool JsonScanner::keyEquals(const Token& key, QLatin1String name) const
{
    // Telling keys apart, Qt keeps a byte-order mark at the start, so such a key never
    // has an ASCII name: the bytes themselves are compared.
    const char* s = text + key.begin;
    const int length = key.end - key.begin;
    if (!key.flag)
        return length == name.size() && std::memcmp(s, name.data(), size_t(length)) == 0;
    int matched = 0;
    for (int i = 0; i < length;) {
        char16_t unit = static_cast<unsigned char>(s[i]);
        if (s[i] == '\\') {
            int escapeLength = 0;
            unit = unescape(s + i + 1, length - i - 1, &escapeLength);
            i += 1 + escapeLength;
        } else {
            ++i;
        }
        // The names asked for are ASCII: a byte of a longer UTF-8 sequence never matches.
        if (matched == name.size() || unit != char16_t(static_cast<unsigned char>(name.data()[matched])))
            return false;
        ++matched;
    }
    return matched == name.size();
}

void JsonScanner::findMembers(int object, const QLatin1String* keys, int count, int* values) const
{
    for (int k = 0; k < count; ++k)
        values[k] = noValue;
    if (type(object) != OBJECT)
        return;
    for (int key = firstKey(object); key != noValue; key = nextKey(object, key)) {
        const Token& token = tokens[key];
        const int length = token.end - token.begin;
        for (int k = 0; k < count; ++k) {
            // Unescaped, a key is compared by its bytes; escaped, its text is shorter.
            if (token.flag ? length < keys[k].size() : length != keys[k].size())
                continue;
            if (keyEquals(token, keys[k]))
                values[k] = valueOfKey(key);
        }
    }
}

std::optional<qint64> JsonScanner::integerOf(const Token& token) const
{
    // Digits only: Qt keeps the number as a 64-bit integer when it fits.
    const char* digit = text + token.begin;
    const bool negative = *digit == '-';
    if (negative)
        ++digit;
    quint64 magnitude = 0;
    for (; digit < text + token.end; ++digit) {
        const unsigned value = unsigned(*digit - '0');
        if (magnitude > (std::numeric_limits<quint64>::max() - value) / 10)
            return std::nullopt;
        magnitude = magnitude * 10 + value;
    }
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
    if (magnitude > limit)
        return std::nullopt;
    return negative ? qint64(0 - magnitude) : qint64(magnitude);
}

double JsonScanner::toDouble(int value, double fallback) const
{
    if (type(value) != NUMBER)
        return fallback;
    const Token& token = tokens[value];
    if (token.flag) {
        if (const std::optional<qint64> whole = integerOf(token))
            return double(*whole);
    }
    double result = 0.0;
    std::from_chars(text + token.begin, text + token.end, result);
    // Qt keeps a whole double as an integer, so a negative zero comes out as zero.
    return result == 0.0 ? 0.0 : result;
}

std::optional<qint64> JsonScanner::toInteger(int value) const
{
    if (type(value) != NUMBER)
        return std::nullopt;
    if (tokens[value].flag) {
        if (const std::optional<qint64> whole = integerOf(tokens[value]))
            return whole;
    }
    const double number = toDouble(value, 0.0);
    // 2^63 is the first double past the range; the comparison also refuses NaN.
    if (!(number >= -9223372036854775808.0 && number < 9223372036854775808.0))
        return std::nullopt;
    const qint64 whole = qint64(number);
    if (double(whole) != number)
        return std::nullopt;
    return whole;
}

int JsonScanner::toInt(int value, int fallback) const
{
    const std::optional<qint64> whole = toInteger(value);
    if (!whole || *whole < std::numeric_limits<int>::min() || *whole > std::numeric_limits<int>::max())
        return fallback;
    return int(*whole);
}

bool JsonScanner::toBool(int value, bool fallback) const
{
    if (type(value) != BOOL_VALUE)
        return fallback;
    return tokens[value].flag;
}

std::optional<QByteArrayView> JsonScanner::unescapedString(int value) const
{
    if (type(value) != STRING || tokens[value].flag)
        return std::nullopt;
    return utf8Text(tokens[value]);
}

QByteArrayView JsonScanner::rawText(int value) const
{
    if (type(value) == NO_VALUE)
        return QByteArrayView();
    return QByteArrayView(text + tokens[value].begin, tokens[value].end - tokens[value].begin);
}

QString JsonScanner::toString(int value, const QString& fallback) const
{
    if (type(value) != STRING)
        return fallback;
    const Token& token = tokens[value];
    const char* s = text + token.begin;
    const int length = token.end - token.begin;
    if (!token.flag)
        return QString::fromUtf8(s, length);
    // Runs between escapes are whole UTF-8 sequences: a backslash is never inside one.
    // Qt keeps every byte-order mark of a string with escapes.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    // Never more code units than bytes.
    QString result(length, Qt::Uninitialized);
    QChar* out = result.data();
    int run = 0;
    const auto decodeRun = [&](int end) {
        if (end > run)
            out = decoder.appendToBuffer(out, QByteArrayView(s + run, end - run));
    };
    for (int i = 0; i < length;) {
        if (s[i] != '\\') {
            ++i;
            continue;
        }
        decodeRun(i);
        int escapeLength = 0;
        *out++ = QChar(unescape(s + i + 1, length - i - 1, &escapeLength));
        i += 1 + escapeLength;
        run = i;
    }
    decodeRun(length);
    result.truncate(out - result.constData());
    return result;
}
