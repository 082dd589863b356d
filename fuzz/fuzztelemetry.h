#pragma once

// Shared by the telemetry parser fuzzers: a Qt application for the sources and
// the check that no parsed record carries a value the force loop cannot take.

#include "telemetry.h"

#include <QCoreApplication>

#include <cmath>
#include <cstdlib>

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

inline void requireFinite(const Telemetry& record)
{
    const float values[] = {record.airspeed, record.verticalSpeed, record.gForce, record.aoa,
                            record.aileronTrim, record.elevatorTrim, record.rudderTrim};
    for (float value : values) {
        if (!std::isfinite(value))
            std::abort();
    }
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
