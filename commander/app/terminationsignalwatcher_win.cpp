#include "terminationsignalwatcher.h"

#include <QMetaObject>

#include <windows.h>

namespace {

TerminationSignalWatcher* watcher = nullptr;

// Runs on a thread of the system's; the request reaches the GUI thread queued.
BOOL WINAPI onConsoleControl(DWORD type)
{
    if (!watcher || (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT))
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
