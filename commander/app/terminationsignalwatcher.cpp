#include "terminationsignalwatcher.h"

#include <QGuiApplication>
#include <QMetaObject>
#include <QSessionManager>

#include <algorithm>
#include <atomic>

namespace {

// Lock-free, so that a signal handler may touch them. 0: no request yet.
std::atomic<qint64> firstRequestMs(0);
std::atomic<bool> forcesZeroed(false);
static_assert(std::atomic<qint64>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

} // namespace

void TerminationSignalWatcher::markForcesZeroed()
{
    forcesZeroed.store(true);
}

TerminationSignalWatcher::Request TerminationSignalWatcher::takeRequest(qint64 nowMs)
{
    qint64 first = 0;
    if (firstRequestMs.compare_exchange_strong(first, std::max<qint64>(nowMs, 1)))
        return Request::OrderlyStop;
    return mayEndAtOnce(nowMs) ? Request::EndAtOnce : Request::PartOfStop;
}

bool TerminationSignalWatcher::mayEndAtOnce(qint64 nowMs)
{
    const qint64 first = firstRequestMs.load();
    return forcesZeroed.load() || (first != 0 && nowMs - first >= stopGraceMs);
}

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
