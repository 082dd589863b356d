// The UI driver: preloaded (LD_PRELOAD) into a real torquix-commander or torquix-setup,
// together with the base emulator it is linked with, by the end-to-end tests
// (programprocess.h). It answers each command line on standard input with one line on
// standard output, acting as the user at the window or a hand at the emulated bases
// would, and prints "ended handles <open handles> exits <hid_exit calls>" at the end.
// An object is named by its object name, "MainWindow" for the window, or by
// "page/child" where pages repeat a name. Commands:
//   shown                        "shown" once the window is shown and exposed
//   get <object> <property>      the property as text
//   set <object> <property> <value>
//   click <object> [tab]         a mouse click in the middle of a widget, or on a tab of
//                                a tab widget; delivered after the answer, since it may
//                                open a dialog that runs an event loop of its own
//   close                        closes the window as its close button does, after the answer
//   endsession                   the desktop session ends (log-off, shut-down) as the
//                                platform tells the application, after the answer
//   modal                        the text of the open modal dialog ("" when none)
//   press <button text>          clicks that button of the open modal dialog, after the answer
//   tabs <tab widget> [widget...]   the texts of its visible tabs, "tab|tab", then ";"
//                                and 1 or 0 for each widget enabled
//   rows <combo box>             "placeholder;current row;row:text|row:text" of the rows a
//                                user can see
//   pick <combo box> <row>       opens the list and clicks the row, as a user does
//   shot <name>                  saves a screenshot of the window (widgettest.h)
//   joystick <name> <buttons> <hats>, button <index> <0|1>   an SDL virtual joystick
//   reads <product id>           the report ids of the settings records read, in hex
//   record <product id> <report id> <live|flash>   a settings record, in hex
//   unplug <product id>
#include "baseemulator.h"
#include "virtualjoystick.h"
#include "widgettest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QListView>
#include <QMessageBox>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

QWidget* window()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto main = std::find_if(windows.begin(), windows.end(), [](QWidget* w) { return w->objectName() == "MainWindow"; });
    return main == windows.end() ? nullptr : *main;
}

template <typename T = QWidget>
T* find(const QString& path)
{
    QObject* found = window();
    for (const QString& name : path.split('/')) {
        if (found && name != QLatin1String("MainWindow"))
            found = found->findChild<QObject*>(name);
    }
    return qobject_cast<T*>(found);
}

bool isShown()
{
    QWidget* main = window();
    return main && main->isVisible() && main->windowHandle()->isExposed();
}

// Runs the event loop until the window is shown and exposed; false after 10 s.
bool waitUntilShown()
{
    QEventLoop loop;
    QTimer poll; // often, for the start-up benchmark
    QObject::connect(&poll, &QTimer::timeout, &loop, [&loop] {
        if (isShown())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    if (!isShown())
        loop.exec();
    return isShown();
}

QString hex(const uint8_t* bytes, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size)).toHex();
}

QString modalText()
{
    QWidget* modal = QApplication::activeModalWidget();
    auto* box = qobject_cast<QMessageBox*>(modal);
    return box ? box->text() : modal ? modal->windowTitle() : QString();
}

QString tabs(QTabWidget* tabWidget, const QStringList& widgets)
{
    QStringList shown;
    for (int tab = 0; tab < tabWidget->count(); ++tab) {
        if (tabWidget->isTabVisible(tab))
            shown << tabWidget->tabText(tab);
    }
    QString enabled;
    for (const QString& name : widgets)
        enabled += find(name) && find(name)->isEnabled() ? '1' : '0';
    return shown.join('|') + (widgets.isEmpty() ? QString() : ';' + enabled);
}

QString rows(QComboBox* combo)
{
    QStringList rows;
    for (int row = 0; row < combo->count(); ++row) {
        if (!static_cast<QListView*>(combo->view())->isRowHidden(row))
            rows << QStringLiteral("%1:%2").arg(row).arg(combo->itemText(row));
    }
    return QStringLiteral("%1;%2;%3").arg(combo->placeholderText()).arg(combo->currentIndex()).arg(rows.join('|'));
}

// A row that is not shown cannot be clicked.
QString pick(QComboBox* combo, int row)
{
    combo->showPopup();
    auto* view = static_cast<QListView*>(combo->view());
    const QRect rect = view->visualRect(combo->model()->index(row, 0));
    if (!rect.isValid() || view->isRowHidden(row))
        return combo->hidePopup(), QStringLiteral("hidden");
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    return QStringLiteral("picked %1").arg(combo->currentIndex());
}

// The click follows the answer: a dialog it opens runs an event loop of its own.
QString click(QWidget* target, const QString& tab)
{
    QPoint point = target->rect().center();
    if (auto* tabWidget = qobject_cast<QTabWidget*>(target); tabWidget && !tab.isEmpty()) {
        target = tabWidget->tabBar();
        point = tabWidget->tabBar()->tabRect(tab.toInt()).center();
    }
    QTimer::singleShot(0, target, [target, point] { QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, point); });
    return QStringLiteral("clicked");
}

