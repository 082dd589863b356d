#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps the whole frame of a window without a parent, title bar and borders included,
// within the available area of its screen (the screen less its task bars): each time it
// is shown it keeps its size where that fits, otherwise shrinks no further than its
// minimum, and is centred in the area. An X11 window manager frames a window only after
// it is shown: until then the fit allows for the style's title bar and border, and once
// the real frame is known the window is fitted again with it, only if it then leaves the
// area or the allowance shrank it more than the screen asks. At a fractional scale it
// allows for the frame rounded up to whole logical pixels, so that the frame stays in the
// area in device pixels too. GUI thread only.
class WindowFit : public QObject
{
    Q_OBJECT

public:
    // Fits window from its next show on; the fit is its child.
    static void keep(QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit WindowFit(QWidget* window);
    void fit(QMargins frame);
    QRect availableArea() const;

    QWidget* window;
    QSize designed; // the size it was shown with
    QMargins fittedFrame; // the frame the last fit allowed for
};

// Where a window frame at frame goes to lie whole inside a screen's available area
// (without task bars), in screen coordinates: no larger than the area, and moved only as
// far as it has to, so the title bar stays on screen.
QRect frameKeptWithin(QRect available, QRect frame);
