#include "pagewheelfilter.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>

namespace {

// What the wheel would turn (a tab bar turns to another tab); a scroll bar is how the page
// scrolls.
bool isWheelControl(const QObject* object)
{
    return qobject_cast<const QAbstractSpinBox*>(object) || qobject_cast<const QComboBox*>(object)
           || (qobject_cast<const QAbstractSlider*>(object) && !qobject_cast<const QScrollBar*>(object))
           || qobject_cast<const QTabBar*>(object);
}

// Within its own window only: a dialog opened from a page does not scroll with it.
bool onScrollingPage(const QWidget* widget)
{
    while (!widget->isWindow()) {
        widget = widget->parentWidget();
        if (!widget)
            return false;
        if (qobject_cast<const QScrollArea*>(widget))
            return true;
    }
    return false;
}

// Sent to the scroll areas around the control, innermost first, until one scrolls, as Qt
// passes on an ignored wheel; sent, since some controls keep an ignored wheel from their
// parents.
void scrollPage(QWidget* control, const QWheelEvent* wheel)
{
    for (QWidget* above = control->parentWidget(); above; above = above->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(above)) {
            QWheelEvent forwarded(area->viewport()->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                                  wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                                  wheel->phase(), wheel->inverted(), wheel->source(), wheel->pointingDevice());
            forwarded.ignore();
            QCoreApplication::sendEvent(area->viewport(), &forwarded);
            if (forwarded.isAccepted())
                return;
        }
        if (above->isWindow())
            return;
    }
}

} // namespace

PageWheelFilter::PageWheelFilter(QObject* parent)
    : QObject(parent)
{
}

bool PageWheelFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::Show && type != QEvent::Wheel)
        return false;
    if (!isWheelControl(watched))
        return false;
    auto* control = static_cast<QWidget*>(watched);
    if (!onScrollingPage(control))
        return false;
    if (type == QEvent::Show) {
        // A wheel would focus a control of wheel focus before this filter sees the wheel;
        // strong focus leaves that to a click or the keyboard.
        if (control->focusPolicy() == Qt::WheelFocus)
            control->setFocusPolicy(Qt::StrongFocus);
        return false;
    }
    if (control->hasFocus())
        return false;
    scrollPage(control, static_cast<QWheelEvent*>(event));
    return true;
}
