#include "jsonreaders.h"

#include <QJsonValue>

#include <limits>

bool readJsonBool(const QJsonObject& object, const QString& key, bool defaultValue)
{
    const QJsonValue value = object.value(key);
    return value.isBool() ? value.toBool() : defaultValue;
}

double readJsonDouble(const QJsonObject& object, const QString& key, double defaultValue)
{
    const QJsonValue value = object.value(key);
    return value.isDouble() ? value.toDouble() : defaultValue;
}

int readJsonInt(const QJsonObject& object, const QString& key, int defaultValue)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        return defaultValue;
    const qint64 whole = value.toInteger(defaultValue);
    // Numbers come from files and from the network: never wrap into int.
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max())
        return defaultValue;
    return static_cast<int>(whole);
}

QString readJsonString(const QJsonObject& object, const QString& key, const QString& defaultValue)
{
    const QJsonValue value = object.value(key);
    return value.isString() ? value.toString() : defaultValue;
}

QJsonArray readJsonArray(const QJsonObject& object, const QString& key)
{
    const QJsonValue value = object.value(key);
    return value.isArray() ? value.toArray() : QJsonArray();
}
