#pragma once

#include <QProcess>
#include <QStringList>

// dcs_export_harness.lua under lua5.1 and LuaSocket on a DCS Saved Games folder: the
// export scripts found there run outside DCS as DCS runs them, while stubs of the DCS
// export functions play a flight on the harness's own clock. The script's head lists its
// arguments and what it prints. Its error output goes to the caller's.
class DcsExportHarness
{
public:
    // lua5.1's path; empty when it is not installed.
    static QString lua();
    // The script's log lines in what the harness printed, without "LOG ".
    static QStringList logLines(const QByteArray& printed);

    // arguments: the frames, the seconds per frame, the scenario and the options.
    bool start(const QString& savedGames, const QStringList& arguments);
    // Waits for the end: what the harness printed, or nothing when it failed or has not
    // ended within timeoutMs.
    QByteArray finish(int timeoutMs = 120000);

private:
    QProcess process;
};
