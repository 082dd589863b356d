#include "telemetrysource.h"

TelemetrySource::TelemetrySource(QObject* parent)
    : QObject(parent)
{
}
