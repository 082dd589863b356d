// From a Condor 2 datagram with a new airspeed on loopback to the first
// direct-control report of the rudder that carries the new spring force.

#include "baseemulator.h"
#include "benchsupport.h"
#include "directcontrolthread.h"
#include "headlessharness.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <chrono>
#include <cstring>

namespace {

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

quint16 freePort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const quint16 port = freePort();
    {
        QSettings ini(dir.filePath("config.ini"), QSettings::IniFormat);
        ini.setValue("CORE/default_telemetry", int(Telemetry::TELEMETRY_SOURCE_CONDOR));
        ini.setValue("CONDOR2/port", port);
    }
    const int steps = argc > 1 ? QByteArray(argv[1]).toInt() : 200;

    BaseEmulator::reset();
    BaseEmulator::addBase(PRODUCT_ID_RUDDER);
    HeadlessHarness harness;
    DirectControlThread* worker = harness.worker();
    harness.startWorker();

    // Rudder spring = airspeed in km/h / 10, in percent.
    EffectsSettings settings;
    settings.setDefaults();
    AirspeedSpringSettings& spring = settings.axes[2].airspeedSpring;
    spring.active = true;
    spring.total_effect_strength = 100;
    ResponseCurvePoint table[ResponseCurve::pointCount];
    for (int i = 0; i < ResponseCurve::pointCount; ++i)
        table[i] = {float(i * 100), float(i * 10)};
    spring.curve1.setPoints(table);
    QMetaObject::invokeMethod(worker, [=] { worker->changeSettingsModerately(settings); });

    QUdpSocket sender;
    const auto send = [&](int metresPerSecond) {
        sender.writeDatagram("airspeed=" + QByteArray::number(metresPerSecond) + "\n",
                             QHostAddress::LocalHost, port);
    };
    for (int i = 0; i < 12; ++i) { // found, then past the fade-in
        send(20);
        wait(100);
    }

    std::vector<double> latencies;
    int missed = 0;
    for (int step = 0; step < steps; ++step) {
        const int metresPerSecond = 21 + step % 2 * 5;
        const int16_t expected = int16_t(double(float(metresPerSecond * 3.6)) * 10.0);
        BaseEmulator::clearWrittenReports();
        const auto sent = std::chrono::steady_clock::now();
        send(metresPerSecond);
        bool seen = false;
        while (!seen && std::chrono::steady_clock::now() - sent < std::chrono::milliseconds(200)) {
            QThread::usleep(200);
            for (const BaseEmulator::WrittenReport& report :
                 BaseEmulator::writtenReports(PRODUCT_ID_RUDDER)) {
                if (report.time < sent || report.bytes.size() < 6
                    || report.bytes[2] != TELEMETRY_OVERRIDE_DIRECT_CONTROL)
                    continue;
                int16_t force = 0;
                std::memcpy(&force, report.bytes.data() + 4, sizeof(force));
                if (std::abs(force - expected) <= 1) {
                    latencies.push_back(
                        std::chrono::duration<double, std::milli>(report.time - sent).count());
                    seen = true;
                    break;
                }
            }
        }
        if (!seen)
            ++missed;
        QThread::msleep(7 + step % 5); // spread the sends over the polling phase
    }
    harness.shutDown();

    std::printf("telemetry latency, Condor 2 datagram to rudder report, %d steps\n", steps);
    printFigures("latency", latencies);
    std::printf("steps without a matching report within 200 ms: %d\n", missed);
    return 0;
}
