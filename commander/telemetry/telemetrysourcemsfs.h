#pragma once

#include "simconnect.h"
#include "telemetrysource.h"

#include <QElapsedTimer>

// Microsoft Flight Simulator over SimConnect: the first poll opens the connection,
// every poll takes at most one message from it, and each data message of the user
// aircraft asks for the next one.
class TelemetrySourceMSFS : public TelemetrySource
{
    Q_OBJECT

public:
    explicit TelemetrySourceMSFS(QObject* parent = nullptr);
    ~TelemetrySourceMSFS() override;

    void pollTelemetry() override;

    // A variable of the data definition; the title, a string, has no unit.
    struct Variable
    {
        const char* name;
        const char* unit;
    };
    static constexpr int variableCount = 25;
    // The data definition the source asks the simulator for, in the order of the data block.
    static const Variable variables[variableCount];

private:
    void openConnection();
    void closeConnection();
    // Asks for the next sample unless a request is running.
    void requestData();
    void handleMessage(const SIMCONNECT_RECV* message, quint32 size);
    void handleData(const SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE* message, quint32 size);
    void mapData(const char* block);
    void loseSource();

    SimConnectHandle simConnect = nullptr;
    // A data request is asked and has not yet given its message or ended; asking again
    // meanwhile would double every sample from then on.
    bool requestRunning = false;
    bool found = false;
    // The first mapped sample after detection is the reference for touchdown and gear events.
    bool primeDetectors = true;
    QElapsedTimer lastDataTimer;
};
