#pragma once

#include <QObject>

// Turns the system's requests to end the program (SIGINT, SIGTERM, SIGHUP and SIGQUIT, or
// a console's Ctrl+C and close on Windows, and the end of the desktop session) into a
// signal on the GUI thread, so that the program ends the same orderly way as when its
// window is closed. One instance per program, made after the application object.
class TerminationSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignalWatcher(QObject* parent = nullptr);
    ~TerminationSignalWatcher() override;

signals:
    void terminationRequested();

private:
    // Log-off and shut-down reach a GUI program as the application's commitDataRequest.
    void watchSessionEnd();

    struct Platform;
    Platform* platform;
};
