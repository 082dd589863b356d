#include "telemetrysourcemsfs.h"

#include <QFileInfo>
#include <QLibrary>
#include <QSignalSpy>
#include <QTest>

// The run-time loader of the simulator's client library, against a stub library of the
// same file name that the test's library path finds first. The MSFS source drives it:
// every one of the six functions must be found and get the source's arguments.
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
    const auto calls = reinterpret_cast<const char* (*)()>(stub.resolve("StubSimConnect_calls"));
    QVERIFY2(calls, qPrintable(stub.errorString()));
    QStringList log = QString::fromUtf8(calls()).split('\n', Qt::SkipEmptyParts);

    const QString float64 = QString::number(SIMCONNECT_DATATYPE_FLOAT64);
    const QString string256 = QString::number(SIMCONNECT_DATATYPE_STRING256);
    const QString unused = QString::number(SIMCONNECT_UNUSED);
    const auto definition = [&](const char* variable, const char* unit) {
        return QStringLiteral("AddToDataDefinition handle 0 \"%1\" %2 %3 0.000000 %4")
            .arg(variable, unit ? QStringLiteral("\"%1\"").arg(unit) : QStringLiteral("null"),
                 unit ? float64 : string256, unused);
    };
    const QString request = QStringLiteral("RequestDataOnSimObjectType handle 0 0 0 %1")
                                .arg(int(SIMCONNECT_SIMOBJECT_TYPE_USER));
    QStringList expected{"Open \"Torquix\" no window 0 no event 0"};
    for (const TelemetrySourceMSFS::Variable& variable : TelemetrySourceMSFS::variables)
        expected << definition(variable.name, variable.unit);
    expected << request << "SubscribeToSystemEvent handle 0 \"SimStart\""
             << "SubscribeToSystemEvent handle 1 \"SimStop\""
             << "GetNextDispatch handle" << request    // found; asks for the next sample
             << "GetNextDispatch handle" << request    // mapped; asks again
             << "Close handle";
    QCOMPARE(log, expected);
}

QTEST_GUILESS_MAIN(TestSimConnectLibrary)
#include "tst_simconnectlibrary.moc"
