#pragma once

#include "appconfig.h"

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QSpinBox;
class Ui_GameConfigWidget;

// The "Game config" page: where DCS World, IL-2 Sturmovik and Condor 2 keep their files,
// the UDP port each of them sends its telemetry to, and the update that writes both into
// the simulator's own configuration (through SimConfigWriter). The records hold the
// applied settings; a port spin box reaches its record only through an update.
class GameConfigWidget : public QWidget
{
    Q_OBJECT

public:
    // The page's modal dialogs; tests put their own in place.
    struct Dialogs {
        std::function<QString(QWidget* parent, const QString& caption)> existingDirectory;
        std::function<void(QWidget* parent, const QString& title, const QString& text)> critical;
        std::function<void(QWidget* parent, const QString& title, const QString& text)> information;
    };

    explicit GameConfigWidget(QWidget* parent = nullptr);
    ~GameConfigWidget() override;

    void setDialogs(const Dialogs& replacement) { dialogs = replacement; }
    // Asked right after an update's signal: why its folder and port were not stored, empty
    // when they were. Without it an update reports only its simulator's files.
    void setStoreErrorSource(std::function<QString()> source) { storeError = std::move(source); }

signals:
    // Emitted by every update that got past the folder and port checks, also when a file
    // step failed: folder and port are the user's choice either way.
    void dcsSettingsChanged(AppConfig::DcsSettings settings);
    void il2SettingsChanged(AppConfig::Il2Settings settings);
    void condor2SettingsChanged(AppConfig::Condor2Settings settings);

public slots:
    // Fill the page from the stored settings; nothing is written or emitted.
    void setDcsSettings(AppConfig::DcsSettings settings);
    void setIl2Settings(AppConfig::Il2Settings settings);
    void setCondor2Settings(AppConfig::Condor2Settings settings);

private slots:
    void on_dcs_path_button_clicked();
    void on_dcs_update_button_clicked();
    void on_il2_path_button_clicked();
    void on_il2_update_button_clicked();
    void on_condor2_path_button_clicked();
    void on_condor2_update_button_clicked();

private:
    void showSettings(const QString& path, quint16 port, QSpinBox* spinBox, QLabel* portLabel,
                      QLabel* pathLabel);
    bool pickFolder(const QString& caption, QString* path, QLabel* pathLabel);
    void checkMarker(const QString& marker, const QString& title, const QString& text);
    bool takePort(const QString& path, QSpinBox* spinBox, QLabel* portLabel, quint16* port,
                  const QString& emptyTitle, const QString& emptyText, const QString& zeroTitle,
                  const QString& zeroText);
    void reportUpdate(QString error, const QString& doneTitle, const QString& failedTitle);

    Ui_GameConfigWidget* ui;
    AppConfig::DcsSettings dcsSettings;
    AppConfig::Il2Settings il2Settings;
    AppConfig::Condor2Settings condor2Settings;
    Dialogs dialogs;
    std::function<QString()> storeError;
};
