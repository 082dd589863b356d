#include "headlessharness.h"

#include "directcontrolthread.h"


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
    return runner.thread();
}

void HeadlessHarness::startWorker()
{
    runner.start(directControl);
}

void HeadlessHarness::shutDown()
{
    if (!directControl)
        return;
    if (runner.isRunning()) {
        runner.shutDown();
    } else {
        directControl->stop();
        delete directControl;
    }
    directControl = nullptr;
}
