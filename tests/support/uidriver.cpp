#include "uidriver.h"

#include "virtualjoystick.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocalSocket>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>

namespace {

QByteArray encoded(const QString& text)
{
    return text.toUtf8().toPercentEncoding();
}

QString decoded(const QByteArray& field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

QString textOf(QWidget* widget)
{
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText();
    return widget->windowTitle();
}

// Input goes in after the answer has left: a dialog it opens runs its own event loop.
void later(QWidget* widget, std::function<void(QWidget*)> input)
{
    QPointer<QWidget> target = widget;
    QTimer::singleShot(0, qApp, [target, input] {
        if (target)
            input(target);
    });
}

void startDriver()
{
    const QString name = qEnvironmentVariable("TORQUIX_UI_DRIVER");
    if (!name.isEmpty())
        new UiDriver(name, qApp);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)

UiDriver::UiDriver(const QString& socketName, QObject* parent)
    : QObject(parent)
{
    connect(&server, &QLocalServer::newConnection, this, &UiDriver::onNewConnection);
    if (!server.listen(socketName))
        qWarning() << "UI driver cannot listen on" << socketName << server.errorString();
    connect(&shownPoll, &QTimer::timeout, this, &UiDriver::answerWaitingForShown);
}

UiDriver::~UiDriver() = default;

void UiDriver::onNewConnection()
{
    while (QLocalSocket* socket = server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this,
                [this, socket] { waitingForShown.removeAll(socket); });
    }
}

void UiDriver::onReadyRead(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine().trimmed();
        execute(socket, line.split('\t'));
    }
}

void UiDriver::reply(QLocalSocket* socket, const QByteArray& status, const QString& value)
{
    socket->write(status + '\t' + encoded(value) + '\n');
    socket->flush();
}

QWidget* UiDriver::mainWindow() const
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("MainWindow"))
            return top;
    }
    return nullptr;
}

QWidget* UiDriver::widget(const QString& objectName) const
{
    QWidget* window = mainWindow();
    if (!window)
        return nullptr;
    // "page/child" names a child of a page, where several pages use the same name.
    QWidget* found = window;
    for (const QString& name : objectName.split(QLatin1Char('/'))) {
        if (name != QLatin1String("MainWindow"))
            found = found->findChild<QWidget*>(name);
        if (!found)
            return nullptr;
    }
    return found;
}

void UiDriver::answerWaitingForShown()
{
    if (waitingForShown.isEmpty())
        return;
    QWidget* window = mainWindow();
    if (!window || !window->isVisible() || !window->windowHandle()
        || !window->windowHandle()->isExposed())
        return;
    for (QLocalSocket* socket : std::as_const(waitingForShown))
        reply(socket, "ok");
    waitingForShown.clear();
    shownPoll.stop();
}

void UiDriver::execute(QLocalSocket* socket, const QList<QByteArray>& fields)
{
    const QByteArray command = fields.value(0);
    const QString first = decoded(fields.value(1));
    const QString second = decoded(fields.value(2));

    if (command == "shown") {
        waitingForShown.append(socket);
        shownPoll.start(1);
        answerWaitingForShown();
        return;
    }
    if (command == "modal") {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        reply(socket, "ok", box ? box->text() : modal ? modal->windowTitle() : QString());
        return;
    }
    if (command == "joystick") {
        joystick.reset(new VirtualJoystick(first.toUtf8(), second.toInt(),
                                           decoded(fields.value(3)).toInt()));
        reply(socket, joystick->isValid() ? "ok" : "error", QStringLiteral("joystick"));
        return;
    }
    if (command == "button") {
        if (!joystick)
            return reply(socket, "error", QStringLiteral("no joystick"));
        joystick->setButton(first.toInt(), second.toInt() != 0);
        return reply(socket, "ok");
    }

    QWidget* target = widget(command == "screenshot" || command == "close"
                                 ? QStringLiteral("MainWindow") : first);
    if (!target)
        return reply(socket, "error", QStringLiteral("no widget ") + first);
    if (command == "text")
        return reply(socket, "ok", textOf(target));
    if (command == "screenshot") {
        QCoreApplication::sendPostedEvents();
        return reply(socket, target->grab().save(first, "PNG") ? "ok" : "error", first);
    }
    if (command == "close") {
        reply(socket, "ok");
        return later(target, [](QWidget* window) { window->close(); });
    }
    if (command == "click") {
        reply(socket, "ok");
        return later(target, [](QWidget* button) {
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
        });
    }
    if (command == "tab") {
        auto* tabs = qobject_cast<QTabWidget*>(target);
        if (!tabs)
            return reply(socket, "error", QStringLiteral("not a tab widget"));
        reply(socket, "ok");
        const int index = second.toInt();
        return later(tabs->tabBar(), [index](QWidget* bar) {
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                              static_cast<QTabBar*>(bar)->tabRect(index).center());
        });
    }
    if (command == "type") {
        reply(socket, "ok");
        return later(target, [second](QWidget* edit) {
            edit->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Delete);
            QTest::keyClicks(edit, second);
        });
    }
    if (command == "choose") {
        reply(socket, "ok");
        const int index = second.toInt();
        return later(target, [index](QWidget* combo) {
            combo->setFocus(Qt::OtherFocusReason);
            QTest::keyClick(combo, Qt::Key_Home);
            for (int step = 0; step < index; ++step)
                QTest::keyClick(combo, Qt::Key_Down);
        });
    }
    reply(socket, "error", QStringLiteral("unknown command"));
}
