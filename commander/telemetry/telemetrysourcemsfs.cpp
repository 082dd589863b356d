#include "telemetrysourcemsfs.h"

#include "gearlock.h"
#include "telemetryconversion.h"

#include <QDebug>

#include <cstring>

namespace {

constexpr quint32 definitionId = 0;
constexpr quint32 requestId = 0;
constexpr quint32 simStartEventId = 0;
constexpr quint32 simStopEventId = 1;
constexpr qint64 silenceLimitMs = 1000;

// Indexes of the floats in the data block.
enum Float {
    SIM_ON_GROUND,
    FLAPS_LEFT,
    FLAPS_RIGHT,
    AILERON_TRIM,
    ELEVATOR_TRIM,
    RUDDER_TRIM,
    G_FORCE,
    INCIDENCE_ALPHA,
    AIRSPEED,
    GEAR_CENTER,
    GEAR_LEFT,
    GEAR_RIGHT,
    NUMBER_OF_ENGINES,
    ENGINE_PCT_MAX_RPM_1,
    ENGINE_RPM_1 = ENGINE_PCT_MAX_RPM_1 + 4,
    ROTOR_RPM_1 = ENGINE_RPM_1 + 4,
    ROTOR_RPM_2,
    VERTICAL_SPEED,
    FLOAT_COUNT,
};

constexpr int maxEngines = 4;
constexpr int titleSize = 256;
constexpr int dataBlockSize = FLOAT_COUNT * int(sizeof(double)) + titleSize;
// Bytes of a data message before its data block.
constexpr int dataHeaderSize =
    int(sizeof(SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE) - sizeof(quint32));

static_assert(TelemetrySourceMSFS::variableCount == FLOAT_COUNT + 1, "one float per variable, then the title");

// The block comes from the simulator's buffer, which need not be aligned for doubles.
double floatAt(const char* block, int index)
{
    double value;
    std::memcpy(&value, block + index * sizeof(double), sizeof value);
    return value;
}

QString titleOf(const char* block)
{
    const char* title = block + FLOAT_COUNT * sizeof(double);
    return QString::fromUtf8(title, qstrnlen(title, titleSize));
}

} // namespace

const TelemetrySourceMSFS::Variable TelemetrySourceMSFS::variables[] = {
    {"SIM ON GROUND", "Bool"},
    {"TRAILING EDGE FLAPS LEFT PERCENT", "percent over 100"},
    {"TRAILING EDGE FLAPS RIGHT PERCENT", "percent over 100"},
    {"AILERON TRIM PCT", "percent over 100"},
    {"ELEVATOR TRIM PCT", "percent over 100"},
    {"RUDDER TRIM PCT", "percent over 100"},
    {"G FORCE", "GForce"},
    {"INCIDENCE ALPHA", "degree"},
    {"AIRSPEED INDICATED", "kilometer per hour"},
    {"GEAR CENTER POSITION", "percent over 100"},
    {"GEAR LEFT POSITION", "percent over 100"},
    {"GEAR RIGHT POSITION", "percent over 100"},
    {"NUMBER OF ENGINES", "Number"},
    {"GENERAL ENG PCT MAX RPM:1", "percent"},
    {"GENERAL ENG PCT MAX RPM:2", "percent"},
    {"GENERAL ENG PCT MAX RPM:3", "percent"},
    {"GENERAL ENG PCT MAX RPM:4", "percent"},
    {"GENERAL ENG RPM:1", "rpm"},
    {"GENERAL ENG RPM:2", "rpm"},
    {"GENERAL ENG RPM:3", "rpm"},
    {"GENERAL ENG RPM:4", "rpm"},
    {"ROTOR RPM:1", "rpm"},
    {"ROTOR RPM:2", "rpm"},
    {"VERTICAL SPEED", "m/s"},
    {"TITLE", nullptr},
};

TelemetrySourceMSFS::TelemetrySourceMSFS(QObject* parent)
    : TelemetrySource(parent)
{
}

TelemetrySourceMSFS::~TelemetrySourceMSFS()
{
    closeConnection();
}

void TelemetrySourceMSFS::pollTelemetry()
{
    if (!simConnect)
        openConnection();
    if (!simConnect)
        return;

    SIMCONNECT_RECV* message = nullptr;
    quint32 size = 0;
    const bool received = SimConnect_GetNextDispatch(simConnect, &message, &size) >= 0 && message;
    if (received)
        handleMessage(message, size);

    // A connection that stopped delivering while the aircraft was seen counts as lost;
    // reopening it asks the simulator again from scratch.
    if (found && lastDataTimer.hasExpired(silenceLimitMs)) {
        loseSource();
        closeConnection();
    }
}

void TelemetrySourceMSFS::openConnection()
{
    if (SimConnect_Open(&simConnect, "Torquix", nullptr, 0, nullptr, 0) < 0) {
        simConnect = nullptr;
        return;
    }
    if (!simConnect)
        return;
    for (const Variable& variable : variables) {
        const SIMCONNECT_DATATYPE type =
            variable.unit ? SIMCONNECT_DATATYPE_FLOAT64 : SIMCONNECT_DATATYPE_STRING256;
        SimConnect_AddToDataDefinition(simConnect, definitionId, variable.name, variable.unit, type,
                                       0.0f, SIMCONNECT_UNUSED);
    }
    requestData();
    SimConnect_SubscribeToSystemEvent(simConnect, simStartEventId, "SimStart");
    SimConnect_SubscribeToSystemEvent(simConnect, simStopEventId, "SimStop");
}

