#pragma once

#include "appconfig.h"
#include "directcontrolrunner.h"

#include <QObject>

class DirectControlThread;
class QThread;

// The engine of torquix-commander without a window: "config.ini" in the current
// directory, the worker built from it on its own thread, and the connections
// between the two. Use: construct, add your own connections to worker(), then
// startWorker(); shutDown() (also run by the destructor) stops it in order.
class HeadlessHarness : public QObject
{
    Q_OBJECT

public:
    explicit HeadlessHarness(QObject* parent = nullptr);
    ~HeadlessHarness() override;

    AppConfig* appConfig();
    // Null once shut down.
    DirectControlThread* worker() const;
    QThread* workerThread() const;

    // Moves the worker to its thread; its timers start from the next event loop turn.
    void startWorker();
    // Blocks until the worker has left the bases safe and its thread has ended.
    void shutDown();

private:
    AppConfig config; // first: the worker is built from it
    DirectControlThread* directControl = nullptr;
    DirectControlRunner runner;
};
