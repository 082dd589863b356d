#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

// The minimum size of window's layout as it would be if none of areas had to scroll:
// the size at which the window shows all of their contents.
QSize unscrolledMinimumSize(QWidget* window, const QList<QScrollArea*>& areas);

// Where a window frame of size frame stands centred within a screen's available area, in
// screen coordinates: half the difference in each direction, truncated toward zero. A
// frame larger than the area starts at its top-left corner, so the title bar stays on
// screen.
QPoint centredWindowPosition(QRect available, QSize frame);
