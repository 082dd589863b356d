#include "directcontrolrunner.h"

#include "directcontrolthread.h"

#include <QThread>
#include <QTimer>

DirectControlRunner::~DirectControlRunner()
{
    shutDown();
}

void DirectControlRunner::start(DirectControlThread* directControl)
{
    if (!directControl || workerThread)
        return;
    worker = directControl;
    timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, worker, &DirectControlThread::start);
    timer->setSingleShot(true);
    timer->start(0);
    workerThread = new QThread();
    // The worker is deleted on its own thread, after its last event there.
    QObject::connect(workerThread, &QThread::finished, worker, &QObject::deleteLater);
    workerThread->start(QThread::InheritPriority);
    worker->moveToThread(workerThread);
}

void DirectControlRunner::shutDown()
{
    if (!workerThread)
        return;
    delete timer; // a start still pending must not run after the stop
    timer = nullptr;
    // A thread that has already ended took the worker with it (finished -> deleteLater).
    if (workerThread->isRunning()) {
        QMetaObject::invokeMethod(worker, &DirectControlThread::stop,
                                  Qt::BlockingQueuedConnection);
    }
    workerThread->quit();
    workerThread->wait();
    worker = nullptr;
    delete workerThread;
    workerThread = nullptr;
}
