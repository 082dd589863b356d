#include "gameconfigwidget.h"

#include "simconfigwriter.h"
#include "ui_gameconfigwidget.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>

GameConfigWidget::GameConfigWidget(QWidget* parent)
    : QWidget(parent)
    , ui(new Ui_GameConfigWidget)
{
    dialogs.existingDirectory = [](QWidget* dialogParent, const QString& caption) {
        return QFileDialog::getExistingDirectory(dialogParent, caption, QString(), QFileDialog::ShowDirsOnly);
    };
    dialogs.critical = [](QWidget* dialogParent, const QString& title, const QString& text) {
        QMessageBox::critical(dialogParent, title, text);
    };
    dialogs.information = [](QWidget* dialogParent, const QString& title, const QString& text) {
        QMessageBox::information(dialogParent, title, text);
    };
    ui->setupUi(this);
}

GameConfigWidget::~GameConfigWidget()
{
    delete ui;
}

void GameConfigWidget::setDcsSettings(AppConfig::DcsSettings settings)
{
    dcsSettings = settings;
    showSettings(settings.path, settings.port, ui->dcs_port_spinbox, ui->dcs_port_label, ui->dcs_path_label);
}

void GameConfigWidget::setIl2Settings(AppConfig::Il2Settings settings)
{
    il2Settings = settings;
    showSettings(settings.path, settings.port, ui->il2_port_spinbox, ui->il2_port_label, ui->il2_path_label);
}

void GameConfigWidget::setCondor2Settings(AppConfig::Condor2Settings settings)
{
    condor2Settings = settings;
    showSettings(settings.path, settings.port, ui->condor2_port_spinbox, ui->condor2_port_label,
                 ui->condor2_path_label);
}

void GameConfigWidget::on_dcs_path_button_clicked()
{
    pickFolder(tr("Navigate DCS SavedGames root folder"), &dcsSettings.path, ui->dcs_path_label);
}

void GameConfigWidget::on_dcs_update_button_clicked()
{
    if (!takePort(dcsSettings.path, ui->dcs_port_spinbox, ui->dcs_port_label, &dcsSettings.port,
                  tr("DCS path is not set"), tr("You need to set DCS SavedGames folder first!"),
                  tr("DCS port is not set"),
                  tr("You need to set a DCS telemetry port from 1 to 65535 first! Port 0 cannot receive telemetry.")))
        return;
    const QString error = SimConfigWriter::updateDcs(dcsSettings.path,
                                                     QDir::currentPath() + QStringLiteral("/extras/dcs"),
                                                     dcsSettings.port);
    emit dcsSettingsChanged(dcsSettings);
    reportUpdate(error, tr("DCS config updated"), tr("DCS config not updated"));
}

void GameConfigWidget::on_il2_path_button_clicked()
{
    if (!pickFolder(tr("Navigate il2 install folder"), &il2Settings.path, ui->il2_path_label))
        return;
    checkMarker(il2Settings.path + QStringLiteral("/data/startup.cfg"), tr("Wrong Il2 install path"),
                tr("Looks like selected folder is not Il2 root folder. Navigate to root of Il2 install"));
}

void GameConfigWidget::on_il2_update_button_clicked()
{
    if (!takePort(il2Settings.path, ui->il2_port_spinbox, ui->il2_port_label, &il2Settings.port,
                  tr("Il2 path is not set"), tr("You need to set Il2 install folder path first!"),
                  tr("Il2 port is not set"),
                  tr("You need to set an Il2 telemetry port from 1 to 65535 first! Port 0 cannot receive telemetry.")))
        return;
    const QString error = SimConfigWriter::updateIl2(il2Settings.path, il2Settings.port);
    emit il2SettingsChanged(il2Settings);
    reportUpdate(error, tr("Il2 config updated"), tr("Il2 config not updated"));
}

void GameConfigWidget::on_condor2_path_button_clicked()
{
    if (!pickFolder(tr("Navigate Condor2 install folder"), &condor2Settings.path, ui->condor2_path_label))
        return;
    checkMarker(condor2Settings.path + QStringLiteral("/Settings/UDP.ini"), tr("Wrong Condor2 install path"),
                tr("Looks like selected folder is not Condor2 root folder. Navigate to root of Condor 2 install"));
}

void GameConfigWidget::on_condor2_update_button_clicked()
{
    if (!takePort(condor2Settings.path, ui->condor2_port_spinbox, ui->condor2_port_label, &condor2Settings.port,
                  tr("Condor2 path is not set"), tr("You need to set Condor2 install folder path first!"),
                  tr("Condor2 port is not set"),
                  tr("You need to set a Condor2 telemetry port from 1 to 65535 first! Port 0 cannot receive telemetry.")))
        return;
    const QString error = SimConfigWriter::updateCondor2(condor2Settings.path, condor2Settings.port);
    emit condor2SettingsChanged(condor2Settings);
    reportUpdate(error, tr("Condor2 config updated"), tr("Condor2 config not updated"));
}

void GameConfigWidget::showSettings(const QString& path, quint16 port, QSpinBox* spinBox, QLabel* portLabel,
                                    QLabel* pathLabel)
{
    spinBox->setValue(port);
    portLabel->setText(QString::number(port));
    pathLabel->setText(path.isEmpty() ? tr("Not set") : path);
    pathLabel->setToolTip(path); // the label may show it elided
}

// False when the dialog was cancelled: the folder picked before stays.
bool GameConfigWidget::pickFolder(const QString& caption, QString* path, QLabel* pathLabel)
{
    const QString picked = dialogs.existingDirectory(this, caption);
    if (picked.isEmpty())
        return false;
    *path = picked;
    pathLabel->setText(picked);
    pathLabel->setToolTip(picked);
    return true;
}

// Only a warning: the folder stays picked and the next update uses it.
void GameConfigWidget::checkMarker(const QString& marker, const QString& title, const QString& text)
{
    if (!QFile::exists(marker))
        dialogs.critical(this, title, text);
}

// The checks before any file is touched; on success the spin box's port is the record's.
bool GameConfigWidget::takePort(const QString& path, QSpinBox* spinBox, QLabel* portLabel, quint16* port,
                                const QString& emptyTitle, const QString& emptyText, const QString& zeroTitle,
                                const QString& zeroText)
{
    if (path.isEmpty()) {
        dialogs.critical(this, emptyTitle, emptyText);
        return false;
    }
    // No simulator can send to port 0, and no source could listen on it.
    const int value = spinBox->value();
    if (value <= 0 || value > 65535) {
        dialogs.critical(this, zeroTitle, zeroText);
        return false;
    }
    *port = quint16(value);
    portLabel->setText(QString::number(*port));
    return true;
}

// The restart box would promise a port that was never stored.
void GameConfigWidget::reportUpdate(QString error, const QString& doneTitle, const QString& failedTitle)
{
    const QString notStored = storeError ? storeError() : QString();
    if (!notStored.isEmpty())
        error += (error.isEmpty() ? QString() : QStringLiteral("\n")) + notStored;
    if (!error.isEmpty()) {
        qWarning().noquote() << "Simulator configuration not updated:" << error;
        dialogs.critical(this, failedTitle, error);
        return;
    }
    dialogs.information(this, doneTitle,
                        tr("You need to restart Torquix Commander in order to activate changes in config"));
}
