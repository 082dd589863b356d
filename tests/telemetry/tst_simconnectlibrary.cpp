#include "fakesimconnect.h"
#include "telemetrysourcemsfs.h"

#include <QFileInfo>
#include <QLibrary>
#include <QSignalSpy>
#include <QTest>

namespace {

// A call to the library as text; handle names the connection's handle.
QString describe(const FakeSimConnectCall& call, SimConnectHandle handle)
{
    const QString on = call.handle && call.handle == handle ? "handle" : "wrong handle";
    const QString name = '"' + QString::fromUtf8(call.name) + '"';
    switch (call.function) {
    case FakeSimConnectCall::OPEN:
        return QString("Open %1 window %2 message %3 event %4 config %5")
            .arg(name).arg(call.hasWindow).arg(call.userMessage).arg(call.hasEventHandle).arg(call.id);
    case FakeSimConnectCall::ADD_TO_DATA_DEFINITION:
        return QString("AddToDataDefinition %1 %2 %3 %4 %5 %6 %7")
            .arg(on).arg(call.definitionId).arg(name, call.hasUnit ? '"' + QString(call.unit) + '"' : "null")
            .arg(call.dataType).arg(call.epsilon).arg(call.datumId);
    case FakeSimConnectCall::REQUEST_DATA_ON_SIM_OBJECT_TYPE:
        return QString("RequestDataOnSimObjectType %1 %2 %3 %4 %5")
            .arg(on).arg(call.id).arg(call.definitionId).arg(call.radiusMeters).arg(call.objectType);
    case FakeSimConnectCall::SUBSCRIBE_TO_SYSTEM_EVENT:
        return QString("SubscribeToSystemEvent %1 %2 %3").arg(on).arg(call.id).arg(name);
    case FakeSimConnectCall::GET_NEXT_DISPATCH:
        return "GetNextDispatch " + on;
    case FakeSimConnectCall::CLOSE:
        return "Close " + on;
    }
    return QString();
}

} // namespace

// The run-time loader of the simulator's client library, against the scripted simulator
// built as a library of the same file name that the test's library path finds first.
// The MSFS source drives it: every one of the six functions must be found and get the
// source's arguments.
class TestSimConnectLibrary : public QObject
{
    Q_OBJECT

private slots:
    void stubStandsWhereTheLoaderLooks();
    void sourceReachesTheLibraryThroughTheLoader();
};

void TestSimConnectLibrary::stubStandsWhereTheLoaderLooks()
{
    QCOMPARE(QFileInfo(STUB_LIBRARY).fileName(), QStringLiteral(SIMCONNECT_LIBRARY_FILE));
}

void TestSimConnectLibrary::sourceReachesTheLibraryThroughTheLoader()
{
    Telemetry::registerMetaTypes();
    {
        TelemetrySourceMSFS source;
        QSignalSpy module(&source, &TelemetrySource::flightModuleChanged);
        QSignalSpy changed(&source, &TelemetrySource::telemetryChanged);
        source.pollTelemetry(); // opens; the first sample finds the aircraft
        QCOMPARE(module.size(), 1);
        QCOMPARE(module.first().at(1).toString(), QString("Stub Aircraft"));
        source.pollTelemetry(); // the second is mapped
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().at(0).value<Telemetry>().airspeed, 222.5f);
    }

    // The same library as the loader's: loaded once, it is shared.
    QLibrary stub(QStringLiteral(STUB_LIBRARY));
    const auto simulator = reinterpret_cast<FakeSimConnect* (*)()>(stub.resolve("StubSimConnect_simulator"));
    QVERIFY2(simulator, qPrintable(stub.errorString()));
    const QList<FakeSimConnectCall> calls = simulator()->calls;
    QVERIFY(calls.size() > 1);
    QStringList log;
    for (const FakeSimConnectCall& call : calls)
        log << describe(call, calls.at(1).handle);

    const QString request = QStringLiteral("RequestDataOnSimObjectType handle 0 0 0 %1")
                                .arg(int(SIMCONNECT_SIMOBJECT_TYPE_USER));
    QStringList expected{"Open \"Torquix\" window 0 message 0 event 0 config 0"};
    for (const TelemetrySourceMSFS::Variable& variable : TelemetrySourceMSFS::variables) {
        expected << QStringLiteral("AddToDataDefinition handle 0 \"%1\" %2 %3 0 %4")
                        .arg(variable.name, variable.unit ? QStringLiteral("\"%1\"").arg(variable.unit) : "null")
                        .arg(variable.unit ? SIMCONNECT_DATATYPE_FLOAT64 : SIMCONNECT_DATATYPE_STRING256)
                        .arg(SIMCONNECT_UNUSED);
    }
    expected << request << "SubscribeToSystemEvent handle 0 \"SimStart\""
             << "SubscribeToSystemEvent handle 1 \"SimStop\""
             << "GetNextDispatch handle" << request    // found; asks for the next sample
             << "GetNextDispatch handle" << request    // mapped; asks again
             << "Close handle";
    QCOMPARE(log, expected);
}

QTEST_GUILESS_MAIN(TestSimConnectLibrary)
#include "tst_simconnectlibrary.moc"
