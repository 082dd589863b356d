#pragma once

#include "telemetry.h"

#include <QMetaType>
#include <QObject>
#include <QSettings>
#include <QString>

#include <array>

// The settings of torquix-commander that live outside effect profiles, kept in
// "config.ini" in the working directory. Nothing is cached: every getter reads
// through QSettings. Every slot replaces the file at once, completely or not at all:
// after a failed write the file and every getter are as before, and the log and
// lastWriteError() say why. Lives on the GUI thread.
class AppConfig : public QObject
{
    Q_OBJECT

public:
    enum ButtonType : int {
        BUTTON_TYPE_INCREASE = 0,
        BUTTON_TYPE_DECREASE = 1,
        BUTTON_TYPE_RELEASE = 2,
        BUTTON_TYPE_RESET = 3,
    };
    Q_ENUM(ButtonType)

    static constexpr int trimmerCount = 4;
    static constexpr int buttonTypeCount = 4;

    // One joystick binding of a trim action; for a hat, buttonIndex holds the
    // direction (1 up, 2 right, 4 down, 8 left).
    struct TrimButtonConfig {
        QString deviceName;
        bool assigned = false;
        bool isHat = false;
        int hatIndex = 0;
        int buttonIndex = 0;

        bool operator==(const TrimButtonConfig& other) const;
        bool operator!=(const TrimButtonConfig& other) const { return !(*this == other); }
    };

    // Indexed [trimmer][ButtonType]; trimmer 0 roll, 1 pitch, 2 yaw, 3 collective.
    using TrimConfig = std::array<std::array<TrimButtonConfig, buttonTypeCount>, trimmerCount>;

    struct DcsSettings {
        QString path;
        quint16 port = 0;
    };
    struct Il2Settings {
        QString path;
        quint16 port = 0;
    };
    struct Condor2Settings {
        QString path;
        quint16 port = 0;
    };
    struct XPlaneSettings {
        QString path;
        quint16 port = 0;
    };

    AppConfig();

    int trimIncrement() const;
    int defaultTelemetry() const;
    DcsSettings dcsSettings() const;
    Il2Settings il2Settings() const;
    Condor2Settings condor2Settings() const;
    XPlaneSettings xplaneSettings() const;
    TrimConfig trimConfig() const;

    // Why the last write of "config.ini" failed, naming the file; empty when it succeeded.
    QString lastWriteError() const { return writeError; }

    // Registers the records and ButtonType that queued signals carry.
    static void registerMetaTypes();

signals:
    void trimSettingsChanged(AppConfig::TrimConfig config);

public slots:
    // Refuses (with a warning, no write, no signal) indices that name no binding and
    // numbers that could never be read back as one.
    void changeTrimButton(int axisIndex, QString deviceName, int buttonType, bool isHat,
                          int hatIndex, int buttonIndex);
    void changeDcsSettings(AppConfig::DcsSettings simulator);
    void changeIl2Settings(AppConfig::Il2Settings simulator);
    void changeCondor2Settings(AppConfig::Condor2Settings simulator);
    void changeDefaultTelemetry(Telemetry::Source source);

private:
    quint16 port(const QString& key) const;
    QString text(const QString& key) const;
    void writeSimulator(const QString& group, quint16 udpPort, const QString& path);
    // Writes changes into "config.ini" beside the keys it holds; sets writeError.
    void store(const QList<QPair<QString, QVariant>>& changes);
    QString replaceFile(const QList<QPair<QString, QVariant>>& changes);

    // Only read through: it would write the file itself through a buffered QSaveFile,
    // which Qt 6.4 can commit short on a full disk and still report no error.
    QSettings settings;
    QString writeError;
};

Q_DECLARE_METATYPE(AppConfig::TrimConfig)
Q_DECLARE_METATYPE(AppConfig::DcsSettings)
Q_DECLARE_METATYPE(AppConfig::Il2Settings)
Q_DECLARE_METATYPE(AppConfig::Condor2Settings)
