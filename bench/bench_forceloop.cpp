// The worker's 2 ms force loop on its own thread with three emulated bases and
// every effect active: the spacing and the long-run rate of the direct-control
// reports, and the worker thread's CPU time.

#include "baseemulator.h"
#include "benchsupport.h"
#include "directcontrolthread.h"
#include "headlessharness.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir; // an empty config.ini: the defaults
    QDir::setCurrent(dir.path());
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 10;

    BaseEmulator::reset();
    BaseEmulator::addBase(PRODUCT_ID_JOYSTICK);
    BaseEmulator::addBase(PRODUCT_ID_RUDDER);
    BaseEmulator::addBase(PRODUCT_ID_COLLECTIVE);

    HeadlessHarness harness;
    DirectControlThread* worker = harness.worker();
    harness.startWorker();
    Telemetry telemetry;
    telemetry.airspeed = 450.0f;
    telemetry.verticalSpeed = -4.0f;
    telemetry.gForce = 3.5f;
    telemetry.aoa = 12.0f;
    telemetry.engineRpm = 2400;
    telemetry.rotorRpm = 300;
    telemetry.propAirflow = 80;
    telemetry.afterburner = 50;
    telemetry.flaps = 40;
    telemetry.airbrake = 30;
    telemetry.gear = 50;
    telemetry.shakeMagnitude = 20;
    telemetry.shakeFrequency = 12;
    telemetry.onGround = true;
    for (bool& trigger : telemetry.gunfireTriggers)
        trigger = true;
    const EffectsSettings settings = everyEffectActive();
    QMetaObject::invokeMethod(worker, [=] {
        worker->changeSettingsModerately(settings);
        worker->changeTelemetry(telemetry);
    });

    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    BaseEmulator::clearWrittenReports();
    const double cpuBefore = threadCpuSeconds(worker);
    // Jolts every 50 ms keep the jolt paths busy too.
    QTimer jolts;
    QObject::connect(&jolts, &QTimer::timeout, worker, [worker] {
        worker->startCountermeasureJolt();
        worker->startLandingJolt(-3.0f, 250.0f);
    });
    jolts.start(50);
    QEventLoop run;
    QTimer::singleShot(seconds * 1000, &run, &QEventLoop::quit);
    run.exec();
    const double cpu = threadCpuSeconds(worker) - cpuBefore;
    jolts.stop();

    std::vector<double> intervals;
    bool havePrevious = false;
    std::chrono::steady_clock::time_point first;
    std::chrono::steady_clock::time_point previous;
    for (const BaseEmulator::WrittenReport& report : BaseEmulator::writtenReports()) {
        if (report.bytes.size() < 3 || report.bytes[2] != TELEMETRY_OVERRIDE_DIRECT_CONTROL)
            continue;
        if (havePrevious)
            intervals.push_back(
                std::chrono::duration<double, std::milli>(report.time - previous).count());
        else
            first = report.time;
        previous = report.time;
        havePrevious = true;
    }
    harness.shutDown();

    // The mean over the whole run: one late tick followed by a burst would hide in
    // the median but not here.
    const double spanMs = std::chrono::duration<double, std::milli>(previous - first).count();
    const double meanMs = intervals.empty() ? 0.0 : spanMs / double(intervals.size());
    const double rate = spanMs > 0.0 ? 1000.0 * double(intervals.size()) / spanMs : 0.0;
    const double median = percentile(intervals, 0.5);
    const double p99 = percentile(intervals, 0.99);
    const double maximum =
        intervals.empty() ? 0.0 : *std::max_element(intervals.begin(), intervals.end());
    const auto countAbove = [&](double ms) {
        return long(std::count_if(intervals.begin(), intervals.end(),
                                  [ms](double interval) { return interval > ms; }));
    };
    const auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    std::printf("force loop, %d s, 3 bases, every effect active\n", seconds);
    printFigures("report interval", intervals);
    std::printf("mean interval %.4f ms, %.1f reports/s (target 2 ms within 1 %%: %s)\n", meanMs,
                rate, verdict(std::abs(meanMs - 2.0) <= 0.02));
    std::printf("median within 2.00 +- 0.02 ms: %s; p99 at most 2.5 ms: %s; none above 10 ms: %s\n",
                verdict(std::abs(median - 2.0) <= 0.02), verdict(p99 <= 2.5),
                verdict(maximum <= 10.0));
    std::printf("intervals above 4 ms: %ld, above 10 ms: %ld\n", countAbove(4.0), countAbove(10.0));
    std::printf("worker thread CPU: %.3f s (%.1f %% of one core)\n", cpu,
                100.0 * cpu / seconds);
    return 0;
}
