#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

// Tolerant JSON member readers: a missing member, or one of another JSON type
// (null included), gives the fallback. They never fail.

bool readJsonBool(const QJsonObject& object, const QString& key, bool defaultValue);
double readJsonDouble(const QJsonObject& object, const QString& key, double defaultValue);
// A number that is not whole, or does not fit an int, gives the fallback.
int readJsonInt(const QJsonObject& object, const QString& key, int defaultValue);
QString readJsonString(const QJsonObject& object, const QString& key, const QString& defaultValue);
QJsonArray readJsonArray(const QJsonObject& object, const QString& key);
