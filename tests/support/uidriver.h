#pragma once

#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QTimer>

#include <memory>

class QLocalSocket;
class QWidget;
class VirtualJoystick;

// Works a real program's window for a test in another process. Preloaded with the program
// (LD_PRELOAD), it starts with the application when TORQUIX_UI_DRIVER names a local
// socket and answers each command line there with one line, "ok" or "error" and a value;
// fields are tab-separated and percent-encoded. An object is named by its object name,
// or by "page/child" where pages repeat a name. Commands:
//   shown                  answers once the window "MainWindow" is shown and exposed
//   text <object>          the text of a line edit, button or combo box, else the title
//   click <object> [tab]   a mouse click in the middle of a widget, or on a tab of a tab
//                          widget; delivered after the answer, since it may open a dialog
//   modal                  the text of the open modal dialog ("" when none)
//   screenshot <path>      saves a picture of the main window as PNG
//   joystick <name> <buttons> <hats>   plugs in an SDL virtual joystick
//   button <index> <0|1>   releases or presses a button of that joystick
//   close                  closes the main window, as its close button does
class UiDriver : public QObject
{
    Q_OBJECT

public:
    explicit UiDriver(const QString& socketName);
    ~UiDriver() override;

private:
    void execute(QLocalSocket* socket, const QList<QByteArray>& fields);
    void answerWaitingForShown();

    QLocalServer server;
    QList<QLocalSocket*> waitingForShown;
    QTimer shownPoll;
    std::unique_ptr<VirtualJoystick> joystick;
};
