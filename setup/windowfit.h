#pragma once

#include <QRect>

// Where a window frame at frame goes to lie whole inside a screen's available area
// (without task bars), in screen coordinates: no larger than the area, and moved only as
// far as it has to, so the title bar stays on screen.
QRect frameKeptWithin(QRect available, QRect frame);
