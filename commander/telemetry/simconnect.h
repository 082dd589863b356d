#pragma once

#include <QtGlobal>

// The part of Microsoft Flight Simulator's client library that the MSFS source uses,
// declared by us. The values and layouts below follow the library's binary interface
// so that the real library can be loaded at run time; no SDK is needed to build.
// The run-time loader implements the functions, or in tests the scripted simulator.
// SIMCONNECT_CALL, the library's calling convention, comes from CMake.

using SimConnectHandle = void*;
using SimConnectResult = qint32; // negative means failure

enum SIMCONNECT_DATATYPE : quint32 {
    SIMCONNECT_DATATYPE_FLOAT64 = 4,
    SIMCONNECT_DATATYPE_STRING256 = 9,
};

enum SIMCONNECT_SIMOBJECT_TYPE : quint32 {
    SIMCONNECT_SIMOBJECT_TYPE_USER = 0,
};

enum SIMCONNECT_RECV_ID : quint32 {
    SIMCONNECT_RECV_ID_EXCEPTION = 1,
    SIMCONNECT_RECV_ID_OPEN = 2,
    SIMCONNECT_RECV_ID_QUIT = 3,
    SIMCONNECT_RECV_ID_EVENT = 4,
    SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE = 9,
};

constexpr quint32 SIMCONNECT_UNUSED = 0xFFFFFFFFu;

// Every message starts with this header.
struct SIMCONNECT_RECV {
    quint32 size;
    quint32 version;
    quint32 dwID; // a SIMCONNECT_RECV_ID
};

// A call the simulator refused; sendId tells which call, by a number the six functions
// here do not give out.
struct SIMCONNECT_RECV_EXCEPTION : SIMCONNECT_RECV {
    quint32 dwException;
    quint32 dwSendID;
    quint32 dwIndex;
};

struct SIMCONNECT_RECV_EVENT : SIMCONNECT_RECV {
    quint32 groupId;
    quint32 uEventID;
    quint32 eventData;
};

// The data block starts at `data` and runs to the end of the message.
struct SIMCONNECT_RECV_SIMOBJECT_DATA_BYTYPE : SIMCONNECT_RECV {
    quint32 dwRequestID;
    quint32 objectId;
    quint32 definitionId;
    quint32 flags;
    quint32 entryNumber;
    quint32 entryCount;
    quint32 definitionCount;
    quint32 data;
};

extern "C" {

SimConnectResult SIMCONNECT_CALL SimConnect_Open(SimConnectHandle* handle, const char* clientName,
                                                 void* window, quint32 userMessage,
                                                 void* eventHandle, quint32 configIndex);
// unit may be null (string variables have none).
SimConnectResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(SimConnectHandle handle,
                                                                quint32 definitionId,
                                                                const char* variable,
                                                                const char* unit,
                                                                SIMCONNECT_DATATYPE dataType,
                                                                float epsilon, quint32 datumId);
SimConnectResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(
    SimConnectHandle handle, quint32 requestId, quint32 definitionId, quint32 radiusMeters,
    SIMCONNECT_SIMOBJECT_TYPE objectType);
SimConnectResult SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(SimConnectHandle handle,
                                                                   quint32 eventId,
                                                                   const char* eventName);
// The message stays owned by the library and is valid until the next call.
SimConnectResult SIMCONNECT_CALL SimConnect_GetNextDispatch(SimConnectHandle handle,
                                                            SIMCONNECT_RECV** message,
                                                            quint32* size);
SimConnectResult SIMCONNECT_CALL SimConnect_Close(SimConnectHandle handle);

} // extern "C"
