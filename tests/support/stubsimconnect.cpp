// A stand-in for the simulator's client library, built as a shared library under the
// library's file name so that the real loader finds it. It writes down every call
// with its arguments, and answers the first two dispatches with samples of the user
// aircraft (the first finds it, the second is mapped). Written from what the MSFS
// source expects of the library, nothing more.

#include "simconnect.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::string callLog;
int connection = 0;
int definitions = 0;
int dispatches = 0;
std::vector<char> message;

SimConnectHandle handleValue()
{
    return reinterpret_cast<SimConnectHandle>(static_cast<quintptr>(0x5100 + connection));
}

void logLine(const std::string& line)
{
    callLog += line + '\n';
}

std::string handleText(SimConnectHandle handle)
{
    return handle && handle == handleValue() ? "handle" : "wrong handle";
}

std::string text(const char* value)
{
    return value ? std::string("\"") + value + '"' : std::string("null");
}

template <typename T>
void append(std::vector<char>& bytes, T value)
{
    const char* raw = reinterpret_cast<const char*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

// A data message of request 0: every float definition 0 but the eighth (airspeed),
// then the title.
void buildSample(double airspeed)
{
    std::vector<char> block;
    for (int i = 0; i + 1 < definitions; ++i)
        append(block, i == 8 ? airspeed : 0.0);
    std::vector<char> title(256, '\0');
    std::memcpy(title.data(), "Stub Aircraft", 13);
    block.insert(block.end(), title.begin(), title.end());

    message.clear();
    const quint32 size = quint32(sizeof(SIMCONNECT_RECV) + 7 * sizeof(quint32) + block.size());
    append(message, size);
    append(message, quint32(1));
    append(message, quint32(SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE));
    for (quint32 field : {0u, 1u, 0u, 0u, 1u, 1u, quint32(definitions)})
        append(message, field);
    message.insert(message.end(), block.begin(), block.end());
}

} // namespace

extern "C" {

const char* StubSimConnect_calls()
{
    return callLog.c_str();
}

SimConnectResult SIMCONNECT_CALL SimConnect_Open(SimConnectHandle* handle, const char* clientName,
                                                 void* window, quint32 userMessage,
                                                 void* eventHandle, quint32 configIndex)
{
    ++connection;
    definitions = 0;
    dispatches = 0;
    *handle = handleValue();
    logLine("Open " + text(clientName) + (window ? " window" : " no window") + ' '
            + std::to_string(userMessage) + (eventHandle ? " event" : " no event") + ' '
            + std::to_string(configIndex));
    return 0;
}

SimConnectResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(
    SimConnectHandle handle, quint32 definitionId, const char* variable, const char* unit,
    SIMCONNECT_DATATYPE dataType, float epsilon, quint32 datumId)
{
    ++definitions;
    logLine("AddToDataDefinition " + handleText(handle) + ' ' + std::to_string(definitionId) + ' '
            + text(variable) + ' ' + text(unit) + ' ' + std::to_string(dataType) + ' '
            + std::to_string(epsilon) + ' ' + std::to_string(datumId));
    return 0;
}

SimConnectResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(
    SimConnectHandle handle, quint32 requestId, quint32 definitionId, quint32 radiusMeters,
    SIMCONNECT_SIMOBJECT_TYPE objectType)
{
    logLine("RequestDataOnSimObjectType " + handleText(handle) + ' ' + std::to_string(requestId) + ' '
            + std::to_string(definitionId) + ' ' + std::to_string(radiusMeters) + ' '
            + std::to_string(objectType));
    return 0;
}

SimConnectResult SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(SimConnectHandle handle,
                                                                   quint32 eventId,
                                                                   const char* eventName)
{
    logLine("SubscribeToSystemEvent " + handleText(handle) + ' ' + std::to_string(eventId) + ' '
            + text(eventName));
    return 0;
}

SimConnectResult SIMCONNECT_CALL SimConnect_GetNextDispatch(SimConnectHandle handle,
                                                            SIMCONNECT_RECV** received,
                                                            quint32* size)
{
    logLine("GetNextDispatch " + handleText(handle));
    if (++dispatches > 2)
        return -1;
    buildSample(dispatches == 1 ? 100.0 : 222.5);
    *received = reinterpret_cast<SIMCONNECT_RECV*>(message.data());
    *size = quint32(message.size());
    return 0;
}

SimConnectResult SIMCONNECT_CALL SimConnect_Close(SimConnectHandle handle)
{
    logLine("Close " + handleText(handle));
    return 0;
}

} // extern "C"
