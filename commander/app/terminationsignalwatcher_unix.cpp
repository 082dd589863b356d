#include "terminationsignalwatcher.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

namespace {

// Each ends the program the orderly way: a closed terminal (SIGHUP) or Ctrl+\ must not
// leave a base holding its last force.
constexpr int terminationSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int terminationSignalCount = int(sizeof(terminationSignals) / sizeof(int));

// The writing end of the socket pair; a signal handler may only write to it.
int signalWriteFd = -1;

qint64 monotonicMs()
{
    timespec now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &now); // async-signal-safe
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// The first signal asks for the orderly stop. A signal that ends the process at once gets
// its default action back and is raised again: blocked while the handler runs, it is
// delivered, and ends the process by that signal, as soon as the handler returns.
void onTerminationSignal(int number)
{
    const int savedErrno = errno;
    switch (TerminationSignalWatcher::takeRequest(monotonicMs())) {
    case TerminationSignalWatcher::Request::OrderlyStop: {
        const char byte = char(number);
        const ssize_t ignored = ::write(signalWriteFd, &byte, 1);
        (void)ignored;
        break;
    }
    case TerminationSignalWatcher::Request::PartOfStop:
        break;
    case TerminationSignalWatcher::Request::EndAtOnce: {
        struct sigaction defaultAction = {};
        defaultAction.sa_handler = SIG_DFL;
        sigemptyset(&defaultAction.sa_mask);
        ::sigaction(number, &defaultAction, nullptr);
        ::raise(number);
        break;
    }
    }
    errno = savedErrno;
}

} // namespace

struct TerminationSignalWatcher::Platform {
    int fds[2] = {-1, -1};
    QSocketNotifier* notifier = nullptr;
    struct sigaction previous[terminationSignalCount] = {};
    bool installed[terminationSignalCount] = {};
};

TerminationSignalWatcher::TerminationSignalWatcher(QObject* parent)
    : QObject(parent)
    , platform(new Platform)
{
    watchSessionEnd();
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, platform->fds) != 0) {
        qWarning() << "No socket pair for the termination signals; SIGINT, SIGTERM, SIGHUP and"
                      " SIGQUIT end the program at once";
        return;
    }
    ::fcntl(platform->fds[1], F_SETFL, O_NONBLOCK); // a full pipe must not block a handler
    signalWriteFd = platform->fds[1];
    platform->notifier = new QSocketNotifier(platform->fds[0], QSocketNotifier::Read, this);
    connect(platform->notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        if (::read(platform->fds[0], bytes, sizeof(bytes)) > 0)
            emit terminationRequested();
    });

    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // One handler at a time per thread; a signal raised in it waits for its return.
    for (int termination : terminationSignals)
        sigaddset(&action.sa_mask, termination);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < terminationSignalCount; ++i) {
        // Ignored at start (SIGHUP under nohup, say): the caller wants it ignored.
        if (::sigaction(terminationSignals[i], nullptr, &platform->previous[i]) != 0
            || platform->previous[i].sa_handler == SIG_IGN)
            continue;
        platform->installed[i] = ::sigaction(terminationSignals[i], &action, nullptr) == 0;
    }
}

TerminationSignalWatcher::~TerminationSignalWatcher()
{
    if (platform->fds[0] >= 0) {
        for (int i = 0; i < terminationSignalCount; ++i) {
            if (platform->installed[i])
                ::sigaction(terminationSignals[i], &platform->previous[i], nullptr);
        }
        signalWriteFd = -1;
        delete platform->notifier;
        ::close(platform->fds[0]);
        ::close(platform->fds[1]);
    }
    delete platform;
}
