#pragma once

#include <QMargins>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps the whole frame of a top-level window, title bar and borders included, within the
// available area of its screen (the screen less its task bars). Each time the window is
// shown it keeps its size where that fits and otherwise shrinks, no further than its
// minimum; it is centred on its parent's window, or on the area when it has none. An X11
// window manager frames a window only after it is shown: until then the fit allows for
// the style's title bar and border, and once the real frame is known the window is
// fitted again with it, only if it then leaves the area or the allowance shrank it more
// than the screen asks. At a fractional scale it allows for the frame rounded up to
// whole logical pixels, so that the frame stays in the area in device pixels too. GUI
// thread only.
class ScreenFit : public QObject
{
    Q_OBJECT

public:
    // Fits window (a top-level widget) from its next show on; the fit is its child.
    static void keep(QWidget* window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ScreenFit(QWidget* window);
    void fit(QMargins frame);
    QMargins assumedFrame() const;
    QRect availableArea() const;

    QWidget* window;
    QSize designed; // the size it was shown with
    QMargins fittedFrame; // the frame the last fit allowed for
};

// Where a window frame of size frame goes, in screen coordinates: centred on around,
// then moved only as far as it has to, to lie within available. A frame larger than the
// area starts at its top-left corner, so the title bar stays on screen.
QPoint centredWindowPosition(QRect available, QSize frame, QRect around);
