#include "jsonscannercheck.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QMultiHash>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace {

// A key as Qt tells keys apart: its text with a byte-order mark at the start kept.
QString identityOf(const JsonScanner& scanner, int key)
{
    const QByteArrayView raw = scanner.rawText(key);
    if (raw.contains('\\'))
        return scanner.toString(key, QString());
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(raw);
}

std::optional<qint64> qtInteger(const QJsonValue& value)
{
    // toInteger gives its fallback for a number that is not a whole 64-bit one.
    const qint64 low = value.toInteger(std::numeric_limits<qint64>::min());
    const qint64 high = value.toInteger(std::numeric_limits<qint64>::max());
    if (low != high)
        return std::nullopt;
    return low;
}

QString differenceIn(const JsonScanner& scanner, int value, const QJsonValue& expected, const QString& path)
{
    const JsonScanner::Type type = scanner.type(value);
    switch (expected.type()) {
    case QJsonValue::Null:
        return type == JsonScanner::NULL_VALUE ? QString() : path + ": not null";
    case QJsonValue::Bool:
        if (type != JsonScanner::BOOL_VALUE || scanner.toBool(value, !expected.toBool()) != expected.toBool())
            return path + ": not the same bool";
        return QString();
    case QJsonValue::Double: {
        if (type != JsonScanner::NUMBER)
            return path + ": not a number";
        const double scanned = scanner.toDouble(value, 0.0);
        const double qt = expected.toDouble();
        if (std::memcmp(&scanned, &qt, sizeof scanned) != 0)
            return path + QStringLiteral(": %1 instead of %2").arg(scanned, 0, 'g', 17).arg(qt, 0, 'g', 17);
        if (scanner.toInteger(value) != qtInteger(expected))
            return path + ": not the same whole number";
        return QString();
    }
    case QJsonValue::String:
        if (type != JsonScanner::STRING || scanner.toString(value, QString()) != expected.toString())
            return path + ": not the same string";
        return QString();
    case QJsonValue::Array: {
        if (type != JsonScanner::ARRAY)
            return path + ": not an array";
        const QJsonArray array = expected.toArray();
        int index = 0;
        for (int element = scanner.firstElement(value); element != JsonScanner::noValue;
             element = scanner.nextElement(value, element), ++index) {
            if (index >= array.size())
                return path + ": more elements";
            const QString difference = differenceIn(scanner, element, array.at(index), path + '[' + QString::number(index) + ']');
            if (!difference.isEmpty())
                return difference;
        }
        return index == array.size() ? QString() : path + ": fewer elements";
    }
    case QJsonValue::Object: {
        if (type != JsonScanner::OBJECT)
            return path + ": not an object";
        // Qt keeps the last of duplicate members. It tells keys apart by their text with
        // a byte-order mark at the start kept, but shows them without it; so members are
        // matched by the key shown and by value.
        QHash<QString, QPair<QString, int>> members; // identity: key shown, value
        for (int key = scanner.firstKey(value); key != JsonScanner::noValue; key = scanner.nextKey(value, key))
            members.insert(identityOf(scanner, key), qMakePair(scanner.toString(key, QString()), scanner.valueOfKey(key)));
        const QJsonObject object = expected.toObject();
        if (members.size() != object.size())
            return path + QStringLiteral(": %1 members instead of %2").arg(members.size()).arg(object.size());
        QMultiHash<QString, int> shown;
        for (const auto& member : std::as_const(members))
            shown.insert(member.first, member.second);
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            QString difference = path + ": no member " + it.key();
            const QList<int> candidates = shown.values(it.key());
            for (int candidate : candidates) {
                difference = differenceIn(scanner, candidate, it.value(), path + '.' + it.key());
                if (difference.isEmpty()) {
                    shown.remove(it.key(), candidate);
                    break;
                }
            }
            if (!difference.isEmpty())
                return difference;
            // Looking a member up by an ASCII name must find what Qt finds.
            const QString& key = it.key();
            if (std::all_of(key.begin(), key.end(), [](QChar c) { return c.unicode() < 0x80; })) {
                const QByteArray latin1 = key.toLatin1();
                int found = JsonScanner::noValue;
                const QLatin1String name(latin1);
                scanner.findMembers(value, &name, 1, &found);
                const QJsonValue qtFound = object.value(it.key());
                const QString lookup = found == JsonScanner::noValue
                    ? (qtFound.isUndefined() ? QString() : path + ": lookup of " + it.key() + " finds nothing")
                    : differenceIn(scanner, found, qtFound, path + ".(" + it.key() + ")");
                if (!lookup.isEmpty())
                    return lookup;
            }
        }
        return QString();
    }
    default:
        return path + ": a value Qt does not produce";
    }
}

} // namespace

QString differenceFromQt(JsonScanner& scanner, const QByteArray& text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    const bool qtObject = error.error == QJsonParseError::NoError && document.isObject();
    const bool scanned = scanner.scanObject(text);
    if (scanned != qtObject) {
        return QStringLiteral("scanner %1, Qt %2 (%3)")
            .arg(scanned ? "accepts" : "refuses", qtObject ? "accepts" : "refuses", error.errorString());
    }
    if (!scanned)
        return scanner.type(JsonScanner::rootObject) == JsonScanner::NO_VALUE ? QString()
                                                                              : QStringLiteral("values left after refusing");
    return differenceIn(scanner, JsonScanner::rootObject, document.object(), QStringLiteral("$"));
}
