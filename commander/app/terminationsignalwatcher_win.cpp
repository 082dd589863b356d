#include "terminationsignalwatcher.h"

#include <QMetaObject>

#include <windows.h>

namespace {

TerminationSignalWatcher* watcher = nullptr;

// Runs on a thread of the system's; the request reaches the GUI thread queued. Returning
// FALSE leaves the event to the system's handler, which ends the process at once. A closed
// console ends the process as soon as this returns, so that event waits here until the
// bases have been sent zero forces, or for the grace time.
BOOL WINAPI onConsoleControl(DWORD type)
{
    if (!watcher || (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT && type != CTRL_CLOSE_EVENT))
        return FALSE;
    switch (TerminationSignalWatcher::takeRequest(qint64(GetTickCount64()))) {
    case TerminationSignalWatcher::Request::OrderlyStop:
        QMetaObject::invokeMethod(watcher, &TerminationSignalWatcher::terminationRequested,
                                  Qt::QueuedConnection);
        break;
    case TerminationSignalWatcher::Request::PartOfStop:
        break;
    case TerminationSignalWatcher::Request::EndAtOnce:
        return FALSE;
    }
    if (type == CTRL_CLOSE_EVENT) {
        while (!TerminationSignalWatcher::mayEndAtOnce(qint64(GetTickCount64())))
            Sleep(10);
    }
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
