#pragma once

#include "telemetry.h"

#include <QObject>
#include <QString>

// Abstract base of the simulator sources. Every signal is emitted synchronously
// from pollTelemetry (War Thunder: from its reply handler) on the worker thread;
// a sample's event signals come before its telemetryChanged.
class TelemetrySource : public QObject
{
    Q_OBJECT

public:
    explicit TelemetrySource(QObject* parent = nullptr);

    // Called by the worker every 20 ms.
    virtual void pollTelemetry() = 0;

signals:
    void telemetrySourceFound(Telemetry::Source source);
    void flightModuleChanged(Telemetry::Source source, QString flightModule);
    void telemetryChanged(Telemetry telemetry);
    void touchdownDetected(float verticalSpeed, float airspeed);
    void weaponReleased(float releasedWeight);
    void damageReceived(float damagePercent);
    void countermeasureReleased();
    void gearLock();
    void telemetrySourceLost();

protected:
    Telemetry telemetry;
    const Telemetry emptyTelemetry;
};
