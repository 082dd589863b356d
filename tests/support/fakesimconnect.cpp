#include "fakesimconnect.h"

namespace {

constexpr SimConnectResult ok = 0;
constexpr SimConnectResult failure = -1;

template <typename T>
void append(QByteArray& bytes, T value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

FakeSimConnect& FakeSimConnect::instance()
{
    static FakeSimConnect simulator;
    return simulator;
}

void FakeSimConnect::reset()
{
    calls.clear();
    queue.clear();
    dispatched.clear();
    handle = nullptr;
    openFailures = 0;
}

void FakeSimConnect::failNextOpens(int count)
{
    openFailures = count;
}

QByteArray FakeSimConnect::header(quint32 size, quint32 id) const
{
    QByteArray bytes;
    append(bytes, size);
    append(bytes, quint32(1)); // version
    append(bytes, id);
    return bytes;
}

void FakeSimConnect::queueBytes(const QByteArray& message)
{
    Pending pending;
    pending.bytes = message;
    queue.append(pending);
}

void FakeSimConnect::queueOpen()
{
    queueBytes(header(sizeof(SIMCONNECT_RECV), SIMCONNECT_RECV_ID_OPEN));
}

void FakeSimConnect::queueQuit()
{
    queueBytes(header(sizeof(SIMCONNECT_RECV), SIMCONNECT_RECV_ID_QUIT));
}

void FakeSimConnect::queueEvent(quint32 eventId)
{
    QByteArray message = header(sizeof(SIMCONNECT_RECV_EVENT), SIMCONNECT_RECV_ID_EVENT);
    append(message, SIMCONNECT_UNUSED); // group
    append(message, eventId);
    append(message, quint32(0));
    queueBytes(message);
}

void FakeSimConnect::queueRaw(const QByteArray& message)
{
    Pending pending;
    pending.bytes = message;
    pending.padded = false;
    queue.append(pending);
}

void FakeSimConnect::queueException(quint32 exception, quint32 sendId, quint32 index)
{
    QByteArray message = header(sizeof(SIMCONNECT_RECV_EXCEPTION), SIMCONNECT_RECV_ID_EXCEPTION);
    append(message, exception);
    append(message, sendId);
    append(message, index);
    queueBytes(message);
}

void FakeSimConnect::queueAircraft(const FakeAircraft& aircraft, quint32 requestId,
                                   int bytesMissing)
{
    Pending pending;
    pending.isAircraft = true;
    pending.aircraft = aircraft;
    pending.requestId = requestId;
    pending.bytesMissing = bytesMissing;
    queue.append(pending);
}

QByteArray FakeSimConnect::aircraftMessage(const Pending& pending) const
{
    QByteArray block;
    quint32 definitions = 0;
    for (const FakeSimConnectCall& call : calls) {
        if (call.function != FakeSimConnectCall::ADD_TO_DATA_DEFINITION || call.handle != handle
            || call.definitionId != 0) {
            continue;
        }
        ++definitions;
        if (call.dataType == SIMCONNECT_DATATYPE_STRING256) {
            QByteArray text = pending.aircraft.title.left(256);
            text.append(QByteArray(256 - text.size(), '\0'));
            block.append(text);
        } else {
            append(block, pending.aircraft.variables.value(call.name, 0.0));
        }
    }

    QByteArray fields;
    append(fields, pending.requestId);
    append(fields, quint32(1)); // object: the user aircraft
    append(fields, quint32(0)); // definition
    append(fields, quint32(0)); // flags
    append(fields, quint32(1)); // entry
    append(fields, quint32(1)); // out of
    append(fields, definitions);

    QByteArray message = fields + block;
    message.chop(pending.bytesMissing);
    const quint32 size = quint32(sizeof(SIMCONNECT_RECV) + message.size());
    return header(size, SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE) + message;
}

QList<FakeSimConnectCall> FakeSimConnect::callsOf(FakeSimConnectCall::Function function) const
{
    QList<FakeSimConnectCall> result;
    for (const FakeSimConnectCall& call : calls) {
        if (call.function == function)
            result.append(call);
    }
    return result;
}

SimConnectResult FakeSimConnect::open(SimConnectHandle* handleOut, const FakeSimConnectCall& call)
{
    calls.append(call);
    if (openFailures > 0) {
        --openFailures;
        *handleOut = nullptr;
        return failure;
    }
    ++connectionCount;
    // Any distinct non-null value serves as a handle; it is never dereferenced.
    handle = reinterpret_cast<SimConnectHandle>(quintptr(0x1000 + connectionCount));
    *handleOut = handle;
    return ok;
}

SimConnectResult FakeSimConnect::record(const FakeSimConnectCall& call)
{
    calls.append(call);
    return call.handle && call.handle == handle ? ok : failure;
}

SimConnectResult FakeSimConnect::nextDispatch(SimConnectHandle handleIn, SIMCONNECT_RECV** message,
                                              quint32* size)
{
    FakeSimConnectCall call;
    call.function = FakeSimConnectCall::GET_NEXT_DISPATCH;
    call.handle = handleIn;
    calls.append(call);

    *message = nullptr;
    *size = 0;
    if (!handleIn || handleIn != handle || queue.isEmpty())
        return failure;
    const Pending pending = queue.takeFirst();
    const QByteArray bytes = pending.isAircraft ? aircraftMessage(pending) : pending.bytes;
    // Like a receive buffer, more bytes follow the message; a reader must stop at its size.
    // A message of exact size (in its own allocation) lets the sanitizer see a read past it.
    dispatched.assign(bytes.begin(), bytes.end());
    if (pending.padded)
        dispatched.insert(dispatched.end(), 64, 'Z');
    *message = reinterpret_cast<SIMCONNECT_RECV*>(dispatched.data());
    *size = quint32(bytes.size());
    return ok;
}

SimConnectResult FakeSimConnect::close(SimConnectHandle handleIn)
{
    FakeSimConnectCall call;
    call.function = FakeSimConnectCall::CLOSE;
    call.handle = handleIn;
    calls.append(call);
    if (!handleIn || handleIn != handle)
        return failure;
    // A closed connection delivers nothing more.
    handle = nullptr;
    queue.clear();
    return ok;
}

extern "C" {

SimConnectResult SIMCONNECT_CALL SimConnect_Open(SimConnectHandle* handle, const char* clientName, void* window,
                                 quint32 userMessage, void* eventHandle, quint32 configIndex)
{
    FakeSimConnectCall call;
    call.function = FakeSimConnectCall::OPEN;
    call.name = clientName;
    call.hasWindow = window != nullptr;
    call.userMessage = userMessage;
    call.hasEventHandle = eventHandle != nullptr;
    call.id = configIndex;
    return FakeSimConnect::instance().open(handle, call);
}

SimConnectResult SIMCONNECT_CALL SimConnect_AddToDataDefinition(SimConnectHandle handle, quint32 definitionId,
                                                const char* variable, const char* unit,
                                                SIMCONNECT_DATATYPE dataType, float epsilon,
                                                quint32 datumId)
{
    FakeSimConnectCall call;
    call.function = FakeSimConnectCall::ADD_TO_DATA_DEFINITION;
    call.handle = handle;
    call.definitionId = definitionId;
    call.name = variable;
    call.hasUnit = unit != nullptr;
    call.unit = unit;
    call.dataType = dataType;
    call.epsilon = epsilon;
    call.datumId = datumId;
    return FakeSimConnect::instance().record(call);
}

SimConnectResult SIMCONNECT_CALL SimConnect_RequestDataOnSimObjectType(SimConnectHandle handle, quint32 requestId,
                                                       quint32 definitionId, quint32 radiusMeters,
                                                       SIMCONNECT_SIMOBJECT_TYPE objectType)
{
    FakeSimConnectCall call;
    call.function = FakeSimConnectCall::REQUEST_DATA_ON_SIM_OBJECT_TYPE;
    call.handle = handle;
    call.id = requestId;
    call.definitionId = definitionId;
    call.radiusMeters = radiusMeters;
    call.objectType = objectType;
    return FakeSimConnect::instance().record(call);
}

SimConnectResult SIMCONNECT_CALL SimConnect_SubscribeToSystemEvent(SimConnectHandle handle, quint32 eventId,
                                                   const char* eventName)
{
    FakeSimConnectCall call;
    call.function = FakeSimConnectCall::SUBSCRIBE_TO_SYSTEM_EVENT;
    call.handle = handle;
    call.id = eventId;
    call.name = eventName;
    return FakeSimConnect::instance().record(call);
}

SimConnectResult SIMCONNECT_CALL SimConnect_GetNextDispatch(SimConnectHandle handle, SIMCONNECT_RECV** message,
                                            quint32* size)
{
    return FakeSimConnect::instance().nextDispatch(handle, message, size);
}

SimConnectResult SIMCONNECT_CALL SimConnect_Close(SimConnectHandle handle)
{
    return FakeSimConnect::instance().close(handle);
}

} // extern "C"
