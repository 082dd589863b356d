#pragma once

// Shared by the telemetry parser fuzzers: a Qt application for the sources and
// the check that no parsed record carries a value the force loop cannot take.

#include "telemetry.h"

#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// A NaN or infinite field makes the record differ from its cleaned copy.
inline void requireFinite(const Telemetry& record)
{
    if (record.withFiniteValues() != record)
        std::abort();
}

// Exposes a source's parser without a socket.
template <class Source>
class ParserUnderFuzz : public Source
{
public:
    using Source::parseFlightModule;
    using Source::parseTelemetry;
    using Source::primeDetectors;
    using Source::telemetry;
};

// One input is one datagram for a source that keeps its state between inputs.
template <class Source>
int fuzzOneDatagram(const uint8_t* data, size_t size)
{
    static ParserUnderFuzz<Source> source;
    // Exact-size copy so the sanitizer sees any read past the datagram.
    const QByteArray datagram(reinterpret_cast<const char*>(data), static_cast<int>(size));
    source.parseTelemetry(datagram);
    requireFinite(source.telemetry);
    return 0;
}
