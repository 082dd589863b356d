#include "simconnect.h"

// Where the simulator's client library cannot exist, there is never a simulator to
// connect to: opening fails and every other call is refused.

namespace {
constexpr SimConnectResult failure = -1;
}

extern "C" {

SimConnectResult SimConnect_Open(SimConnectHandle* handle, const char*, void*, quint32, void*,
                                 quint32)
{
    if (handle)
        *handle = nullptr;
    return failure;
}

SimConnectResult SimConnect_AddToDataDefinition(SimConnectHandle, quint32, const char*,
                                                const char*, SIMCONNECT_DATATYPE, float, quint32)
{
    return failure;
}

SimConnectResult SimConnect_RequestDataOnSimObjectType(SimConnectHandle, quint32, quint32, quint32,
                                                       SIMCONNECT_SIMOBJECT_TYPE)
{
    return failure;
}

SimConnectResult SimConnect_SubscribeToSystemEvent(SimConnectHandle, quint32, const char*)
{
    return failure;
}

SimConnectResult SimConnect_GetNextDispatch(SimConnectHandle, SIMCONNECT_RECV** message,
                                            quint32* size)
{
    if (message)
        *message = nullptr;
    if (size)
        *size = 0;
    return failure;
}

SimConnectResult SimConnect_Close(SimConnectHandle)
{
    return failure;
}

} // extern "C"
