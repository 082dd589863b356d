#include "telemetrysourcecondor2.h"

#include "telemetryconversion.h"

#include <QByteArrayView>
#include <QStringList>

#include <cstring>

namespace {
enum CondorKey { AIRSPEED, GFORCE, TURBULENCE, KEY_COUNT, NO_KEY = KEY_COUNT };

template <size_t N>
bool startsWith(QByteArrayView line, const char (&name)[N])
{
    return line.size() >= qsizetype(N - 1) && std::memcmp(line.data(), name, N - 1) == 0;
}

// The prefix test comes before trimming: a line that starts with a blank is skipped.
// The keys are ASCII, so testing the bytes tests the decoded text.
CondorKey keyOf(QByteArrayView line)
{
    if (startsWith(line, "airspeed"))
        return AIRSPEED;
    if (startsWith(line, "gforce"))
        return GFORCE;
    if (startsWith(line, "turb"))
        return TURBULENCE;
    return NO_KEY;
}

// The value of a line with a key and "=": its second "=" part as a number, else 0.
float valueOf(QByteArrayView line)
{
    const QStringList parts = QString::fromUtf8(line).trimmed().split(QLatin1Char('='));
    bool ok = false;
    const double number = parts.at(1).toDouble(&ok);
    // "nan", "inf" and out-of-range texts never reach the record as such.
    return ok ? saturatingToFloat(number) : 0.0f;
}
}

TelemetrySourceCondor2::TelemetrySourceCondor2(QObject* parent, quint16 port)
    : TelemetrySourceUdp(parent, port)
{
}

void TelemetrySourceCondor2::parseTelemetry(const QByteArray& datagram)
{
    // Each line of a key sets its field again, and a line without "=" leaves it as it
    // is: only the last line of each key that holds a "=" counts. Looking for those from
    // the end decodes at most three lines, however long the datagram.
    QByteArrayView lines[KEY_COUNT];
    bool seen[KEY_COUNT] = {false, false, false};
    int found = 0;
    // Decoding drops a byte-order mark at the very start, so the first line's prefix
    // is tested after it.
    const bool byteOrderMark = datagram.startsWith("\xEF\xBB\xBF");
    const char* const begin = datagram.constData() + (byteOrderMark ? 3 : 0);
    const char* lineEnd = datagram.constData() + datagram.size();
    for (const char* p = lineEnd; found < KEY_COUNT; --p) {
        if (p > begin && p[-1] != '\n')
            continue;
        const QByteArrayView line(p, lineEnd - p);
        const CondorKey key = keyOf(line);
        if (key != NO_KEY && !seen[key] && line.contains('=')) {
            seen[key] = true;
            lines[key] = line;
            ++found;
        }
        if (p == begin)
            break;
        lineEnd = p - 1;
    }

    if (seen[AIRSPEED])
        telemetry.airspeed = saturatingToFloat(double(valueOf(lines[AIRSPEED])) * 3.6);
    if (seen[GFORCE])
        telemetry.gForce = valueOf(lines[GFORCE]);
    if (seen[TURBULENCE])
        telemetry.shakeMagnitude = saturatingToInt32(valueOf(lines[TURBULENCE]) * 100.0f);
}

QString TelemetrySourceCondor2::parseFlightModule(const QByteArray&)
{
    return QStringLiteral("Generic glider");
}
