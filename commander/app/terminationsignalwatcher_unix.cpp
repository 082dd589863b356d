#include "terminationsignalwatcher.h"

#include <QSocketNotifier>
#include <QtDebug>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The writing end of the socket pair; a signal handler may only write to it.
int signalWriteFd = -1;

void onTerminationSignal(int number)
{
    const char byte = char(number);
    const ssize_t ignored = ::write(signalWriteFd, &byte, 1);
    (void)ignored;
}

} // namespace

struct TerminationSignalWatcher::Platform {
    int fds[2] = {-1, -1};
    QSocketNotifier* notifier = nullptr;
    struct sigaction previousInt = {};
    struct sigaction previousTerm = {};
};

TerminationSignalWatcher::TerminationSignalWatcher(QObject* parent)
    : QObject(parent)
    , platform(new Platform)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, platform->fds) != 0) {
        qWarning() << "No socket pair for the termination signals; SIGINT and SIGTERM end the"
                      " program at once";
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
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &platform->previousInt);
    ::sigaction(SIGTERM, &action, &platform->previousTerm);
}

TerminationSignalWatcher::~TerminationSignalWatcher()
{
    if (platform->fds[0] >= 0) {
        ::sigaction(SIGINT, &platform->previousInt, nullptr);
        ::sigaction(SIGTERM, &platform->previousTerm, nullptr);
        signalWriteFd = -1;
        delete platform->notifier;
        ::close(platform->fds[0]);
        ::close(platform->fds[1]);
    }
    delete platform;
}
