#pragma once

// Test support for the worker: a DirectControlThread on the test's own thread,
// talking to the base emulator, with its private slots reachable by name.

#include "baseemulator.h"
#include "directcontrolthread.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QList>
#include <QMetaObject>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#include <cstring>
#include <memory>
#include <vector>

using Report = std::vector<uint8_t>;

inline quint16 freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

struct WorkerPorts {
    quint16 dcs = 0;
    quint16 il2 = 0;
    quint16 condor2 = 0;
    quint16 xplane = 0;
};

inline WorkerPorts freeWorkerPorts()
{
    return {freeUdpPort(), freeUdpPort(), freeUdpPort(), freeUdpPort()};
}

// Leaves the bases safe and closes every handle before the worker goes.
struct WorkerDeleter {
    void operator()(DirectControlThread* worker) const
    {
        worker->stop();
        delete worker;
    }
};
using WorkerPointer = std::unique_ptr<DirectControlThread, WorkerDeleter>;

inline WorkerPointer
makeWorker(Telemetry::Source source = Telemetry::TELEMETRY_SOURCE_NONE, int trimIncrement = 50,
           const AppConfig::TrimConfig& trims = AppConfig::TrimConfig(),
           const WorkerPorts& ports = WorkerPorts())
{
    DirectControlThread::registerMetaTypes();
    return WorkerPointer(new DirectControlThread(nullptr, trimIncrement, ports.dcs, ports.il2,
                                                 ports.condor2, ports.xplane, source, trims));
}

// Runs the event loop for ms; unlike QTest::qWait it does not sleep between turns,
// so a 2 ms timer keeps its pace.
inline void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the event loop until done() holds; false after timeoutMs.
template <typename Condition>
bool spinUntil(Condition done, int timeoutMs = 3000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        spin(5);
    }
    return true;
}

// Records a signal of an object that lives on another thread. A QSignalSpy would
// append from the emitting thread while the test reads; here each emission reaches
// the log through a queued connection, so only the log's own thread touches it. The
// entries arrive while that thread runs its event loop (spin, spinUntil, QTRY_*).
class QueuedSignalLog : public QObject
{
public:
    template <typename Sender, typename Signal>
    QueuedSignalLog(const Sender* sender, Signal signal)
    {
        connect(
            sender, signal, this,
            [this](auto... arguments) {
                entries.append(QVariantList{QVariant::fromValue(arguments)...});
            },
            Qt::QueuedConnection);
    }

    int count() const { return int(entries.size()); }
    const QVariantList& at(int i) const { return entries.at(i); }
    // Spins until one more entry has arrived; false after timeoutMs.
    bool wait(int timeoutMs = 5000)
    {
        const int before = count();
        return spinUntil([&] { return count() > before; }, timeoutMs);
    }

    QList<QVariantList> entries;
};

// Runs a private slot of the worker on the calling thread.
inline void invoke(DirectControlThread* worker, const char* slot)
{
    QMetaObject::invokeMethod(worker, slot, Qt::DirectConnection);
}

inline void invoke(DirectControlThread* worker, const char* slot, int argument)
{
    QMetaObject::invokeMethod(worker, slot, Qt::DirectConnection, Q_ARG(int, argument));
}

// Reports of one kind (TelemetryOverrideEnum field) that a base received, oldest first:
// all the emulator holds, or those of a report log.
inline std::vector<Report>
overrideReports(unsigned short productId, uint8_t field,
                const std::vector<BaseEmulator::WrittenReport>& received = BaseEmulator::writtenReports())
{
    std::vector<Report> result;
    for (const BaseEmulator::WrittenReport& report : received) {
        if (report.productId == productId && report.kind == BaseEmulator::ReportKind::Output
            && report.bytes.size() == 65 && report.bytes[0] == 0xA3 && report.bytes[1] == 0x10
            && report.bytes[2] == field)
            result.push_back(report.bytes);
    }
    return result;
}

inline std::vector<Report>
directControlReports(unsigned short productId,
                     const std::vector<BaseEmulator::WrittenReport>& received = BaseEmulator::writtenReports())
{
    return overrideReports(productId, TELEMETRY_OVERRIDE_DIRECT_CONTROL, received);
}

// The direct-control report that leaves one axis of a base without force.
inline Report zeroForceReport(uint8_t deviceAxis)
{
    Report report(65, 0);
    report[0] = 0xA3;
    report[1] = 0x10;
    report[2] = TELEMETRY_OVERRIDE_DIRECT_CONTROL;
    report[3] = deviceAxis;
    return report;
}

inline DirectControlTypeDef directControlOf(const Report& report)
{
    DirectControlTypeDef control;
    std::memcpy(&control, report.data() + 4, sizeof(control));
    return control;
}

// The newest direct-control report for one axis of a base; empty when there is none.
inline Report lastDirectControl(unsigned short productId, uint8_t deviceAxis)
{
    const std::vector<Report> reports = directControlReports(productId);
    for (auto it = reports.rbegin(); it != reports.rend(); ++it) {
        if ((*it)[3] == deviceAxis)
            return *it;
    }
    return Report();
}

// Direct-control reports to a base that carry a periodic (shaker or jolt) force.
inline int shakingReports(unsigned short productId,
                          const std::vector<BaseEmulator::WrittenReport>& received = BaseEmulator::writtenReports())
{
    int shaking = 0;
    for (const Report& report : directControlReports(productId, received))
        shaking += directControlOf(report).periodicForce != 0 ? 1 : 0;
    return shaking;
}

inline int16_t int16At(const Report& report, int offset)
{
    return int16_t(uint16_t(report[offset]) | uint16_t(report[offset + 1]) << 8);
}

// A curve whose every point outputs the same percentage over inputs 0 to 1000.
inline void setFlatCurve(ResponseCurve& curve, float out)
{
    ResponseCurvePoint table[ResponseCurve::pointCount];
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        table[i] = {float(i * 100), out};
    curve.setPoints(table);
}

// Out = in / 10 over inputs 0 to 1000.
inline void setTenthCurve(ResponseCurve& curve)
{
    ResponseCurvePoint table[ResponseCurve::pointCount];
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        table[i] = {float(i * 100), float(i * 10)};
    curve.setPoints(table);
}

// Settings with nothing active on any axis.
inline EffectsSettings quietSettings()
{
    EffectsSettings settings;
    settings.setDefaults();
    return settings;
}

// Only the airspeed spring of one axis, at full strength: airspeed in km/h / 10 percent.
inline EffectsSettings airspeedSpringSettings(int axis)
{
    EffectsSettings settings = quietSettings();
    settings.axes[axis].airspeedSpring.active = true;
    settings.axes[axis].airspeedSpring.total_effect_strength = 100;
    setTenthCurve(settings.axes[axis].airspeedSpring.curve1);
    return settings;
}
