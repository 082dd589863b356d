#include "windowplacement.h"

#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QWidget>

namespace {

// Layouts cache their sizes, and a widget not shown yet does not pass a change of its
// minimum on to its parent's layout.
void invalidateUpTo(QWidget* window, QWidget* changed)
{
    for (QWidget* widget = changed; widget; widget = widget->parentWidget()) {
        widget->updateGeometry();
        if (QLayout* layout = widget->layout())
            layout->invalidate();
        if (widget == window)
            return;
    }
}

void setMinimumSizes(QWidget* window, const QList<QScrollArea*>& areas, const QList<QSize>& sizes)
{
    for (int i = 0; i < areas.size(); ++i) {
        areas[i]->setMinimumSize(sizes[i]);
        invalidateUpTo(window, areas[i]);
    }
}

} // namespace

QSize unscrolledMinimumSize(QWidget* window, const QList<QScrollArea*>& areas)
{
    QList<QSize> kept;
    QList<QSize> unscrolled;
    for (const QScrollArea* area : areas) {
        kept.append(area->minimumSize());
        const int frame = 2 * area->frameWidth();
        const int scrollBar = area->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff ? 0 : area->verticalScrollBar()->sizeHint().width();
        const QWidget* contents = area->widget();
        const QSize needed = contents ? contents->minimumSizeHint().expandedTo(contents->minimumSize()) : QSize();
        unscrolled.append((needed + QSize(frame + scrollBar, frame)).expandedTo(kept.last()));
    }
    setMinimumSizes(window, areas, unscrolled);
    const QSize size = window->minimumSizeHint();
    setMinimumSizes(window, areas, kept);
    return size;
}
