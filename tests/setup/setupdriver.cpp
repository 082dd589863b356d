// Preloaded into a real torquix-setup, with the base emulator it is linked with, by the
// end-to-end tests. It answers each command line on standard input with one line on
// standard output, acting as the user at the window or a hand at the emulated bases
// would, and prints "ended handles <open handles> exits <hid_exit calls>" at the end.
#include "baseemulator.h"
#include "widgettest.h"

#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QSocketNotifier>
#include <QTabWidget>
#include <QTest>

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
T* find(const QString& name)
{
    return name == QLatin1String("MainWindow") ? qobject_cast<T*>(window()) : window()->findChild<T*>(name);
}

QString hex(const uint8_t* bytes, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(size)).toHex();
}

// "placeholder;current row;row:text|row:text" of the rows a user can see.
QString devices(QComboBox* combo)
{
    QStringList rows;
    for (int row = 0; row < combo->count(); ++row) {
        if (!static_cast<QListView*>(combo->view())->isRowHidden(row))
            rows << QStringLiteral("%1:%2").arg(row).arg(combo->itemText(row));
    }
    return QStringLiteral("%1;%2;%3").arg(combo->placeholderText()).arg(combo->currentIndex()).arg(rows.join('|'));
}

// "tab|tab;111": the visible tabs, then 1 or 0 for each command button enabled.
QString tabs(QTabWidget* tabWidget)
{
    QStringList shown;
    for (int tab = 0; tab < tabWidget->count(); ++tab) {
        if (tabWidget->isTabVisible(tab))
            shown << tabWidget->tabText(tab);
    }
    QString buttons;
    for (const char* name : {"save_effects_settings_button", "dfu_mode_button", "reboot_button"})
        buttons += find(name)->isEnabled() ? '1' : '0';
    return shown.join('|') + ';' + buttons;
}

// As a user does: open the list and click the row; a row that is not shown cannot be.
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

QString run(const QStringList& words)
{
    const QString command = words.value(0);
    const auto number = [&words](int at) { return words.value(at).toInt(nullptr, 0); };
    const auto pid = static_cast<unsigned short>(number(1));
    if (!window())
        return QStringLiteral("no window");
    if (command == "devices")
        return devices(find<QComboBox>("devices_combo_box"));
    if (command == "tabs")
        return tabs(find<QTabWidget>("main_tab_widget"));
    if (command == "pick")
        return pick(find<QComboBox>("devices_combo_box"), number(1));
    if (command == "get") // object, property
        return find<QObject>(words.value(1))->property(qPrintable(words.value(2))).toString();
    if (command == "set") // object, property, value
        return find<QObject>(words.value(1))->setProperty(qPrintable(words.value(2)), words.value(3)) ? "set" : "not set";
    if (command == "click")
        return QTest::mouseClick(find(words.value(1)), Qt::LeftButton), QStringLiteral("clicked");
    if (command == "shot") // the window, under the screenshots of the program
        return WidgetTest::saveScreenshot(window(), words.value(1)).isEmpty() ? QStringLiteral("not saved") : QStringLiteral("saved");
    if (command == "reads") { // the settings records read from a base, by report id
        const std::vector<uint8_t> reads = BaseEmulator::featureReads(pid);
        return hex(reads.data(), reads.size());
    }
    if (command == "record") { // product id, report id, live or flash
        const auto record = BaseEmulator::settingsRecord(pid, uint8_t(number(2)), words.value(3) == "flash");
        return hex(record.data(), record.size());
    }
    if (command == "unplug")
        return BaseEmulator::unplugBase(pid), QStringLiteral("unplugged");
    if (command == "quit")
        return window()->close(), QStringLiteral("closing");
    return QStringLiteral("unknown command");
}

void answer(const QString& line)
{
    std::fputs(qPrintable(line + '\n'), stdout);
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
    qAddPostRoutine(reportEnd);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(attach)
