// The real torquix-commander, offscreen, with three emulated bases: the time from
// starting the process to its main window shown, and its resident memory once the
// bases are connected.

#include "benchsupport.h"
#include "programprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {

// VmRSS of a process in MiB; 0 when it cannot be read.
double residentMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0.0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0.0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 9;

    qputenv("QT_LOGGING_RULES", "*=false"); // the program's log stays out of the figures
    std::vector<double> startMs;
    std::vector<double> residentMb;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir dir;
        ProgramProcess program(TORQUIX_COMMANDER, dir.path());
        QElapsedTimer clock;
        clock.start();
        if (!program.start("joystick,rudder,collective") || program.ask("shown") != "shown") {
            std::printf("run %d: the program did not start\n", run);
            return 1;
        }
        startMs.push_back(double(clock.nsecsElapsed()) * 1e-6);

        const QString connected = "Connected (RC.24.1.2) / Connected (RC.24.1.2) / Connected (RC.24.1.2)";
        if (!QTest::qWaitFor([&] { return program.ask({"get joystick_state text", "get rudder_state text", "get throttle_state text"}) == connected; }, ProgramProcess::discoveryMs)) {
            std::printf("run %d: a base never connected\n", run);
            return 1;
        }
        QThread::msleep(1000); // a second of force loop, telemetry polls and status updates
        residentMb.push_back(residentMegabytes(program.processId()));
        if (!program.finish().endsWith(" code 0")) {
            std::printf("run %d: the program did not end cleanly\n", run);
            return 1;
        }
    }
    printFigures("start-up to main window shown", startMs);
    std::printf("resident memory with three bases: median %.1f MiB, max %.1f MiB (%d runs)\n",
                percentile(residentMb, 0.5), *std::max_element(residentMb.begin(), residentMb.end()),
                runs);
    return 0;
}
