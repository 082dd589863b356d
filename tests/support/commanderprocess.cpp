#include "commanderprocess.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>

#include <csignal>

CommanderProcess::CommanderProcess(const QString& workingDirectory)
    : folder(workingDirectory)
    , socketName(QDir(workingDirectory).filePath(QStringLiteral("driver.socket")))
{
    const QDir programDir = QFileInfo(QStringLiteral(TORQUIX_COMMANDER)).dir();
    const QStringList files =
        programDir.entryList({QStringLiteral("*.png"), QStringLiteral("*.json")}, QDir::Files);
    for (const QString& name : files)
        QFile::copy(programDir.filePath(name), QDir(folder).filePath(name));
    QFile::link(programDir.filePath(QStringLiteral("extras")), QDir(folder).filePath(QStringLiteral("extras")));
}

CommanderProcess::~CommanderProcess()
{
    delete driver;
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(5000);
    }
}

bool CommanderProcess::start(const Options& options)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("LD_PRELOAD"),
                       QStringLiteral(TORQUIX_EMULATOR_PRELOAD ":" TORQUIX_UI_DRIVER_PRELOAD));
    environment.insert(QStringLiteral("TORQUIX_EMULATOR_BASES"), options.bases);
    environment.insert(QStringLiteral("TORQUIX_EMULATOR_FIRMWARE"), options.firmware);
    environment.insert(QStringLiteral("TORQUIX_EMULATOR_REPORT_LOG"),
                       QDir(folder).filePath(QStringLiteral("reports.log")));
    environment.insert(QStringLiteral("TORQUIX_UI_DRIVER"), socketName);
    environment.insert(QStringLiteral("TORQUIX_RELEASE_SERVER_URL"), options.releaseServer);
    // Only the test's virtual joysticks, none of the machine's.
    environment.insert(QStringLiteral("SDL_JOYSTICK_HIDAPI"), QStringLiteral("0"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(TORQUIX_COMMANDER), QStringList());
    if (!process.waitForStarted(10000))
        return false;

    driver = new QLocalSocket;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && process.state() == QProcess::Running) {
        driver->connectToServer(socketName);
        if (driver->waitForConnected(100))
            return true;
        QThread::msleep(2);
    }
    return false;
}

QString CommanderProcess::command(const QStringList& fields, int timeoutMs)
{
    if (!driver || driver->state() != QLocalSocket::ConnectedState)
        return QString();
    QByteArrayList encoded;
    for (const QString& field : fields)
        encoded.append(field.toUtf8().toPercentEncoding());
    driver->write(encoded.join('\t') + '\n');
    driver->flush();
    const QDeadlineTimer deadline(timeoutMs);
    while (!driver->canReadLine()) {
        if (deadline.hasExpired() || !driver->waitForReadyRead(int(deadline.remainingTime())))
            return QString();
    }
    const QList<QByteArray> answer = driver->readLine().trimmed().split('\t');
    if (answer.value(0) != "ok")
        return QString();
    const QString value = QString::fromUtf8(QByteArray::fromPercentEncoding(answer.value(1)));
    // An empty value still tells success from failure.
    return value.isNull() ? QStringLiteral("") : value;
}

bool CommanderProcess::waitForText(const QString& objectName, const QString& expected,
                                   int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (command({QStringLiteral("text"), objectName}) == expected)
            return true;
        QCoreApplication::processEvents();
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    return false;
}

std::vector<BaseEmulator::WrittenReport> CommanderProcess::reports() const
{
    return BaseEmulator::readReportLog(QDir(folder).filePath(QStringLiteral("reports.log")).toStdString());
}

void CommanderProcess::sendSignal(int number)
{
    if (process.processId() > 0)
        ::kill(pid_t(process.processId()), number);
}

bool CommanderProcess::waitForCleanExit(int timeoutMs)
{
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(timeoutMs))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QByteArray CommanderProcess::errorOutput()
{
    return process.readAllStandardError();
}
