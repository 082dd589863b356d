#include "simconnect.h"

#include <QDebug>
#include <QLibrary>

// Forwards the six calls to the simulator's client library, loaded on first use by the
// file name CMake gives for this platform. When the library or one of its functions
// is missing, opening fails and the MSFS source simply never finds the simulator.

namespace {

constexpr SimConnectResult failure = -1;

using OpenFunction = SimConnectResult(SIMCONNECT_CALL*)(SimConnectHandle*, const char*, void*,
                                                        quint32, void*, quint32);
using AddToDataDefinitionFunction = SimConnectResult(SIMCONNECT_CALL*)(SimConnectHandle, quint32,
                                                                       const char*, const char*,
                                                                       SIMCONNECT_DATATYPE, float,
                                                                       quint32);
using RequestDataOnSimObjectTypeFunction = SimConnectResult(SIMCONNECT_CALL*)(
    SimConnectHandle, quint32, quint32, quint32, SIMCONNECT_SIMOBJECT_TYPE);
using SubscribeToSystemEventFunction = SimConnectResult(SIMCONNECT_CALL*)(SimConnectHandle, quint32,
                                                                          const char*);
using GetNextDispatchFunction = SimConnectResult(SIMCONNECT_CALL*)(SimConnectHandle, SIMCONNECT_RECV**,
                                                                   quint32*);
using CloseFunction = SimConnectResult(SIMCONNECT_CALL*)(SimConnectHandle);

struct SimConnectFunctions
{
    OpenFunction open = nullptr;
    AddToDataDefinitionFunction addToDataDefinition = nullptr;
    RequestDataOnSimObjectTypeFunction requestDataOnSimObjectType = nullptr;
    SubscribeToSystemEventFunction subscribeToSystemEvent = nullptr;
    GetNextDispatchFunction getNextDispatch = nullptr;
    CloseFunction close = nullptr;
};

SimConnectFunctions loadFunctions()
{
    static QLibrary library(QStringLiteral(SIMCONNECT_LIBRARY_FILE));
    SimConnectFunctions functions;
    if (!library.load()) {
        qDebug() << "SimConnect client library not available:" << library.errorString();
        return functions;
    }

    const struct
    {
        const char* name;
        QFunctionPointer* target;
    } table[] = {
        {"SimConnect_Open", reinterpret_cast<QFunctionPointer*>(&functions.open)},
        {"SimConnect_AddToDataDefinition",
         reinterpret_cast<QFunctionPointer*>(&functions.addToDataDefinition)},
        {"SimConnect_RequestDataOnSimObjectType",
         reinterpret_cast<QFunctionPointer*>(&functions.requestDataOnSimObjectType)},
        {"SimConnect_SubscribeToSystemEvent",
         reinterpret_cast<QFunctionPointer*>(&functions.subscribeToSystemEvent)},
        {"SimConnect_GetNextDispatch",
         reinterpret_cast<QFunctionPointer*>(&functions.getNextDispatch)},
        {"SimConnect_Close", reinterpret_cast<QFunctionPointer*>(&functions.close)},
    };
    for (const auto& entry : table) {
        *entry.target = library.resolve(entry.name);
        if (!*entry.target) {
            qWarning() << "SimConnect client library lacks" << entry.name;
            return SimConnectFunctions();
        }
    }
    return functions;
}

// Loaded once; a library that is missing at start stays missing for this run.
const SimConnectFunctions& simConnect()
{
    static const SimConnectFunctions functions = loadFunctions();
    return functions;
}

} // namespace

extern "C" {

SimConnectResult SIMCONNECT_CALL SimConnect_Open(SimConnectHandle* handle, const char* clientName, void* window,
                                 quint32 userMessage, void* eventHandle, quint32 configIndex)
{
    if (handle)
        *handle = nullptr;
    if (!simConnect().open)
        return failure;
    return simConnect().open(handle, clientName, window, userMessage, eventHandle, configIndex);
}

SimConnectResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(SimConnectHandle handle, quint32 definitionId,
                                                const char* variable, const char* unit,
                                                SIMCONNECT_DATATYPE dataType, float epsilon,
                                                quint32 datumId)
{
    if (!simConnect().addToDataDefinition)
        return failure;
    return simConnect().addToDataDefinition(handle, definitionId, variable, unit, dataType,
                                            epsilon, datumId);
}

SimConnectResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(SimConnectHandle handle, quint32 requestId,
                                                       quint32 definitionId, quint32 radiusMeters,
                                                       SIMCONNECT_SIMOBJECT_TYPE objectType)
{
    if (!simConnect().requestDataOnSimObjectType)
        return failure;
    return simConnect().requestDataOnSimObjectType(handle, requestId, definitionId, radiusMeters,
                                                   objectType);
}

SimConnectResult SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(SimConnectHandle handle, quint32 eventId,
                                                   const char* eventName)
{
    if (!simConnect().subscribeToSystemEvent)
        return failure;
    return simConnect().subscribeToSystemEvent(handle, eventId, eventName);
}

SimConnectResult SIMCONNECT_CALL SimConnect_GetNextDispatch(SimConnectHandle handle, SIMCONNECT_RECV** message,
                                            quint32* size)
{
    if (message)
        *message = nullptr;
    if (size)
        *size = 0;
    if (!simConnect().getNextDispatch)
        return failure;
    return simConnect().getNextDispatch(handle, message, size);
}

SimConnectResult SIMCONNECT_CALL SimConnect_Close(SimConnectHandle handle)
{
    if (!simConnect().close)
        return failure;
    return simConnect().close(handle);
}

} // extern "C"
