#pragma once

#include "telemetry.h" // finiteOrZero

#include <QtGlobal>

// The one way a float from a simulator becomes a record field. Simulators and
// the network can deliver NaN, infinities and numbers far out of range; none of
// them may reach the force loop.

// NaN and infinities become 0; finite values beyond the float range saturate.
float saturatingToFloat(double value);

// Truncates toward zero; NaN and infinities become 0; saturates at the int32 limits.
qint32 saturatingToInt32(double value);
