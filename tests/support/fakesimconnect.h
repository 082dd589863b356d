#pragma once

#include "simconnect.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <vector>

// A scripted simulator behind the six SimConnect functions. Tests queue the messages
// it delivers and read back every call the code under test made, in order.
// Linked into a test in place of the real layer; one simulator per process.

struct FakeSimConnectCall
{
    enum Function {
        OPEN,
        ADD_TO_DATA_DEFINITION,
        REQUEST_DATA_ON_SIM_OBJECT_TYPE,
        SUBSCRIBE_TO_SYSTEM_EVENT,
        GET_NEXT_DISPATCH,
        CLOSE,
    };

    Function function = OPEN;
    SimConnectHandle handle = nullptr;
    QByteArray name;           // client name, variable or event name
    QByteArray unit;           // AddToDataDefinition
    bool hasUnit = false;
    quint32 definitionId = 0;  // AddToDataDefinition, RequestDataOnSimObjectType
    quint32 id = 0;            // request id, event id, or open's configuration index
    quint32 dataType = 0;
    float epsilon = 0.0f;
    quint32 datumId = 0;
    quint32 radiusMeters = 0;
    quint32 objectType = 0;
    bool hasWindow = false;      // Open
    quint32 userMessage = 0;     // Open
    bool hasEventHandle = false; // Open
};

// The user aircraft as the simulator reports it: variable name to value, and the title.
struct FakeAircraft
{
    QHash<QByteArray, double> variables; // missing variables read as 0
    QByteArray title;                    // written into the 256-byte string, cut to fit
};

class FakeSimConnect
{
public:
    static FakeSimConnect& instance();

    // Forgets every call, message and failure; closes any connection.
    void reset();

    void failNextOpens(int count);
    void queueOpen();
    void queueQuit();
    void queueEvent(quint32 eventId);
    void queueException(quint32 exception, quint32 sendId, quint32 index);
    // A data-by-type message whose block follows the definitions of definition 0
    // made on the current connection; built when it is dispatched.
    void queueAircraft(const FakeAircraft& aircraft, quint32 requestId = 0,
                       int bytesMissing = 0);
    // Any bytes as one message of their own length, with nothing after them.
    void queueRaw(const QByteArray& message);

    bool isOpen() const { return handle != nullptr; }
    QList<FakeSimConnectCall> calls;
    QList<FakeSimConnectCall> callsOf(FakeSimConnectCall::Function function) const;

    // The entry points of the six functions.
    SimConnectResult open(SimConnectHandle* handleOut, const FakeSimConnectCall& call);
    SimConnectResult record(const FakeSimConnectCall& call);
    SimConnectResult nextDispatch(SimConnectHandle handleIn, SIMCONNECT_RECV** message,
                                  quint32* size);
    SimConnectResult close(SimConnectHandle handleIn);

private:
    struct Pending
    {
        QByteArray bytes;     // a ready message, or
        bool isAircraft = false;
        FakeAircraft aircraft;
        quint32 requestId = 0;
        int bytesMissing = 0;
        bool padded = true;
    };

    QByteArray header(quint32 size, quint32 id) const;
    void queueBytes(const QByteArray& message);
    QByteArray aircraftMessage(const Pending& pending) const;

    SimConnectHandle handle = nullptr;
    int connectionCount = 0;
    int openFailures = 0;
    QList<Pending> queue;
    std::vector<char> dispatched; // the message last handed out, valid until the next dispatch
};
