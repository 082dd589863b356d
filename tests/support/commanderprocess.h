#pragma once

#include "baseemulator.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <vector>

class QLocalSocket;

// The real torquix-commander for end-to-end tests and benchmarks: started offscreen in a
// working folder of the caller's, with the base emulator in place of the bases (its report
// log in that folder) and the UI driver to look at and work its window.
class CommanderProcess
{
public:
    struct Options {
        QString bases = QStringLiteral("joystick,rudder,collective");
        QString firmware = QStringLiteral("RC.24.1.2");
        // Empty: no release request.
        QString releaseServer;
    };

    // Copies the program's run-time files (icon, pictures, mapping files, "extras") into
    // workingDirectory, which must exist.
    explicit CommanderProcess(const QString& workingDirectory);
    ~CommanderProcess();

    // Starts the program and connects to its driver; false when either fails.
    bool start(const Options& options);
    bool start() { return start(Options()); }
    // Sends one command (see uidriver.h) and returns its value; a failed or unanswered
    // command gives a null string.
    QString command(const QStringList& fields, int timeoutMs = 10000);
    // Polls text <object> until it equals expected; false after timeoutMs.
    bool waitForText(const QString& objectName, const QString& expected, int timeoutMs = 10000);

    std::vector<BaseEmulator::WrittenReport> reports() const;
    void sendSignal(int number);
    // Waits for the program to end; true when it exited normally with code 0.
    bool waitForCleanExit(int timeoutMs = 30000);
    QByteArray errorOutput();
    qint64 processId() const { return process.processId(); }

private:
    QString folder;
    QString socketName;
    QProcess process;
    QLocalSocket* driver = nullptr;
};
