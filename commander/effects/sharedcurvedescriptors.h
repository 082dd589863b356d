#pragma once

#include "curvedescriptor.h"

// Curves that several shakers present alike, so each text and range is written once.

// Airspeed 0 to 500 km/h: the speed curve of the AoA, gear, flaps and airbrake shakers.
const CurveDescriptor& shakerSpeedCurveDescriptor();
// Descent speed 0 to 10 m/s: the second curve of the landing jolt and vortex-state shakers.
const CurveDescriptor& descendSpeedCurveDescriptor();
