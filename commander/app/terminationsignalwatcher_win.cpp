#include "terminationsignalwatcher.h"

#include <QMetaObject>

#include <windows.h>

#include <atomic>

namespace {

TerminationSignalWatcher* watcher = nullptr;
std::atomic<bool> stopRequested(false);

// Runs on a thread of the system's; the request reaches the GUI thread queued. A second
// event is left to the system's handler, which ends the process at once: so it ends a
// stop that hangs.
BOOL WINAPI onConsoleControl(DWORD type)
{
    if (!watcher || (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT))
        return FALSE;
    if (stopRequested.exchange(true))
        return FALSE;
    QMetaObject::invokeMethod(watcher, &TerminationSignalWatcher::terminationRequested,
                              Qt::QueuedConnection);
    return TRUE;
}

} // namespace

struct TerminationSignalWatcher::Platform {
};

TerminationSignalWatcher::TerminationSignalWatcher(QObject* parent)
    : QObject(parent)
    , platform(nullptr)
{
    watchSessionEnd();
    watcher = this;
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

TerminationSignalWatcher::~TerminationSignalWatcher()
{
    SetConsoleCtrlHandler(onConsoleControl, FALSE);
    watcher = nullptr;
}
