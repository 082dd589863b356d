#pragma once

#include <QObject>

// Turns the system's requests to end the program (SIGINT, SIGTERM, SIGHUP and SIGQUIT, or
// a console's Ctrl+C and close on Windows, and the end of the desktop session) into a
// signal on the GUI thread, so that the program ends the same orderly way as when its
// window is closed. A further request is part of that stop until every base has been sent
// zero forces, or until a zero-force write has hung for stopGraceMs; after that it ends
// the process at once. A stop signal ignored at start stays ignored. One instance per
// program, made after the application object.
class TerminationSignalWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 stopGraceMs = 2000;

    explicit TerminationSignalWatcher(QObject* parent = nullptr);
    ~TerminationSignalWatcher() override;

    // Any thread: every connected base has been sent zero forces.
    static void markForcesZeroed();

    enum class Request { OrderlyStop, PartOfStop, EndAtOnce };
    // Async-signal-safe: what a request at nowMs of a monotonic clock means.
    static Request takeRequest(qint64 nowMs);
    // Async-signal-safe: the stop under way has sent zero forces, or has had its grace time.
    static bool mayEndAtOnce(qint64 nowMs);

signals:
    void terminationRequested();

private:
    // Log-off and shut-down reach a GUI program as the application's commitDataRequest.
    void watchSessionEnd();

    struct Platform;
    Platform* platform;
};
