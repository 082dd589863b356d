#pragma once

// Widget-test support: widgets shown offscreen at a fixed size, real mouse events on
// QCustomPlot coordinates, pixels of a grab, modal dialogs driven from the event loop,
// screenshots under the build tree and a temporary working directory.

#include <QDir>
#include <QPoint>
#include <QSignalSpy>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

class QAbstractSpinBox;
class QColor;
class QCustomPlot;
class QScrollArea;
class QWidget;

namespace WidgetTest {

// Parks the pointer away from the widget, resizes, shows and waits until the window is
// exposed; false when it never was.
bool showExposed(QWidget* widget, QSize size);

// Runs the events already posted, such as queued replots, so that a grab shows the latest
// drawing. grabbedPixel and saveScreenshot call it themselves.
void settle();

// Saves widget->grab() as <build>/screenshots/<test program>/<name>.png; returns the path
// (empty when the file could not be written).
QString saveScreenshot(QWidget* widget, const QString& name);

// Saves what widget's screen shows, window frames included (a real display only), as
// saveScreenshot does.
QString saveScreenScreenshot(QWidget* widget, const QString& name);

// Where the whole frame of a shown top-level window, title bar and borders, leaves the
// available area of its screen, both as the X server and its window manager have them, in
// device pixels: unscaled and unrounded by Qt. Empty when it lies within (X11 only).
QString frameOutsideWorkArea(const QWidget* window);

// The colour of one pixel of widget->grab(), in the widget's logical coordinates.
QColor grabbedPixel(QWidget* widget, QPoint position);

// The widget pixel (relative to plot) at a point in the plot's axis coordinates, once the
// pending replots ran.
QPoint plotPixel(QCustomPlot* plot, double x, double y);

// Real mouse events through QTest: the pointer moves to from, presses there, moves in steps
// and releases at to.
void drag(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to, int steps = 4);

// Types text into a spin box as a user does: click, select all, the keys, then the confirming
// key: Tab leaves the box (Return would also press a dialog's default button). Our boxes take
// the number when it is confirmed; a box with keyboard tracking takes each one typed on the way.
void typeInto(QAbstractSpinBox* box, const QString& text, Qt::Key confirm = Qt::Key_Tab);
// The names of the spin boxes under root that take each number as it is typed (keyboard
// tracking on) instead of once it is confirmed.
QStringList keyboardTrackingSpinBoxes(QWidget* root);

// Notches of the mouse wheel towards the user at position in widget, through its window as
// the platform delivers them; the events they cause have run on return.
void wheelDown(QWidget* widget, QPoint position, int notches = 1);
// A notch at the centre of each of n x n cells of area's viewport, the page put back to
// its top at its end: the widgets under the points where neither the page nor a region on
// it scrolled.
QStringList unscrolledPoints(QScrollArea* area, int n);

// A spy on each signal that the objects' classes add to QWidget's, and their emissions.
std::vector<std::unique_ptr<QSignalSpy>> spyOnSignals(const QList<const QObject*>& objects);
int emissions(const std::vector<std::unique_ptr<QSignalSpy>>& spies);

// QTest mouse moves produce no enter or leave events; these send them.
void sendEnter(QWidget* widget, QPoint position);
void sendLeave(QWidget* widget);

// Calls handler once with the application's active modal widget as soon as one is open,
// polling from a zero-delay timer; gives up after timeoutMs. Arm it before the call
// that opens the dialog.
void whenModal(std::function<void(QWidget*)> handler, int timeoutMs = 5000);

// Shows every page of every tab widget, stacked widget and tool box under root in turn,
// nested ones too, and scrolls to each visible control (button, box, slider, line edit,
// plot) as a user would: the names of those that still do not lie whole in root.
QStringList unreachableControls(QWidget* root);

// Makes a new temporary folder the working directory for its lifetime.
class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory();
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    bool isValid() const { return temporary.isValid() && entered; }
    QString path() const { return temporary.path(); }
    QString filePath(const QString& name) const { return temporary.filePath(name); }

private:
    QString previous;
    QTemporaryDir temporary;
    bool entered = false;
};

} // namespace WidgetTest
