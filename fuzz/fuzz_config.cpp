// "config.ini" as AppConfig reads it: ports, paths and the trim bindings. Besides the
// sanitizers it checks what the worker relies on: a binding read from the file names
// a button index that cannot be negative, or a hat index and one of SDL's eight hat
// positions, and an unassigned binding carries nothing.
#include "appconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
QTemporaryDir* root = nullptr;

bool isHatPosition(int direction)
{
    switch (direction) {
    case 1: case 2: case 4: case 8: case 3: case 6: case 12: case 9:
        return true;
    default:
        return false;
    }
}

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "config.ini: %s\n", what);
        std::abort();
    }
}
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static int appArgc = 1;
    static char name[] = "fuzz";
    static char* appArgv[] = {name, nullptr};
    static QCoreApplication application(appArgc, appArgv);
    root = new QTemporaryDir;

    // QSettings keeps every file it has read in a process-wide cache, so each input
    // looks like a leak to libFuzzer's check after every input, which then scans the
    // whole heap each time. The flags are read after this function.
    static std::vector<char*> arguments(*argv, *argv + *argc);
    static char noLeakCheck[] = "-detect_leaks=0";
    arguments.insert(arguments.begin() + 1, noLeakCheck);
    arguments.push_back(nullptr);
    *argc = int(arguments.size()) - 1;
    *argv = arguments.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // QSettings keeps a parsed file while its size and time stay the same: every input
    // gets a folder of its own.
    static quint64 run = 0;
    const QString folder = root->filePath(QString::number(run++));
    QDir().mkpath(folder);
    QFile file(folder + "/config.ini");
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    file.close();

    const QString startDir = QDir::currentPath();
    QDir::setCurrent(folder);
    {
        const AppConfig config;
        config.trimIncrement();
        config.defaultTelemetry();
        config.dcsSettings();
        config.il2Settings();
        config.condor2Settings();
        config.xplaneSettings();
        const AppConfig::TrimConfig bindings = config.trimConfig();
        for (const auto& trimmer : bindings) {
            for (const AppConfig::TrimButtonConfig& binding : trimmer) {
                if (!binding.assigned) {
                    check(binding.deviceName.isEmpty() && !binding.isHat && binding.hatIndex == 0
                              && binding.buttonIndex == 0,
                          "an unassigned binding carries values");
                } else if (binding.isHat) {
                    check(binding.hatIndex >= 0, "negative hat index");
                    check(isHatPosition(binding.buttonIndex), "not a hat position");
                } else {
                    check(binding.buttonIndex >= 0, "negative button index");
                }
            }
        }
    }
    QDir::setCurrent(startDir);
    QDir(folder).removeRecursively();
    return 0;
}