void TelemetrySourceMSFS::closeConnection()
{
    requestRunning = false;
    if (!simConnect)
        return;
    SimConnect_Close(simConnect);
    simConnect = nullptr;
}

void TelemetrySourceMSFS::requestData()
{
    if (requestRunning)
        return;
    requestRunning = true;
    SimConnect_RequestDataOnSimObjectType(simConnect, requestId, definitionId, 0,
                                          SIMCONNECT_SIMOBJECT_TYPE_USER);
}

void TelemetrySourceMSFS::handleMessage(const SIMCONNECT_RECV* message, quint32 size)
{
    if (size < sizeof(SIMCONNECT_RECV))
        return;

    switch (message->dwID) {
    case SIMCONNECT_RECV_ID_EVENT: {
        if (size < sizeof(SIMCONNECT_RECV_EVENT))
            return;
        const auto* event = static_cast<const SIMCONNECT_RECV_EVENT*>(message);
        if (event->uEventID == simStartEventId) {
            requestData();
        } else if (event->uEventID == simStopEventId) {
            // The flight is over and its request with it: the next "SimStart" asks anew.
            requestRunning = false;
            loseSource();
        }
        return;
    }
    case SIMCONNECT_RECV_ID_EXCEPTION:
        // After the opening calls only requests are made, and which call an exception
        // is about cannot be told with the six functions: take it as the request's end.
        // Wrongly so, a later "SimStart" asks once too often; the other way round the
        // source would wait for data that never comes.
        requestRunning = false;
        return;
    case SIMCONNECT_RECV_ID_QUIT:
        loseSource();
        // The simulator is gone; the next polls reopen so that a restarted one is found.
        closeConnection();
        return;
    case SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE:
        if (size < quint32(dataHeaderSize))
            return;
        handleData(static_cast<const SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE*>(message), size);
        return;
    default:
        return;
    }
}

void TelemetrySourceMSFS::handleData(const SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE* message,
                                     quint32 size)
{
    if (message->dwRequestID != requestId)
        return;
    // The request has given its message.
    requestRunning = false;
    if (size < quint32(dataHeaderSize + dataBlockSize)) {
        qDebug() << "SimConnect data message too short:" << size << "bytes";
        // Ask again, or the simulator never sends the next sample.
        requestData();
        return;
    }
    const char* block = reinterpret_cast<const char*>(message) + dataHeaderSize;

    lastDataTimer.restart();
    if (!found) {
        found = true;
        primeDetectors = true;
        emit telemetrySourceFound(Telemetry::TELEMETRY_SOURCE_MSFS);
        emit flightModuleChanged(Telemetry::TELEMETRY_SOURCE_MSFS, titleOf(block));
    } else {
        mapData(block);
        emit telemetryChanged(telemetry);
    }
    requestData();
}

void TelemetrySourceMSFS::mapData(const char* block)
{
    const auto value = [block](int index) { return floatAt(block, index); };

    telemetry.gForce = saturatingToFloat(value(G_FORCE));
    telemetry.aoa = saturatingToFloat(value(INCIDENCE_ALPHA));
    telemetry.airspeed = saturatingToFloat(value(AIRSPEED));
    telemetry.verticalSpeed = saturatingToFloat(value(VERTICAL_SPEED));

    const int engines = qMin(saturatingToInt32(value(NUMBER_OF_ENGINES)), maxEngines);
    if (engines >= 1) {
        double pctMaxRpm = 0.0;
        double rpm = 0.0;
        for (int i = 0; i < engines; ++i) {
            pctMaxRpm += value(ENGINE_PCT_MAX_RPM_1 + i);
            rpm += value(ENGINE_RPM_1 + i);
        }
        telemetry.propAirflow = saturatingToInt32(pctMaxRpm / engines);
        telemetry.engineRpm = saturatingToInt32(rpm / engines);
    } else {
        telemetry.propAirflow = 0;
        telemetry.engineRpm = 0;
    }
    telemetry.rotorRpm = saturatingToInt32(value(ROTOR_RPM_1));

    telemetry.aileronTrim = saturatingToFloat(value(AILERON_TRIM) * 100.0);
    telemetry.elevatorTrim = saturatingToFloat(value(ELEVATOR_TRIM) * 100.0);
    telemetry.rudderTrim = saturatingToFloat(value(RUDDER_TRIM) * 100.0);

    const bool onGround = value(SIM_ON_GROUND) > 0.0;
    // The gear rule runs on the whole percentage that is stored, so that a gear resting
    // between 0 and 1 % does not count as leaving its lock on every sample.
    const qint32 gear = saturatingToInt32(
        (value(GEAR_RIGHT) + value(GEAR_LEFT) + value(GEAR_CENTER)) / 3.0 * 100.0);
    if (!primeDetectors) {
        if (!telemetry.onGround && onGround)
            emit touchdownDetected(telemetry.verticalSpeed, telemetry.airspeed);
        if (isGearLockChange(telemetry.gear, gear))
            emit gearLock();
    }
    primeDetectors = false;
    telemetry.onGround = onGround;
    telemetry.gear = gear;

    telemetry.airbrake = 0;
    telemetry.afterburner = 0;
    telemetry.flaps =
        saturatingToInt32((value(FLAPS_LEFT) + value(FLAPS_RIGHT)) * 0.5 * 100.0);
}

void TelemetrySourceMSFS::loseSource()
{
    found = false;
    emit telemetryChanged(emptyTelemetry);
    emit telemetrySourceLost();
}
