#include "windowfit.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>

QRect frameKeptWithin(QRect available, QRect frame)
{
    QRect kept(frame.topLeft(), frame.size().boundedTo(available.size()));
    kept.moveLeft(std::clamp(kept.left(), available.left(), available.right() + 1 - kept.width()));
    kept.moveTop(std::clamp(kept.top(), available.top(), available.bottom() + 1 - kept.height()));
    return kept;
}

WindowFit::WindowFit(QWidget* window)
    : QObject(window)
    , window(window)
{
    window->installEventFilter(this);
}

void WindowFit::keep(QWidget* window)
{
    new WindowFit(window);
}

bool WindowFit::eventFilter(QObject* watched, QEvent* event)
{
    QWindow* handle = window->windowHandle();
    if (watched == window && event->type() == QEvent::Show) {
        QMargins frame = handle ? handle->frameMargins() : QMargins();
        if (frame.isNull()) { // not framed yet: the style's title bar and a border all round
            const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
            const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
            frame = QMargins(border, titleBar + border, border, border);
        }
        designed = window->size();
        fittedFrame = frame;
        fit(frame);
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

void WindowFit::fit(QMargins frame)
{
    const QRect area = availableArea();
    if (area.isEmpty() || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    const QSize framed = designed.grownBy(frame);
    const QRect centred(area.center() - QPoint(framed.width() / 2, framed.height() / 2), framed);
    const QRect kept = frameKeptWithin(area, centred).marginsRemoved(frame);
    window->setGeometry(QRect(kept.topLeft(), kept.size().expandedTo(window->minimumSize())));
}

QRect WindowFit::availableArea() const
{
    const QScreen* screen = window->screen();
    return screen ? screen->availableGeometry() : QRect();
}
