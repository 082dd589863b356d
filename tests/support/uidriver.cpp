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
#include <QWindow>

namespace {

QWidget* mainWindow()
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->objectName() == QLatin1String("MainWindow"))
            return top;
    }
    return nullptr;
}

QWidget* findWidget(const QString& path)
{
    QWidget* found = mainWindow();
    for (const QString& name : path.split(QLatin1Char('/'))) {
        if (found && name != QLatin1String("MainWindow"))
            found = found->findChild<QWidget*>(name);
    }
    return found;
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

void reply(QLocalSocket* socket, bool ok, const QString& value = QString())
{
    socket->write(QByteArray(ok ? "ok\t" : "error\t") + value.toUtf8().toPercentEncoding() + '\n');
    socket->flush();
}

void startDriver()
{
    const QString name = qEnvironmentVariable("TORQUIX_UI_DRIVER");
    if (!name.isEmpty())
        new UiDriver(name);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)

UiDriver::UiDriver(const QString& socketName)
    : QObject(qApp)
{
    connect(&server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine())
                    execute(socket, socket->readLine().trimmed().split('\t'));
            });
        }
    });
    connect(&shownPoll, &QTimer::timeout, this, &UiDriver::answerWaitingForShown);
    if (!server.listen(socketName))
        qWarning() << "UI driver cannot listen on" << socketName << server.errorString();
}

UiDriver::~UiDriver() = default;

void UiDriver::answerWaitingForShown()
{
    QWidget* window = mainWindow();
    if (!window || !window->isVisible() || !window->windowHandle()->isExposed())
        return;
    for (QLocalSocket* socket : std::as_const(waitingForShown))
        reply(socket, true);
    waitingForShown.clear();
    shownPoll.stop();
}

void UiDriver::execute(QLocalSocket* socket, const QList<QByteArray>& fields)
{
    QStringList args;
    for (const QByteArray& field : fields)
        args.append(QString::fromUtf8(QByteArray::fromPercentEncoding(field)));
    const QString command = args.value(0);
    if (command == QLatin1String("shown")) {
        waitingForShown.append(socket);
        shownPoll.start(1);
        return answerWaitingForShown();
    }
    if (command == QLatin1String("modal")) {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        return reply(socket, true, box ? box->text() : modal ? modal->windowTitle() : QString());
    }
    if (command == QLatin1String("joystick")) {
        joystick.reset(new VirtualJoystick(args.value(1).toUtf8(), args.value(2).toInt(), args.value(3).toInt()));
        return reply(socket, joystick->isValid());
    }
    if (command == QLatin1String("button")) {
        if (joystick)
            joystick->setButton(args.value(1).toInt(), args.value(2) == QLatin1String("1"));
        return reply(socket, joystick != nullptr);
    }
    const bool onWindow = command == QLatin1String("screenshot") || command == QLatin1String("close");
    QWidget* target = onWindow ? mainWindow() : findWidget(args.value(1));
    if (!target)
        return reply(socket, false, QStringLiteral("no widget"));
    if (command == QLatin1String("text"))
        return reply(socket, true, textOf(target));
    if (command == QLatin1String("screenshot"))
        return reply(socket, target->grab().save(args.value(1), "PNG"));
    if (command != QLatin1String("click") && command != QLatin1String("close"))
        return reply(socket, false, QStringLiteral("unknown command"));

    // The input follows the answer: a dialog it opens runs an event loop of its own.
    reply(socket, true);
    QPoint point = target->rect().center();
    if (auto* tabs = qobject_cast<QTabWidget*>(target); tabs && args.size() > 2) {
        target = tabs->tabBar();
        point = tabs->tabBar()->tabRect(args.value(2).toInt()).center();
    }
    QTimer::singleShot(0, target, [target, point, command] {
        if (command == QLatin1String("close"))
            target->close();
        else
            QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, point);
    });
}
