#pragma once

#include <QtGlobal>

// True when the gear (percent extended) reached or left one of its locked
// positions, 0 (up) and 100 (down), between two samples.
bool isGearLockChange(qint32 previousGear, qint32 gear);
