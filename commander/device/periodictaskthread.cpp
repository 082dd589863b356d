#include "periodictaskthread.h"

#include <QTimer>

PeriodicTaskThread::PeriodicTaskThread(QObject* parent, int interval)
    : QObject(parent)
    , timer(new QTimer(this))
    , interval(interval)
{
    connect(timer, &QTimer::timeout, this, &PeriodicTaskThread::onTimeout);
}

void PeriodicTaskThread::start()
{
    timer->start(interval);
}
