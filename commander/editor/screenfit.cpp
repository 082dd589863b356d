#include "screenfit.h"

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
    const QMargins allowance = frameAllowance(frame, window->devicePixelRatio());
    const QSize client = designed.boundedTo(availableArea().size().shrunkBy(allowance)).expandedTo(window->minimumSize());
    if (!availableArea().contains(handle->geometry().marginsAdded(allowance)) || window->size() != client)
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
    frame = frameAllowance(frame, window->devicePixelRatio());
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
