#include "programprocess.h"

#include <QDir>
#include <QFileInfo>

#include <csignal>

ProgramProcess::ProgramProcess(const QString& program, const QString& workingDirectory)
    : program(program)
    , folder(workingDirectory)
{
    const QDir programDir = QFileInfo(program).dir();
    for (const QString& name : programDir.entryList({"*.png", "*.json"}, QDir::Files))
        QFile::copy(programDir.filePath(name), QDir(folder).filePath(name));
    for (const QString& name : programDir.entryList({"extras", "i18n"}, QDir::Dirs))
        QFile::link(programDir.filePath(name), QDir(folder).filePath(name));
}

ProgramProcess::~ProgramProcess()
{
    process.kill();
    process.waitForFinished(5000);
}

bool ProgramProcess::start(const QString& bases, const QStringList& arguments, const QString& releaseServer)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LD_PRELOAD", TORQUIX_UI_DRIVER_PRELOAD);
    environment.insert("TORQUIX_EMULATOR_BASES", bases);
    environment.insert("TORQUIX_EMULATOR_FIRMWARE", "RC.24.1.2");
    environment.insert("TORQUIX_EMULATOR_REPORT_LOG", QDir(folder).filePath("reports.log"));
    environment.insert("TORQUIX_RELEASE_SERVER_URL", releaseServer);
    environment.insert("SDL_JOYSTICK_HIDAPI", "0"); // only the test's virtual joysticks
    environment.insert(extraEnvironment);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (ignoredSignal != 0)
        process.setChildProcessModifier([signalNumber = ignoredSignal] { ::signal(signalNumber, SIG_IGN); });
    process.start(program, arguments);
    return process.waitForStarted();
}

QString ProgramProcess::ask(const QStringList& commands)
{
    QStringList answers;
    for (const QString& command : commands) {
        process.write(command.toUtf8() + '\n');
        while (!process.canReadLine() && process.waitForReadyRead(10000)) {
        }
        answers << (process.canReadLine() ? QString::fromUtf8(process.readLine()).trimmed() : QStringLiteral("<no answer>"));
    }
    return answers.join(" / ");
}

QString ProgramProcess::finish(int signalNumber, const QString& command)
{
    if (signalNumber != 0)
        ::kill(pid_t(process.processId()), signalNumber);
    else if (ask(command) != "closing")
        return "<not closed>";
    return waitForEnd();
}

QString ProgramProcess::waitForEnd()
{
    if (isRunning() && !process.waitForFinished(30000))
        return "<did not end>";
    // Qt gives the signal that ended a crashed process as its exit code.
    const QString code = process.exitStatus() == QProcess::NormalExit
        ? QString::number(process.exitCode())
        : "crashed by signal " + QString::number(process.exitCode());
    return QString::fromUtf8(process.readAll()).trimmed() + " code " + code;
}

std::vector<BaseEmulator::WrittenReport> ProgramProcess::reports() const
{
    return BaseEmulator::readReportLog(QDir(folder).filePath("reports.log").toStdString());
}
