// The scripted simulator built as a shared library under the client library's file
// name, so that the run-time loader finds it. It holds the user aircraft for the first
// two dispatches (the first finds it, the second is mapped); the loader's test reads
// back the calls through StubSimConnect_simulator.

#include "fakesimconnect.h"

namespace {

struct AircraftQueued
{
    AircraftQueued()
    {
        FakeAircraft aircraft;
        aircraft.title = "Stub Aircraft";
        aircraft.variables.insert("AIRSPEED INDICATED", 222.5);
        FakeSimConnect::instance().queueAircraft(aircraft);
        FakeSimConnect::instance().queueAircraft(aircraft);
    }
} aircraftQueued;

} // namespace

extern "C" FakeSimConnect* StubSimConnect_simulator()
{
    return &FakeSimConnect::instance();
}
