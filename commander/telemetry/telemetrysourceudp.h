#pragma once

#include "telemetrysource.h"

#include <QByteArray>

#include <functional>

class QUdpSocket;

// Common base of the sources that receive datagrams: owns the socket and
// implements detection, draining and the silence rule once for all of them.
class TelemetrySourceUdp : public TelemetrySource
{
    Q_OBJECT

public:
    // Binds to the loopback address only; port 0 binds nothing.
    TelemetrySourceUdp(QObject* parent, quint16 port);

    // Drains at most maxDatagramsPerPoll datagrams and parses the newest one.
    void pollTelemetry() override;

    // Monotonic milliseconds for the silence rule; tests put in a manual clock.
    using Clock = std::function<qint64()>;
    void setClock(Clock clock);

    static constexpr int maxDatagramsPerPoll = 256;
    static constexpr qint64 silenceTimeoutMs = 1000;
    static constexpr int maxDatagramSize = 65536;

protected:
    virtual void parseTelemetry(const QByteArray& datagram) = 0;
    virtual QString parseFlightModule(const QByteArray& datagram) = 0;
    virtual Telemetry::Source sourceType() const = 0;
    virtual void publishTelemetry() = 0;
    virtual void publishEmptyTelemetry() = 0;

    QUdpSocket* socket;
    // Clock time of the last poll that received data; read only while found.
    qint64 lastDatagramTimer = 0;
    bool found = false;
    // The next parsed datagram is a reference for event detection, not a change.
    bool primeDetectors = true;

private:
    void loseSource();

    Clock clock;
    QByteArray readBuffer;
    QByteArray newestDatagram;
};
