#include "headlessharness.h"

#include "directcontrolthread.h"

#include <QThread>
#include <QTimer>

HeadlessHarness::HeadlessHarness(QObject* parent)
    : QObject(parent)
{
    DirectControlThread::registerMetaTypes();
    directControl = new DirectControlThread(
        nullptr, quint16(config.trimIncrement()), config.dcsSettings().port,
        config.il2Settings().port, config.condor2Settings().port, config.xplaneSettings().port,
        Telemetry::Source(config.defaultTelemetry()), config.trimConfig());
    connect(&config, &AppConfig::trimSettingsChanged, directControl,
            &DirectControlThread::changeTrimConfig);
    connect(directControl, &DirectControlThread::trimButtonChanged, &config,
            &AppConfig::changeTrimButton);
}

HeadlessHarness::~HeadlessHarness()
{
    shutDown();
}

AppConfig* HeadlessHarness::appConfig()
{
    return &config;
}

DirectControlThread* HeadlessHarness::worker() const
{
    return directControl;
}

QThread* HeadlessHarness::workerThread() const
{
    return thread;
}

void HeadlessHarness::startWorker()
{
    if (!directControl || thread)
        return;
    startTimer = new QTimer();
    connect(startTimer, &QTimer::timeout, directControl, &DirectControlThread::start);
    startTimer->setSingleShot(true);
    startTimer->start(0);
    thread = new QThread();
    // The worker is deleted on its own thread, after its last event there.
    connect(thread, &QThread::finished, directControl, &QObject::deleteLater);
    thread->start();
    directControl->moveToThread(thread);
}

void HeadlessHarness::shutDown()
{
    if (!directControl)
        return;
    delete startTimer; // a start still pending must not run after the stop
    startTimer = nullptr;
    if (!thread) {
        directControl->stop();
        delete directControl;
        directControl = nullptr;
        return;
    }
    // A thread that has already ended took the worker with it (finished -> deleteLater).
    if (thread->isRunning()) {
        QMetaObject::invokeMethod(directControl, &DirectControlThread::stop,
                                  Qt::BlockingQueuedConnection);
    }
    thread->quit();
    thread->wait();
    directControl = nullptr;
    delete thread;
    thread = nullptr;
}
