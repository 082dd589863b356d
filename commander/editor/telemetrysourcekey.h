#pragma once

#include <QString>

// The upper-case key of a telemetry source 0 to 6: the text of the source choice on the effects
// page, the bracketed part of a profile label and the first part of a profile file name.
// Any other value (only a hand-edited file brings one) gets the key of source 0.
QString telemetrySourceKey(int source);
