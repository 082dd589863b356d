#pragma once

#include <QList>
#include <QSize>

class QScrollArea;
class QWidget;

// The minimum size of window's layout as it would be if none of areas had to scroll:
// the size at which the window shows all of their contents.
QSize unscrolledMinimumSize(QWidget* window, const QList<QScrollArea*>& areas);
