#pragma once

#include "jsonscanner.h"

#include <QByteArray>
#include <QString>

// Test support: compares how a JsonScanner reads a text with how QJsonDocument reads
// it: the same texts accepted as objects, and the same values everywhere inside.
// Returns an empty string when they agree, else where and how they differ.
QString differenceFromQt(JsonScanner& scanner, const QByteArray& text);
