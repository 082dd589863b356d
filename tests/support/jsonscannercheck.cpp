#include "jsonscannercheck.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cstring>
#include <limits>
#include <optional>

namespace {

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
        // Of duplicate members, Qt keeps the last.
        QHash<QString, int> members;
        for (int key = scanner.firstKey(value); key != JsonScanner::noValue; key = scanner.nextKey(value, key))
            members.insert(scanner.toString(key, QString()), scanner.valueOfKey(key));
        const QJsonObject object = expected.toObject();
        if (members.size() != object.size())
            return path + QStringLiteral(": %1 members instead of %2").arg(members.size()).arg(object.size());
        for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
            const auto member = members.constFind(it.key());
            if (member == members.constEnd())
                return path + ": no member " + it.key();
            // Looking a member up by name must find the same value.
            const QByteArray latin1 = it.key().toLatin1();
            bool ascii = QString::fromLatin1(latin1) == it.key();
            for (char c : latin1)
                ascii = ascii && static_cast<unsigned char>(c) < 0x80;
            if (ascii) {
                int found = JsonScanner::noValue;
                const QLatin1String name(latin1);
                scanner.findMembers(value, &name, 1, &found);
                if (found != member.value())
                    return path + ": lookup of " + it.key() + " finds another member";
            }
            const QString difference = differenceIn(scanner, member.value(), it.value(), path + '.' + it.key());
            if (!difference.isEmpty())
                return difference;
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
