#pragma once

class DirectControlThread;
class QThread;
class QTimer;

// Runs a DirectControlThread on a QThread of its own, from its start to an orderly
// stop. GUI thread only; the worker must live on the calling thread until start().
class DirectControlRunner
{
public:
    DirectControlRunner() = default;
    ~DirectControlRunner();
    DirectControlRunner(const DirectControlRunner&) = delete;
    DirectControlRunner& operator=(const DirectControlRunner&) = delete;

    // Takes the worker over: arms a zero-delay single-shot timer whose timeout starts it,
    // then starts a thread and moves the worker onto it, so that its timers start there
    // at the next turn of the caller's event loop.
    void start(DirectControlThread* worker);
    // Blocks until the worker has left the bases safe (zero forces, timers stopped,
    // handles and joysticks closed) and its thread has ended; then deletes the thread,
    // the worker and the start timer. Does nothing when nothing runs.
    void shutDown();

    bool isRunning() const { return workerThread != nullptr; }
    QThread* thread() const { return workerThread; }
    QTimer* startTimer() const { return timer; }

private:
    DirectControlThread* worker = nullptr;
    QThread* workerThread = nullptr;
    QTimer* timer = nullptr;
};
