#pragma once

#include "baseemulator.h"

#include <QProcess>
#include <QStringList>

#include <vector>

// A real torquix-commander or torquix-setup for end-to-end tests and benchmarks: started
// offscreen in a working folder of the caller's, with emulated bases (RC.24.1.2) in place
// of real ones, their report log "reports.log" in that folder, and the UI driver
// (uidriver.cpp) answering commands. Its error output goes to the caller's.
class ProgramProcess
{
public:
    // How long a test waits for an emulated base to be found: on the 101st tick of 10 ms,
    // later under load.
    static constexpr int discoveryMs = 15000;

    // Copies or links the program's run-time files from beside it (pictures, mapping
    // files, "extras", "i18n") into workingDirectory, which must exist.
    ProgramProcess(const QString& program, const QString& workingDirectory);
    ~ProgramProcess();

    // bases: as TORQUIX_EMULATOR_BASES. releaseServer: torquix-commander's release
    // server; empty, it asks none.
    bool start(const QString& bases, const QStringList& arguments = {}, const QString& releaseServer = {});
    // A further environment variable for the program, such as one of the emulator's; set
    // before start.
    void setEnvironmentValue(const QString& name, const QString& value) { extraEnvironment.insert(name, value); }
    // The driver's answers to the commands, given in turn, joined by " / ".
    QString ask(const QStringList& commands);
    QString ask(const QString& command) { return ask(QStringList{command}); }
    // Closes the window (or gives the driver another command that ends the program, such
    // as "endsession"), or sends signalNumber, and waits for the end: the driver's last
    // line, " code " and the exit code, or "crashed by signal " and the signal that ended it.
    QString finish(int signalNumber = 0, const QString& command = "close");
    // Waits for the end without ending it; the answer as finish's.
    QString waitForEnd();
    bool isRunning() const { return process.state() != QProcess::NotRunning; }
    // The program starts with signalNumber ignored, as under nohup; set before start.
    void ignoreSignalAtStart(int signalNumber) { ignoredSignal = signalNumber; }

    std::vector<BaseEmulator::WrittenReport> reports() const;
    qint64 processId() const { return process.processId(); }

private:
    QString program;
    QString folder;
    QProcessEnvironment extraEnvironment;
    int ignoredSignal = 0;
    QProcess process;
};
