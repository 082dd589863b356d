#include "widgettest.h"

#include <qcustomplot.h>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QColor>
#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFileInfo>
#include <QImage>
#include <QMargins>
#include <QPixmap>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolBox>
#include <QWidget>

#include <qpa/qwindowsysteminterface.h>

#include <algorithm>
#include <memory>

namespace WidgetTest {

bool showExposed(QWidget* widget, QSize size)
{
    // The offscreen pointer starts where new windows open; parked away, it sends no enter
    // event, so a widget starts without hover unless the test moves the mouse onto it.
    QCursor::setPos(-10000, -10000);
    widget->resize(size);
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

void settle()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

QString saveScreenshot(QWidget* widget, const QString& name)
{
    settle();
    // The test registration points this at the build tree; a test started by hand
    // writes beside itself.
    QString root = qEnvironmentVariable("TORQUIX_SCREENSHOT_DIR");
    if (root.isEmpty())
        root = QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots");
    const QString folder = root + QLatin1Char('/') + QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    if (!QDir().mkpath(folder))
        return QString();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    return widget->grab().save(path, "PNG") ? path : QString();
}

QString saveScreenScreenshot(QWidget* widget, const QString& name)
{
    const QString path = saveScreenshot(widget, name); // the widget's own, replaced by the screen's
    return !path.isEmpty() && widget->screen()->grabWindow(0).save(path, "PNG") ? path : QString();
}

namespace {

// The integers on printout's line after label.
QList<int> x11Numbers(const QString& printout, const QString& label)
{
    const int at = printout.indexOf(label);
    const QString line = at < 0 ? QString() : printout.mid(at + label.size()).section(QLatin1Char('\n'), 0, 0);
    QList<int> numbers;
    for (const QString& number : line.split(QRegularExpression(QStringLiteral("[^-0-9]+")), Qt::SkipEmptyParts))
        numbers.append(number.toInt());
    return numbers;
}

QString x11Printout(const QString& command)
{
    QProcess process;
    process.startCommand(command);
    process.waitForFinished();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

QString frameOutsideWorkArea(const QWidget* window)
{
    const QString client = x11Printout(QStringLiteral("xwininfo -id %1").arg(window->winId()));
    const auto first = [&client](const char* label) { return x11Numbers(client, QLatin1String(label)).value(0); };
    // Left, right, top, bottom; then the area of each desktop.
    const QList<int> extents = x11Numbers(x11Printout(QStringLiteral("xprop -id %1 _NET_FRAME_EXTENTS").arg(window->winId())), QStringLiteral("="));
    const QList<int> area = x11Numbers(x11Printout(QStringLiteral("xprop -root _NET_WORKAREA")), QStringLiteral("="));
    if (extents.size() < 4 || area.size() < 4)
        return QStringLiteral("not framed");
    const QRect frame = QRect(first("Absolute upper-left X:"), first("Absolute upper-left Y:"), first("Width:"), first("Height:"))
                            .marginsAdded(QMargins(extents[0], extents[2], extents[1], extents[3]));
    const QRect workArea(area[0], area[1], area[2], area[3]);
    QString outside;
    if (!workArea.contains(frame))
        QDebug(&outside) << frame << "outside" << workArea;
    return outside;
}

QColor grabbedPixel(QWidget* widget, QPoint position)
{
    settle();
    const QPixmap pixmap = widget->grab();
    const qreal ratio = pixmap.devicePixelRatio();
    return pixmap.toImage().pixelColor(QPoint(int(position.x() * ratio), int(position.y() * ratio)));
}

QPoint plotPixel(QCustomPlot* plot, double x, double y)
{
    settle(); // a queued replot may still move the axis rect
    return QPoint(qRound(plot->xAxis->coordToPixel(x)), qRound(plot->yAxis->coordToPixel(y)));
}

void drag(QWidget* widget, Qt::MouseButton button, QPoint from, QPoint to, int steps)
{
    QTest::mouseMove(widget, from);
    QTest::mousePress(widget, button, Qt::NoModifier, from);
    for (int step = 1; step <= steps; ++step) {
        const QPoint at = from + (to - from) * step / steps;
        QTest::mouseMove(widget, at);
    }
    QTest::mouseRelease(widget, button, Qt::NoModifier, to);
}

void typeInto(QAbstractSpinBox* box, const QString& text, Qt::Key confirm)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
    QTest::keyClick(box, confirm);
}

QStringList keyboardTrackingSpinBoxes(QWidget* root)
{
    QStringList names;
    for (const QAbstractSpinBox* box : root->findChildren<QAbstractSpinBox*>()) {
        if (box->keyboardTracking())
            names << box->objectName();
    }
    return names;
}

void wheelDown(QWidget* widget, QPoint position, int notches)
{
    QWidget* window = widget->window();
    for (int notch = 0; notch < notches; ++notch) {
        QWindowSystemInterface::handleWheelEvent(window->windowHandle(), widget->mapTo(window, QPointF(position)),
                                                 widget->mapToGlobal(QPointF(position)), QPoint(), QPoint(0, -120));
        QWindowSystemInterface::flushWindowSystemEvents();
        settle();
    }
}

QStringList unscrolledPoints(QScrollArea* area, int n)
{
    QStringList unscrolled;
    QScrollBar* bar = area->verticalScrollBar();
    const auto scrolled = [area, bar] {
        int sum = bar->value();
        for (const QAbstractScrollArea* inner : area->findChildren<QAbstractScrollArea*>())
            sum += inner->isVisible() ? inner->verticalScrollBar()->value() : 0;
        return sum;
    };
    for (int cell = 0; cell < n * n; ++cell) {
        const QSize size = area->viewport()->size();
        const QPoint point(size.width() * (2 * (cell % n) + 1) / (2 * n), size.height() * (2 * (cell / n) + 1) / (2 * n));
        const int before = scrolled();
        wheelDown(area->viewport(), point);
        if (scrolled() <= before)
            unscrolled << area->viewport()->childAt(point)->objectName();
        if (bar->value() == bar->maximum())
            bar->setValue(0);
    }
    return unscrolled;
}

std::vector<std::unique_ptr<QSignalSpy>> spyOnSignals(const QList<const QObject*>& objects)
{
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (const QObject* object : objects) {
        const QMetaObject* meta = object->metaObject();
        for (int index = QWidget::staticMetaObject.methodCount(); index < meta->methodCount(); ++index) {
            if (meta->method(index).methodType() == QMetaMethod::Signal)
                spies.push_back(std::make_unique<QSignalSpy>(object, meta->method(index)));
        }
    }
    return spies;
}

int emissions(const std::vector<std::unique_ptr<QSignalSpy>>& spies)
{
    int count = 0;
    for (const auto& spy : spies)
        count += int(spy->count());
    return count;
}

void sendEnter(QWidget* widget, QPoint position)
{
    QEnterEvent event(position, widget->mapTo(widget->window(), position), widget->mapToGlobal(position));
    QCoreApplication::sendEvent(widget, &event);
}

void sendLeave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

namespace {

void pollForModal(std::shared_ptr<std::function<void(QWidget*)>> handler,
                  std::shared_ptr<QElapsedTimer> clock, int timeoutMs)
{
    if (QWidget* modal = QApplication::activeModalWidget()) {
        (*handler)(modal);
        return;
    }
    if (clock->elapsed() > timeoutMs) {
        qWarning("WidgetTest::whenModal: no modal widget opened within %d ms", timeoutMs);
        return;
    }
    QTimer::singleShot(10, [handler, clock, timeoutMs] { pollForModal(handler, clock, timeoutMs); });
}

} // namespace

void whenModal(std::function<void(QWidget*)> handler, int timeoutMs)
{
    auto shared = std::make_shared<std::function<void(QWidget*)>>(std::move(handler));
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QTimer::singleShot(0, [shared, clock, timeoutMs] { pollForModal(shared, clock, timeoutMs); });
}

namespace {

bool isControlKind(const QWidget* widget)
{
    static const char* const kinds[] = {"QAbstractButton", "QAbstractSpinBox", "QComboBox",
                                        "QSlider",         "QLineEdit",        "QCustomPlot"};
    return std::any_of(std::begin(kinds), std::end(kinds), [widget](const char* kind) { return widget->inherits(kind); });
}

// The parts of a box and a tab bar's scroll buttons are not controls of their own.
bool isControl(const QWidget* widget, const QWidget* root)
{
    if (!isControlKind(widget))
        return false;
    for (const QWidget* above = widget->parentWidget(); above && above != root; above = above->parentWidget()) {
        if (isControlKind(above) || above->inherits("QTabBar"))
            return false;
    }
    return true;
}

// Each scroll area on the way scrolled to the control, innermost first, as a user does.
bool scrolledIntoView(QWidget* control, QWidget* root)
{
    for (QWidget* above = control->parentWidget(); above; above = above->parentWidget()) {
        auto* area = qobject_cast<QScrollArea*>(above->parentWidget());
        if (area && area->viewport() == above && area->widget()) {
            const QRect rect(control->mapTo(area->widget(), QPoint()), control->size());
            area->ensureVisible(rect.center().x(), rect.center().y(), rect.width() / 2 + 1, rect.height() / 2 + 1);
        }
        if (!above->rect().contains(QRect(control->mapTo(above, QPoint()), control->size())))
            return false;
        if (above == root)
            break;
    }
    return true;
}

void collectUnreachable(QWidget* root, QSet<QString>* names)
{
    settle();
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (widget->isVisible() && isControl(widget, root) && !scrolledIntoView(widget, root))
            names->insert(widget->objectName() + QStringLiteral(" (") + widget->metaObject()->className() + ')');
    }
}

// A tab widget's pages are those of its stack.
void visitPages(QWidget* widget, QWidget* root, QSet<QString>* names)
{
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible())
            continue;
        auto* stack = qobject_cast<QStackedWidget*>(child);
        auto* box = qobject_cast<QToolBox*>(child);
        if (!stack && !box) {
            visitPages(child, root, names);
            continue;
        }
        for (int index = 0; index < child->property("count").toInt(); ++index) {
            child->setProperty("currentIndex", index);
            collectUnreachable(root, names);
            visitPages(stack ? stack->currentWidget() : box->currentWidget(), root, names);
        }
    }
}

} // namespace

QStringList unreachableControls(QWidget* root)
{
    QSet<QString> names;
    collectUnreachable(root, &names);
    visitPages(root, root, &names);
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

ScopedWorkingDirectory::ScopedWorkingDirectory()
    : previous(QDir::currentPath())
{
    if (temporary.isValid())
        entered = QDir::setCurrent(temporary.path());
}

ScopedWorkingDirectory::~ScopedWorkingDirectory()
{
    QDir::setCurrent(previous);
}

} // namespace WidgetTest
