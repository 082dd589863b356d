#include "dcsexportharness.h"

#include <QDebug>
#include <QStandardPaths>

QString DcsExportHarness::lua()
{
    return QStandardPaths::findExecutable(QStringLiteral("lua5.1"));
}

QStringList DcsExportHarness::logLines(const QByteArray& printed)
{
    QStringList lines;
    for (const QByteArray& line : printed.split('\n')) {
        if (line.startsWith("LOG "))
            lines << QString::fromUtf8(line.mid(4));
    }
    return lines;
}

bool DcsExportHarness::start(const QString& savedGames, const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(lua(), QStringList{DCS_EXPORT_HARNESS, savedGames + QLatin1Char('/')} + arguments);
    return process.waitForStarted();
}

QByteArray DcsExportHarness::finish(int timeoutMs)
{
    if (!process.waitForFinished(timeoutMs))
        return QByteArray();
    const QByteArray printed = process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return printed;
    qWarning() << "the DCS export harness failed:" << printed;
    return QByteArray();
}
