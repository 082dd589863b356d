#include "commanderprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <csignal>

CommanderProcess::CommanderProcess(const QString& workingDirectory)
    : folder(workingDirectory)
{
    const QDir programDir = QFileInfo(QStringLiteral(TORQUIX_COMMANDER)).dir();
    for (const QString& name : programDir.entryList({"*.png", "*.json"}, QDir::Files))
        QFile::copy(programDir.filePath(name), QDir(folder).filePath(name));
    QFile::link(programDir.filePath("extras"), QDir(folder).filePath("extras"));
}

CommanderProcess::~CommanderProcess()
{
    delete driver;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool CommanderProcess::start(const QString& releaseServer)
{
    const QString socketName = QDir(folder).filePath("driver.socket");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LD_PRELOAD", TORQUIX_EMULATOR_PRELOAD ":" TORQUIX_UI_DRIVER_PRELOAD);
    environment.insert("TORQUIX_EMULATOR_BASES", "joystick,rudder,collective");
    environment.insert("TORQUIX_EMULATOR_FIRMWARE", "RC.24.1.2");
    environment.insert("TORQUIX_EMULATOR_REPORT_LOG", QDir(folder).filePath("reports.log"));
    environment.insert("TORQUIX_UI_DRIVER", socketName);
    environment.insert("TORQUIX_RELEASE_SERVER_URL", releaseServer);
    environment.insert("SDL_JOYSTICK_HIDAPI", "0"); // only the test's virtual joysticks
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(TORQUIX_COMMANDER, QStringList());

    driver = new QLocalSocket;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && process.waitForStarted(10000)) {
        driver->connectToServer(socketName);
        if (driver->waitForConnected(100))
            return true;
        QThread::msleep(2);
    }
    return false;
}

QString CommanderProcess::command(const QStringList& fields, int timeoutMs)
{
    QByteArrayList encoded;
    for (const QString& field : fields)
        encoded.append(field.toUtf8().toPercentEncoding());
    driver->write(encoded.join('\t') + '\n');
    const QDeadlineTimer deadline(timeoutMs);
    while (!driver->canReadLine()) {
        if (!driver->waitForReadyRead(int(deadline.remainingTime())))
            return QString();
    }
    const QList<QByteArray> answer = driver->readLine().trimmed().split('\t');
    if (answer.value(0) != "ok")
        return QString();
    // Never null, so that an empty value still tells success from failure.
    return QStringLiteral("") + QString::fromUtf8(QByteArray::fromPercentEncoding(answer.value(1)));
}

bool CommanderProcess::waitForText(const QString& objectName, const QString& expected, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (command({"text", objectName}) != expected) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    }
    return true;
}

std::vector<BaseEmulator::WrittenReport> CommanderProcess::reports() const
{
    return BaseEmulator::readReportLog(QDir(folder).filePath("reports.log").toStdString());
}

void CommanderProcess::sendSignal(int number)
{
    ::kill(pid_t(process.processId()), number);
}

bool CommanderProcess::waitForCleanExit(int timeoutMs)
{
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(timeoutMs))
        return false;
    return process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
}
