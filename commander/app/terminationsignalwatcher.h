#pragma once

#include <QObject>

// Turns the system's requests to end the program (SIGINT and SIGTERM, or a console's
// Ctrl+C and close on Windows) into a signal on the GUI thread, so that the program
// ends the same orderly way as when its window is closed. One instance per program.
class TerminationSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignalWatcher(QObject* parent = nullptr);
    ~TerminationSignalWatcher() override;

signals:
    void terminationRequested();

private:
    struct Platform;
    Platform* platform;
};
