#pragma once

#include "baseemulator.h"

#include <QProcess>
#include <QStringList>

#include <vector>

class QLocalSocket;

// The real torquix-commander for end-to-end tests and benchmarks: started offscreen in a
// working folder of the caller's, with three emulated bases (RC.24.1.2) in place of real
// ones, their report log in that folder, and the UI driver (uidriver.h) in its window.
class CommanderProcess
{
public:
    // Copies the program's run-time files (pictures, mapping files, "extras") into
    // workingDirectory, which must exist.
    explicit CommanderProcess(const QString& workingDirectory);
    ~CommanderProcess();

    // Starts the program and connects to its driver; false when either fails. An empty
    // releaseServer turns the release request off.
    bool start(const QString& releaseServer = QString());
    // One driver command; its value, or a null string when it failed or went unanswered.
    QString command(const QStringList& fields, int timeoutMs = 10000);
    // Polls "text <object>" until it gives expected; false after timeoutMs.
    bool waitForText(const QString& objectName, const QString& expected, int timeoutMs = 10000);

    std::vector<BaseEmulator::WrittenReport> reports() const;
    void sendSignal(int number);
    // True when the program ended by itself with exit code 0 within timeoutMs.
    bool waitForCleanExit(int timeoutMs = 30000);
    QByteArray errorOutput() { return process.readAllStandardError(); }
    qint64 processId() const { return process.processId(); }

private:
    QString folder;
    QProcess process;
    QLocalSocket* driver = nullptr;
};
