#include "appconfig.h"

#include "atomicfile.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryFile>

namespace {

const QStringList trimmerNames = {"ROLL_TRIMMER", "PITCH_TRIMMER", "YAW_TRIMMER",
                                  "COLLECTIVE_TRIMMER"};
const QStringList actionNames = {"increase", "decrease", "release", "reset"};

const QString buttonKind = QStringLiteral("Button");
const QString hatKind = QStringLiteral("Hat");

QString bindingKey(int trimmer, int action)
{
    return trimmerNames.at(trimmer) + '/' + actionNames.at(action);
}

// One of SDL's eight hat positions; never centred (0), which would read as pressed
// whenever the hat is let go.
bool isHatDirection(int value)
{
    switch (value) {
    case 1: case 2: case 4: case 8:  // up, right, down, left
    case 3: case 6: case 12: case 9: // the diagonals
        return true;
    default:
        return false;
    }
}

// A decimal number that fits in 32 bits and is not negative, else -1.
int indexFrom(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok && value >= 0 ? value : -1;
}

QString bindingText(const QString& deviceName, bool isHat, int hatIndex, int buttonIndex)
{
    // Joined, not formatted with arg(): a '%' and digit in a joystick name would be
    // taken as a placeholder.
    if (isHat)
        return deviceName + ':' + hatKind + ':' + QString::number(hatIndex) + ':'
            + QString::number(buttonIndex);
    return deviceName + ':' + buttonKind + ':' + QString::number(buttonIndex);
}

// Parsed from the right, so a joystick name may itself contain ':'. Anything that
// is not exactly a button or hat binding reads as not assigned.
AppConfig::TrimButtonConfig parseBinding(const QString& text)
{
    AppConfig::TrimButtonConfig binding;
    const QStringList parts = text.split(':');
    const int n = parts.size();

    // A name that ends in "Hat" (Pad:Hat:Button:3) is still a button binding, so a hat
    // reading that fails gives way to the button reading.
    const int hat = n >= 4 && parts.at(n - 3) == hatKind ? indexFrom(parts.at(n - 2)) : -1;
    const int direction = hat >= 0 ? indexFrom(parts.at(n - 1)) : -1;
    if (isHatDirection(direction)) {
        binding.deviceName = parts.mid(0, n - 3).join(':');
        binding.assigned = true;
        binding.isHat = true;
        binding.hatIndex = hat;
        binding.buttonIndex = direction;
        return binding;
    }
    if (n >= 3 && parts.at(n - 2) == buttonKind) {
        const int button = indexFrom(parts.at(n - 1));
        if (button < 0)
            return binding;
        binding.deviceName = parts.mid(0, n - 2).join(':');
        binding.assigned = true;
        binding.buttonIndex = button;
    }
    return binding;
}

// A value as QSettings reads it back from an INI file, where a number comes back as text.
bool sameValue(const QVariant& readBack, const QVariant& wanted)
{
    if (readBack.metaType() == wanted.metaType())
        return readBack == wanted;
    return readBack.toString() == wanted.toString();
}

// The INI text of values, made by QSettings in a new file beside path and read back
// complete; an error text when it was not. The file is read back under another name:
// QSettings keeps a file it wrote in a process-wide cache and would give back its own
// values instead of the file's bytes.
QString iniText(const QString& path, const QMap<QString, QVariant>& values, QByteArray* bytes)
{
    QTemporaryFile written(path + QStringLiteral(".XXXXXX"));
    if (!written.open())
        return written.errorString();
    written.close();
    const QString check = written.fileName() + QStringLiteral(".check");
    {
        QSettings ini(written.fileName(), QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            ini.setValue(it.key(), it.value());
        ini.sync();
        if (ini.status() != QSettings::NoError)
            return AppConfig::tr("the settings could not be written (is the disk full?)");
    }
    if (!QFile::rename(written.fileName(), check))
        return AppConfig::tr("the settings could not be read back");
    QString error;
    {
        const QSettings ini(check, QSettings::IniFormat);
        bool complete = ini.status() == QSettings::NoError && ini.allKeys().size() == values.size();
        for (auto it = values.cbegin(); complete && it != values.cend(); ++it)
            complete = sameValue(ini.value(it.key()), it.value());
        QFile file(check);
        if (!complete || !file.open(QIODevice::ReadOnly))
            error = AppConfig::tr("the settings read back incomplete (is the disk full?)");
        else
            *bytes = file.readAll();
    }
    QFile::remove(check);
    return error;
}

}

bool AppConfig::TrimButtonConfig::operator==(const TrimButtonConfig& other) const
{
    return deviceName == other.deviceName && assigned == other.assigned && isHat == other.isHat
        && hatIndex == other.hatIndex && buttonIndex == other.buttonIndex;
}

AppConfig::AppConfig()
    : QObject(nullptr)
    , settings(QDir::currentPath() + "/config.ini", QSettings::IniFormat)
{
    registerMetaTypes();
}

void AppConfig::registerMetaTypes()
{
    qRegisterMetaType<AppConfig::TrimConfig>("AppConfig::TrimConfig");
    qRegisterMetaType<AppConfig::DcsSettings>("AppConfig::DcsSettings");
    qRegisterMetaType<AppConfig::Il2Settings>("AppConfig::Il2Settings");
    qRegisterMetaType<AppConfig::Condor2Settings>("AppConfig::Condor2Settings");
    qRegisterMetaType<AppConfig::ButtonType>("AppConfig::ButtonType");
}

int AppConfig::trimIncrement() const
{
    return int(settings.value("CORE/trim_increment", 50).toUInt());
}

int AppConfig::defaultTelemetry() const
{
    return int(settings.value("CORE/default_telemetry", 10).toUInt());
}

// A number that does not fit is not wrapped into some other port.
quint16 AppConfig::port(const QString& key) const
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return 0;
    bool ok = false;
    const uint number = value.toString().toUInt(&ok, 10);
    if (ok && number <= 0xFFFF)
        return quint16(number);
    qWarning().noquote() << "config.ini:" << key << value.toString()
                         << "is no port from 0 to 65535; read as missing (0)";
    return 0;
}

