#pragma once

#include <QList>
#include <QSize>

class QScrollArea;
class QWidget;

// The minimum size of window's layout as it would be if none of areas had to scroll
// sideways: the size at which the window shows all of their contents, each beside its
// vertical scroll bar, so that one scrolling up and down still needs none below.
QSize unscrolledMinimumSize(QWidget* window, const QList<QScrollArea*>& areas);
