#include "screenfit.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

QPoint centredWindowPosition(QRect available, QSize frame, QRect around)
{
    const int x = around.left() + (around.width() - frame.width()) / 2;
    const int y = around.top() + (around.height() - frame.height()) / 2;
    return QPoint(std::max(available.left(), std::min(x, available.right() + 1 - frame.width())),
                  std::max(available.top(), std::min(y, available.bottom() + 1 - frame.height())));
}

ScreenFit::ScreenFit(QWidget* window)
    : QObject(window)
    , window(window)
{
    window->installEventFilter(this);
}

void ScreenFit::keep(QWidget* window)
{
    new ScreenFit(window);
}

bool ScreenFit::eventFilter(QObject* watched, QEvent* event)
{
    QWindow* handle = window->windowHandle();
    if (watched == window && event->type() == QEvent::Show) {
        const QMargins frame = handle ? handle->frameMargins() : QMargins();
        designed = window->size();
        fittedFrame = frame.isNull() ? assumedFrame() : frame;
        fit(fittedFrame);
        if (handle)
            handle->installEventFilter(this); // installed again, it only moves to the front
        return false;
    }
    const QEvent::Type type = event->type();
    if (watched != handle || (type != QEvent::Expose && type != QEvent::Move && type != QEvent::Resize))
        return false;
    // Fitted again with the frame the window manager gave, once it is known (a half-framed
    // window may first report part of it), and only where the allowance was wrong: too
    // small, so the frame leaves the area, or too large, so the window was shrunk more than
    // the screen asks. A window that fits does not jump, and one the user moves is left
    // where it is.
    const QMargins frame = handle->frameMargins();
    if (frame.isNull() || frame == fittedFrame)
        return false;
    fittedFrame = frame;
    const QSize client = designed.boundedTo(availableArea().size().shrunkBy(frame)).expandedTo(window->minimumSize());
    if (!availableArea().contains(handle->frameGeometry()) || window->size() != client)
        fit(frame);
    return false;
}

void ScreenFit::fit(QMargins frame)
{
    if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect area = availableArea();
    if (area.isEmpty())
        return;
    const QSize client = designed.boundedTo(area.size().shrunkBy(frame)).expandedTo(window->minimumSize());
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QRect around = parent && parent->isVisible() ? parent->frameGeometry() : area;
    const QPoint frameTopLeft = centredWindowPosition(area, client.grownBy(frame), around);
    window->setGeometry(QRect(frameTopLeft + QPoint(frame.left(), frame.top()), client));
}

// A frame not reported yet: the style's title bar and a border on every side.
QMargins ScreenFit::assumedFrame() const
{
    const QStyle* style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    return QMargins(border, titleBar + border, border, border);
}

QRect ScreenFit::availableArea() const
{
    const QWidget* parent = window->parentWidget() ? window->parentWidget()->window() : nullptr;
    const QScreen* screen = parent ? parent->screen() : window->screen();
    return screen ? screen->availableGeometry() : QRect();
}
