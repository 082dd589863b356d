#pragma once

#include <QPoint>
#include <QSize>

// Where a window of size window stands centred on a screen of size screen, relative to
// the screen's own corner: half the difference in each direction, truncated toward zero,
// so a window larger than the screen gets a negative coordinate.
QPoint centredWindowPosition(QSize screen, QSize window);
