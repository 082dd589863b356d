#include "telemetrysourceudp.h"

#include <QDebug>
#include <QHostAddress>
#include <QUdpSocket>

#include <chrono>
#include <utility>

namespace {
qint64 steadyMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}
}

TelemetrySourceUdp::TelemetrySourceUdp(QObject* parent, quint16 port)
    : TelemetrySource(parent)
    , socket(new QUdpSocket(this))
    , clock(steadyMilliseconds)
{
    if (port == 0)
        return;
    // Every configuration we write sends to 127.0.0.1; a port open to the
    // network would let any host on it drive the motors.
    if (!socket->bind(QHostAddress::LocalHost, port))
        qWarning() << "Telemetry: cannot bind UDP port" << port << ":" << socket->errorString();
}

void TelemetrySourceUdp::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

void TelemetrySourceUdp::pollTelemetry()
{
    bool receivedData = false;
    const bool bound = socket->state() == QAbstractSocket::BoundState;
    // Bounded: a flood must not stall the worker thread that runs the force loop.
    // Reading until a read fails costs one system call per datagram, half of
    // asking first whether one is pending; an empty queue and a read error both
    // end the drain.
    for (int i = 0; bound && i < maxDatagramsPerPoll; ++i) {
        readBuffer.resize(maxDatagramSize);
        const qint64 read = socket->readDatagram(readBuffer.data(), readBuffer.size());
        if (read < 0)
            break;
        if (read == 0)
            continue;
        readBuffer.truncate(read);
        std::swap(readBuffer, newestDatagram);
        receivedData = true;
    }

    if (!receivedData) {
        if (found && clock() - lastDatagramTimer > silenceTimeoutMs)
            loseSource();
        return;
    }

    if (found) {
        parseTelemetry(newestDatagram);
        publishTelemetry();
    } else {
        found = true;
        emit telemetrySourceFound(sourceType());
        emit flightModuleChanged(sourceType(), parseFlightModule(newestDatagram));
    }
    lastDatagramTimer = clock();
}

void TelemetrySourceUdp::loseSource()
{
    publishEmptyTelemetry();
    emit telemetrySourceLost();
    found = false;
    primeDetectors = true;
}
