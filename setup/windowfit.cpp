#include "windowfit.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

// The frame to allow for, in logical pixels, around a window whose platform reports frame:
// each side in device pixels divided by scale and rounded to the nearest, so up to half a
// pixel short. Rounded up instead, from the widest device frame that reports so, and on
// the right and at the bottom a device pixel more for the window's position and size, which
// at a fractional scale each round to device pixels by up to half a pixel. As reported at
// 100 %.
QMargins frameAllowance(QMargins frame, qreal scale)
{
    const int rounding = scale == std::floor(scale) ? 0 : 1;
    const auto side = [scale](int reported, int extra) {
        const double widest = std::ceil((reported + 0.5) * scale) - 1;
        return int(std::ceil((widest + extra) / scale));
    };
    return QMargins(side(frame.left(), 0), side(frame.top(), 0), side(frame.right(), rounding), side(frame.bottom(), rounding));
}

} // namespace

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
    const QMargins allowance = frameAllowance(frame, window->devicePixelRatio());
    const QSize client = designed.boundedTo(availableArea().size().shrunkBy(allowance)).expandedTo(window->minimumSize());
    if (!availableArea().contains(handle->geometry().marginsAdded(allowance)) || window->size() != client)
        fit(frame);
    return false;
}

void WindowFit::fit(QMargins frame)
{
    const QRect area = availableArea();
    if (area.isEmpty() || (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    frame = frameAllowance(frame, window->devicePixelRatio());
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
