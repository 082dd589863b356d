#pragma once

#include <QByteArray>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QTimer>

#include <memory>

class QLocalSocket;
class QWidget;
class VirtualJoystick;

// Drives a real program's widgets from a test in another process. Preloaded with the
// program (LD_PRELOAD), it starts with the program's application object when
// TORQUIX_UI_DRIVER names a local socket, listens there and answers one line per command
// line; the fields of both are tab-separated and percent-encoded. An object is named by
// its object name, or by "page/child" where pages repeat a name. Commands:
//   shown                     answers once the window "MainWindow" is shown and exposed
//   text <object>             the text of a line edit, button or combo box, the title of others
//   click <object>            a mouse click in the middle of a widget
//   tab <object> <index>      a mouse click on a tab of a tab widget
//   type <object> <text>      replaces a line edit's text by typing
//   choose <object> <index>   picks a combo box item with the arrow keys
//   modal                     the text of the open modal dialog ("" when none)
//   screenshot <path>         saves a picture of the main window as PNG
//   joystick <name> <buttons> <hats>   plugs in an SDL virtual joystick
//   button <index> <0|1>      releases or presses a button of that joystick
//   close                     closes the main window, as its close button does
// Mouse and key input is delivered after the answer, so a dialog it opens does not
// hold the answer back. Answers are "ok" and a value, or "error" and a reason.
class UiDriver : public QObject
{
    Q_OBJECT

public:
    explicit UiDriver(const QString& socketName, QObject* parent = nullptr);
    ~UiDriver() override;

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);
    void execute(QLocalSocket* socket, const QList<QByteArray>& fields);
    void reply(QLocalSocket* socket, const QByteArray& status, const QString& value = QString());
    void answerWaitingForShown();
    QWidget* mainWindow() const;
    QWidget* widget(const QString& objectName) const;

    QLocalServer server;
    QList<QLocalSocket*> waitingForShown;
    QTimer shownPoll;
    std::unique_ptr<VirtualJoystick> joystick;
};
