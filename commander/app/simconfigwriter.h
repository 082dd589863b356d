#pragma once

#include <QCoreApplication>
#include <QString>

// Points DCS World, IL-2 Sturmovik and Condor 2 at torquix-commander (127.0.0.1 and a UDP
// port) by editing the simulators' own files. Each update returns an empty text on
// success, otherwise what failed, naming the file; a failed step stops the steps after
// it. A user's file keeps every byte the edit does not have to change, is replaced
// atomically, and is not written at all when nothing changes. No dialogs, any thread.
class SimConfigWriter
{
    Q_DECLARE_TR_FUNCTIONS(SimConfigWriter)

public:
    // dcsFolder is the DCS Saved Games folder, shippedFolder the "extras/dcs" tree
    // shipped beside the program. Nothing is touched when the shipped export script is
    // missing or dcsFolder is the shipped tree or lies inside it.
    static QString updateDcs(const QString& dcsFolder, const QString& shippedFolder, quint16 port);
    // Sets addr1 of the telemetry-device block of "data/startup.cfg".
    static QString updateIl2(const QString& il2Folder, quint16 port);
    // Sets the five telemetry keys of "Settings/UDP.ini".
    static QString updateCondor2(const QString& condor2Folder, quint16 port);

    // Merges the source tree into the target: each file that differs is written under a
    // temporary name and renamed over the one it replaces; target entries that the source
    // lacks stay; symbolic links in the source are skipped.
    static QString copyDirectoryRecursively(const QString& source, const QString& target);
};
