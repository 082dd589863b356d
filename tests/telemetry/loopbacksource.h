#pragma once

// Test support: a telemetry source bound to a free loopback port, fed through
// the real network stack, with a manual clock for the silence rule.

#include "telemetrysourceudp.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QSignalSpy>
#include <QStringList>
#include <QThread>
#include <QUdpSocket>

#include <sys/socket.h>

inline quint16 freeLoopbackPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

// The record of a telemetryChanged spy's last emission, or an empty one.
inline Telemetry lastRecord(const QSignalSpy& spy)
{
    return spy.isEmpty() ? Telemetry() : spy.last().at(0).value<Telemetry>();
}

// Exposes what the tests need of a concrete UDP source.
template <class Source>
class TestableSource : public Source
{
public:
    using Source::Source;
    using Source::socket;
};

// Records the names of a source's signals in emission order.
class SignalLog
{
public:
    explicit SignalLog(TelemetrySource* source)
    {
        QObject::connect(source, &TelemetrySource::telemetrySourceFound, [this] { names << "found"; });
        QObject::connect(source, &TelemetrySource::flightModuleChanged, [this] { names << "module"; });
        QObject::connect(source, &TelemetrySource::telemetryChanged, [this] { names << "telemetry"; });
        QObject::connect(source, &TelemetrySource::touchdownDetected, [this] { names << "touchdown"; });
        QObject::connect(source, &TelemetrySource::weaponReleased, [this] { names << "weapon"; });
        QObject::connect(source, &TelemetrySource::damageReceived, [this] { names << "damage"; });
        QObject::connect(source, &TelemetrySource::countermeasureReleased, [this] { names << "countermeasure"; });
        QObject::connect(source, &TelemetrySource::gearLock, [this] { names << "gear"; });
        QObject::connect(source, &TelemetrySource::telemetrySourceLost, [this] { names << "lost"; });
    }
    QStringList take()
    {
        QStringList result = names;
        names.clear();
        return result;
    }

private:
    QStringList names;
};

template <class Source>
class LoopbackSource
{
public:
    LoopbackSource()
        : port(freeLoopbackPort())
        , source(nullptr, port)
        , log(&source)
    {
        source.setClock([this] { return now; });
    }
    LoopbackSource(const LoopbackSource&) = delete;
    LoopbackSource& operator=(const LoopbackSource&) = delete;

    void send(const QByteArray& datagram)
    {
        sender.writeDatagram(datagram, QHostAddress::LocalHost, port);
    }

    // How many datagrams the source's socket holds, counted by peeking through its queue
    // at a moving offset. A zero-length datagram is counted by the first count only.
    int queuedDatagrams()
    {
        const int fd = int(source.socket->socketDescriptor());
        int offset = 0;
        if (setsockopt(fd, SOL_SOCKET, SO_PEEK_OFF, &offset, sizeof offset) != 0)
            return -1;
        QByteArray datagram(TelemetrySourceUdp::maxDatagramSize, '\0');
        int count = 0;
        while (count < 100000
               && recv(fd, datagram.data(), size_t(datagram.size()), MSG_PEEK | MSG_DONTWAIT) >= 0)
            ++count;
        offset = -1;
        setsockopt(fd, SOL_SOCKET, SO_PEEK_OFF, &offset, sizeof offset);
        return count;
    }

    // True once the source's socket holds count datagrams: loopback delivery is quick,
    // but not instant by contract, and on a busy machine the kernel may defer it.
    bool waitUntilQueued(int count = 1)
    {
        QDeadlineTimer deadline(10000);
        while (queuedDatagrams() < count) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(1);
        }
        return true;
    }

    void deliver(const QByteArray& datagram)
    {
        send(datagram);
        waitUntilQueued();
        source.pollTelemetry();
    }

    // Detection takes the first datagram without parsing it.
    void detect(const QByteArray& datagram)
    {
        deliver(datagram);
        log.take();
    }

    quint16 port;
    qint64 now = 0;
    TestableSource<Source> source;
    SignalLog log;
    QUdpSocket sender;
};
