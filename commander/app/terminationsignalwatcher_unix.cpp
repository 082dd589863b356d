#include "terminationsignalwatcher.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Each ends the program the orderly way: a closed terminal (SIGHUP) or Ctrl+\ must not
// leave a base holding its last force.
constexpr int terminationSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int terminationSignalCount = int(sizeof(terminationSignals) / sizeof(int));

// The writing end of the socket pair; a signal handler may only write to it.
int signalWriteFd = -1;

// The first signal asks for the orderly stop; from then on every one of them has its
// default action again, so a second one ends a stop that hangs (say in a stalled device
// write) at once, also before the stop has begun.
void onTerminationSignal(int number)
{
    const int savedErrno = errno;
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    for (int termination : terminationSignals)
        ::sigaction(termination, &defaultAction, nullptr);
    const char byte = char(number);
    const ssize_t ignored = ::write(signalWriteFd, &byte, 1);
    (void)ignored;
    errno = savedErrno;
}

} // namespace

struct TerminationSignalWatcher::Platform {
    int fds[2] = {-1, -1};
    QSocketNotifier* notifier = nullptr;
    struct sigaction previous[terminationSignalCount] = {};
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
    // A second signal during the handler waits until the default actions are back.
    for (int termination : terminationSignals)
        sigaddset(&action.sa_mask, termination);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < terminationSignalCount; ++i)
        ::sigaction(terminationSignals[i], &action, &platform->previous[i]);
}

TerminationSignalWatcher::~TerminationSignalWatcher()
{
    if (platform->fds[0] >= 0) {
        for (int i = 0; i < terminationSignalCount; ++i)
            ::sigaction(terminationSignals[i], &platform->previous[i], nullptr);
        signalWriteFd = -1;
        delete platform->notifier;
        ::close(platform->fds[0]);
        ::close(platform->fds[1]);
    }
    delete platform;
}
