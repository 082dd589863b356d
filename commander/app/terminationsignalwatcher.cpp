#include "terminationsignalwatcher.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QSessionManager>

void TerminationSignalWatcher::watchSessionEnd()
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!application)
        return;
    // Queued: the session manager's request is answered first, then the program ends.
    connect(application, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
        QMetaObject::invokeMethod(this, &TerminationSignalWatcher::terminationRequested,
                                  Qt::QueuedConnection);
    });
}
