#include "settingsworkershutdown.h"

#include "settingsuibackgroundthread.h"

#include <QThread>

void shutDownSettingsWorker(SettingsUiBackgroundThread* worker, QThread* thread)
{
    if (thread->isRunning() && worker->thread() == thread)
        QMetaObject::invokeMethod(worker, &SettingsUiBackgroundThread::stop,
                                  Qt::BlockingQueuedConnection);
    else
        worker->stop(); // never started: nothing runs on its side
    thread->quit();
    thread->wait();
    delete worker;
    delete thread;
    hid_exit();
}
