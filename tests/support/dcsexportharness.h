#pragma once

#include <QProcess>
#include <QStringList>

// dcs_export_harness.lua under lua5.1 and LuaSocket on a DCS Saved Games folder: the
// export scripts found there run outside DCS as DCS runs them, while stubs of the DCS
// export functions play a flight on the harness's own clock. Its error output goes to
// the caller's; it is killed if it still runs when this goes.
class DcsExportHarness
{
public:
    // lua5.1's path; empty when it is not installed.
    static QString lua();

    // arguments: the frames, the seconds per frame, the scenario and the options, as the
    // script's head lists them.
    bool start(const QString& savedGames, const QStringList& arguments);
    // Waits for the end; false when the harness failed or has not ended within timeoutMs.
    bool finish(int timeoutMs = 120000);

    // What it printed once it ended: the script's log lines as "LOG <subsystem> <level>
    // <text>", then "previous start=<calls> frames=<calls> stop=<calls> port=<port>
    // sent=<datagrams>" for the callbacks DCS defined before the scripts ran, our
    // script's port and the datagrams its socket sent.
    const QByteArray& output() const { return printed; }
    // The log lines without "LOG ".
    QStringList logLines() const;
    // The datagrams our script sent; -1 before the end.
    int sentDatagrams() const;

private:
    QProcess process;
    QByteArray printed;
};