QString AppConfig::text(const QString& key) const
{
    return settings.value(key).toString();
}

AppConfig::DcsSettings AppConfig::dcsSettings() const
{
    return {text("DCS/path"), port("DCS/port")};
}

AppConfig::Il2Settings AppConfig::il2Settings() const
{
    return {text("IL2/path"), port("IL2/port")};
}

AppConfig::Condor2Settings AppConfig::condor2Settings() const
{
    return {text("CONDOR2/path"), port("CONDOR2/port")};
}

AppConfig::XPlaneSettings AppConfig::xplaneSettings() const
{
    return {text("XPLANE/path"), port("XPLANE/port")};
}

AppConfig::TrimConfig AppConfig::trimConfig() const
{
    TrimConfig config;
    for (int trimmer = 0; trimmer < trimmerCount; ++trimmer) {
        for (int action = 0; action < buttonTypeCount; ++action) {
            const QVariant value = settings.value(bindingKey(trimmer, action));
            if (value.isValid())
                config[trimmer][action] = parseBinding(value.toString());
        }
    }
    return config;
}

void AppConfig::changeTrimButton(int axisIndex, QString deviceName, int buttonType, bool isHat,
                                 int hatIndex, int buttonIndex)
{
    const bool bindingExists = axisIndex >= 0 && axisIndex < trimmerCount && buttonType >= 0
        && buttonType < buttonTypeCount;
    const bool readable = isHat ? hatIndex >= 0 && isHatDirection(buttonIndex) : buttonIndex >= 0;
    if (!bindingExists || !readable) {
        qWarning() << "trim binding refused: axis" << axisIndex << "button type" << buttonType
                   << "hat" << isHat << hatIndex << "button" << buttonIndex;
        return;
    }
    store({{bindingKey(axisIndex, buttonType), bindingText(deviceName, isHat, hatIndex, buttonIndex)}});
    // Also after a failed write: the table is the one the file holds.
    emit trimSettingsChanged(trimConfig());
}

void AppConfig::store(const QList<QPair<QString, QVariant>>& changes)
{
    writeError = replaceFile(changes);
    if (!writeError.isEmpty())
        qWarning().noquote() << writeError << "- it keeps the settings it had";
}

QString AppConfig::replaceFile(const QList<QPair<QString, QVariant>>& changes)
{
    const QString path = settings.fileName();
    const QString shownPath = QDir::toNativeSeparators(path);
    // The new file is made of what QSettings read: one it could not read is kept.
    QFile current(path);
    if (current.exists() && !current.open(QIODevice::ReadOnly))
        return tr("Cannot read %1: %2").arg(shownPath, current.errorString());
    current.close();
    // Nothing of ours is pending, so this only reads what the file holds now.
    settings.sync();
    QMap<QString, QVariant> values;
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    for (const auto& [key, value] : changes)
        values.insert(key, value);

    const QFileInfo before(path);
    const qint64 sizeBefore = before.size();
    const QDateTime timeBefore = before.lastModified();
    QByteArray bytes;
    QString error = iniText(path, values, &bytes);
    if (error.isEmpty())
        error = replaceFileAtomically(path, bytes);
    if (!error.isEmpty())
        return tr("Cannot write %1: %2").arg(shownPath, error);
    // QSettings takes a file of the same size and time as the one it read for that file,
    // and would go on giving the old values.
    const QFileInfo after(path);
    if (before.exists() && after.size() == sizeBefore && after.lastModified() == timeBefore) {
        QFile file(path);
        if (file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
            file.setFileTime(timeBefore.addSecs(2), QFileDevice::FileModificationTime);
    }
    settings.sync();
    return QString();
}

void AppConfig::writeSimulator(const QString& group, quint16 udpPort, const QString& path)
{
    store({{group + "/port", int(udpPort)}, {group + "/path", path}});
}

void AppConfig::changeDcsSettings(AppConfig::DcsSettings simulator)
{
    writeSimulator("DCS", simulator.port, simulator.path);
}

void AppConfig::changeIl2Settings(AppConfig::Il2Settings simulator)
{
    writeSimulator("IL2", simulator.port, simulator.path);
}

void AppConfig::changeCondor2Settings(AppConfig::Condor2Settings simulator)
{
    writeSimulator("CONDOR2", simulator.port, simulator.path);
}

void AppConfig::changeDefaultTelemetry(Telemetry::Source source)
{
    store({{"CORE/default_telemetry", int(source)}});
}
