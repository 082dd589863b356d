#include "dcsexportharness.h"

#include <QDebug>
#include <QRegularExpression>
#include <QStandardPaths>

QString DcsExportHarness::lua()
{
    return QStandardPaths::findExecutable(QStringLiteral("lua5.1"));
}

bool DcsExportHarness::start(const QString& savedGames, const QStringList& arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(lua(), QStringList{DCS_EXPORT_HARNESS, savedGames + QLatin1Char('/')} + arguments);
    return process.waitForStarted();
}

bool DcsExportHarness::finish(int timeoutMs)
{
    if (!process.waitForFinished(timeoutMs))
        return false;
    printed = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << "the DCS export harness failed:" << printed;
        return false;
    }
    return true;
}

QStringList DcsExportHarness::logLines() const
{
    QStringList lines;
    for (const QByteArray& line : printed.split('\n')) {
        if (line.startsWith("LOG "))
            lines << QString::fromUtf8(line.mid(4));
    }
    return lines;
}

int DcsExportHarness::sentDatagrams() const
{
    static const QRegularExpression sent(QStringLiteral("^previous .* sent=(\\d+)$"), QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = sent.match(QString::fromUtf8(printed));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}