QString press(const QString& text)
{
    QWidget* modal = QApplication::activeModalWidget();
    for (QAbstractButton* button : modal ? modal->findChildren<QAbstractButton*>() : QList<QAbstractButton*>()) {
        if (button->isVisible() && button->text().remove('&') == text)
            return click(button, {});
    }
    return QStringLiteral("no button ") + text;
}

std::unique_ptr<VirtualJoystick> joystick; // unplugged while the program still runs SDL

QString run(const QStringList& words)
{
    const QString command = words.value(0);
    const auto number = [&words](int at) { return words.value(at).toInt(nullptr, 0); };
    const auto pid = static_cast<unsigned short>(number(1));
    if (!window())
        return QStringLiteral("no window");
    if (command == "shown")
        return waitUntilShown() ? QStringLiteral("shown") : QStringLiteral("not shown");
    if (command == "close")
        return QTimer::singleShot(0, window(), &QWidget::close), QStringLiteral("closing");
    if (auto* session = qApp->findChild<QSessionManager*>(); command == "endsession" && session) // as at log-off
        return QTimer::singleShot(0, session, [session] { emit qApp->commitDataRequest(*session); }), QStringLiteral("closing");
    if (command == "modal")
        return modalText();
    if (command == "press")
        return press(words.mid(1).join(' '));
    if (command == "shot")
        return WidgetTest::saveScreenshot(window(), words.value(1)).isEmpty() ? QStringLiteral("not saved") : QStringLiteral("saved");
    if (command == "joystick") {
        joystick = std::make_unique<VirtualJoystick>(words.value(1).toUtf8(), number(2), number(3));
        return joystick->isValid() ? QStringLiteral("plugged") : QStringLiteral("not plugged");
    }
    if (command == "button" && joystick) {
        joystick->setButton(number(1), number(2) == 1);
        return number(2) == 1 ? QStringLiteral("pressed") : QStringLiteral("released");
    }
    if (command == "reads") {
        const std::vector<uint8_t> reads = BaseEmulator::featureReads(pid);
        return hex(reads.data(), reads.size());
    }
    if (command == "record") {
        const auto record = BaseEmulator::settingsRecord(pid, uint8_t(number(2)), words.value(3) == "flash");
        return hex(record.data(), record.size());
    }
    if (command == "unplug")
        return BaseEmulator::unplugBase(pid), QStringLiteral("unplugged");

    QObject* object = find<QObject>(words.value(1));
    if (!object)
        return QStringLiteral("no object ") + words.value(1);
    if (command == "get")
        return object->property(qPrintable(words.value(2))).toString();
    if (command == "set")
        return object->setProperty(qPrintable(words.value(2)), words.value(3)) ? QStringLiteral("set") : QStringLiteral("not set");
    if (command == "click" && object->isWidgetType())
        return click(static_cast<QWidget*>(object), words.value(2));
    if (auto* tabWidget = qobject_cast<QTabWidget*>(object); command == "tabs" && tabWidget)
        return tabs(tabWidget, words.mid(2));
    auto* combo = qobject_cast<QComboBox*>(object);
    if (command == "rows" && combo)
        return rows(combo);
    if (command == "pick" && combo)
        return pick(combo, number(2));
    return QStringLiteral("unknown command");
}

void answer(QString line)
{
    std::fputs(qPrintable(line.replace('\n', QLatin1String("\\n")) + '\n'), stdout);
    std::fflush(stdout);
}

void startReading()
{
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, QCoreApplication::instance());
    auto pending = std::make_shared<QByteArray>();
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, pending] {
        char chunk[4096];
        const ssize_t size = ::read(STDIN_FILENO, chunk, sizeof(chunk));
        if (size <= 0)
            return notifier->setEnabled(false);
        pending->append(chunk, size);
        for (qsizetype end = pending->indexOf('\n'); end >= 0; end = pending->indexOf('\n')) {
            const QString line = QString::fromUtf8(pending->left(end));
            pending->remove(0, end + 1);
            answer(run(line.split(' ', Qt::SkipEmptyParts)));
        }
    });
}

void reportEnd()
{
    int open = 0;
    for (unsigned short productId : {22000, 22777, 22888, 22999, 22001})
        open += BaseEmulator::openHandleCount(productId);
    answer(QStringLiteral("ended handles %1 exits %2").arg(open).arg(BaseEmulator::exitCount()));
}

// Runs inside the QApplication constructor; the commands are read once its loop runs.
void attach()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &startReading, Qt::QueuedConnection);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] { joystick.reset(); });
    qAddPostRoutine(reportEnd);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(attach)
