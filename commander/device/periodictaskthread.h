#pragma once

#include <QObject>

class QTimer;

// A worker base of the same shape as DirectControlThread: a plain QObject moved
// to its thread, driven by one child timer whose timeout calls onTimeout.
class PeriodicTaskThread : public QObject
{
    Q_OBJECT

public:
    // interval in ms; nothing runs before start().
    PeriodicTaskThread(QObject* parent, int interval);

public slots:
    virtual void start();
    virtual void onTimeout() = 0;

private:
    QTimer* timer;
    int interval;
};
