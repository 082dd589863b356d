#include "mainwindow.h"

#include "pagewheelfilter.h"
#include "settingspagehelpers.h"
#include "settingsuibackgroundthread.h"
#include "settingsworkershutdown.h"
#include "startoptions.h"
#include "ui_setupmainwindow.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

namespace {

constexpr int releaseRequestTimeoutMs = 10000;
constexpr int detailsHeight = 300;

// Qt's own texts in the release box, listed so that the program's translation has them.
[[maybe_unused]] const char* const releaseBoxQtTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QMessageBox", "Show Details..."),
    QT_TRANSLATE_NOOP("QMessageBox", "Hide Details..."),
};

QString firmwareText(const FirmwareVersionTypeDef& version)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(version.releaseType == 1 ? QStringLiteral("RC") : QStringLiteral("R"))
        .arg(version.releaseYear)
        .arg(version.releaseVersion)
        .arg(version.releasePatch);
}

} // namespace

MainWindow::MainWindow(const ReleaseNumber& version, const QString& releaseServer, QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui_MainWindow)
    , version(version)
    , title(QStringLiteral("Torquix Setup (") + releaseText(version) + QLatin1Char(')'))
    , releaseServer(releaseServer)
    , network(new QNetworkAccessManager(this))
    , devices({{PRODUCT_ID_GENERIC, QStringLiteral("Torquix Generic"), {}, false},
               {PRODUCT_ID_JOYSTICK, QStringLiteral("Torquix Joystick"), {}, false},
               {PRODUCT_ID_RUDDER, QStringLiteral("Torquix Rudder"), {}, false},
               {PRODUCT_ID_WHEEL, QStringLiteral("Torquix Wheel PRO"), {}, false},
               {PRODUCT_ID_COLLECTIVE, QStringLiteral("Torquix Collective"), {}, false}})
    , windowIcon(QStringLiteral("torquix_hardware_icon.png"))
{
    qDebug() << "Effect struct size" << sizeof(EffectSettingsTypeDef);
    qDebug() << "Hardware struct size" << sizeof(HardwareSettingsTypeDef);
    qDebug() << "ADC struct size" << sizeof(AdcExtensionSettingsTypeDef);
    qDebug() << "GPIO struct size" << sizeof(GpioExtensionSettingsTypeDef);
    qDebug() << "Device state struct size" << sizeof(DeviceStateTypeDef);

    const StartOptions options =
        readStartOptions(QCoreApplication::arguments(), QDir::currentPath() + QStringLiteral("/config.ini"));
    advanced = options.advanced;
    if (!options.language.isEmpty()) {
        if (!translator.load(translationFileName(options.language)))
            qDebug() << "translation" << options.language << "not loaded";
        QCoreApplication::installTranslator(&translator);
    }

    ui->setupUi(this);
    qApp->installEventFilter(new PageWheelFilter(this));
    // The tab's own background shows through.
    for (QScrollArea* area : {ui->effects_scroll_area, ui->periphery_scroll_area, ui->controller_scroll_area}) {
        area->viewport()->setAutoFillBackground(false);
        area->widget()->setAutoFillBackground(false);
    }
    setWindowIcon(windowIcon);
    setWindowTitle(title);
    hideAllTabs();
    for (int row = 0; row < devices.size(); ++row) {
        ui->devices_combo_box->addItem(QString());
        setComboRowHidden(ui->devices_combo_box, row, true);
    }

    connect(ui->save_effects_settings_button, &QPushButton::clicked, this, &MainWindow::saveEffectsSettings);
    connect(ui->reboot_button, &QPushButton::clicked, this, &MainWindow::rebootController);
    connect(ui->dfu_mode_button, &QPushButton::clicked, this, &MainWindow::switchToDfu);

    for (SettingsPageWidget* page : std::initializer_list<SettingsPageWidget*>{
             ui->hardware_settings_widget, ui->effects_settings_widget, ui->gpio_extension_widget}) {
        connect(page, &SettingsPageWidget::settingInt8Changed, this, &MainWindow::sendInt8Setting);
        connect(page, &SettingsPageWidget::settingUInt8Changed, this, &MainWindow::sendUInt8Setting);
        connect(page, &SettingsPageWidget::settingInt16Changed, this, &MainWindow::sendInt16Setting);
        connect(page, &SettingsPageWidget::settingUInt16Changed, this, &MainWindow::sendUInt16Setting);
        connect(page, &SettingsPageWidget::settingFloatChanged, this, &MainWindow::sendFloatSetting);
    }

    QList<int> productIds;
    for (const DeviceListEntry& entry : std::as_const(devices))
        productIds << entry.productId;
    worker = new SettingsUiBackgroundThread(productIds);
    using Worker = SettingsUiBackgroundThread;
    connect(worker, &Worker::effectSettingsObtained, this, &MainWindow::effectsSettingsToUi);
    connect(worker, &Worker::hardwareSettingsObtained, this, &MainWindow::hardwareSettingsToUi);
    connect(worker, &Worker::adcExtenderSettingsObtained, this, &MainWindow::adcSettingsToUi);
    connect(worker, &Worker::gpioExtenderSettingsObtained, this, &MainWindow::gpioSettingsToUi);
    connect(worker, &Worker::deviceConnected, this, &MainWindow::addConnectedDevice);
    connect(worker, &Worker::deviceDisconnected, this, &MainWindow::removeDisconnectedDevice);

    // Fires once the event loop runs, so start runs on the worker's thread.
    startTimer = new QTimer;
    startTimer->setSingleShot(true);
    startTimer->setInterval(0);
    connect(startTimer, &QTimer::timeout, worker, &Worker::start);
    startTimer->start();
    workerThread = new QThread;
    workerThread->start(QThread::InheritPriority);
    worker->moveToThread(workerThread);

    checkUiVersion();
}

MainWindow::~MainWindow()
{
    if (reply) {
        reply->disconnect(this);
        reply->abort();
    }
    delete startTimer;
    shutDownSettingsWorker(worker, workerThread);
    delete ui;
}

template <typename Call>
void MainWindow::queueToWorker(Call call)
{
    QMetaObject::invokeMethod(worker, call, Qt::QueuedConnection);
}

void MainWindow::addConnectedDevice(int pid, FirmwareVersionTypeDef version)
{
    for (DeviceListEntry& entry : devices) {
        if (entry.productId == pid) {
            entry.connected = true;
            entry.version = version;
        }
    }
    updateConnectedDevices();
}

void MainWindow::removeDisconnectedDevice(int pid)
{
    for (DeviceListEntry& entry : devices) {
        if (entry.productId == pid)
            entry.connected = false;
    }
    updateConnectedDevices();
}

void MainWindow::on_devices_combo_box_activated(int index)
{
    deviceChanged(index);
}

void MainWindow::updateConnectedDevices()
{
    int connected = 0;
    bool currentConnected = false;
    for (int row = 0; row < devices.size(); ++row) {
        const DeviceListEntry& entry = devices.at(row);
        if (entry.connected) {
            ++connected;
            ui->devices_combo_box->setItemText(
                row, entry.displayName + QStringLiteral(" (") + firmwareText(entry.version) + QLatin1Char(')'));
        }
        setComboRowHidden(ui->devices_combo_box, row, !entry.connected);
        currentConnected = currentConnected || (entry.connected && entry.productId == currentProductId);
    }
    if (!currentConnected) {
        currentProductId = -1;
        ui->devices_combo_box->setCurrentIndex(-1);
        hideAllTabs();
        setCommandButtonsEnabled(false);
    }
    ui->devices_combo_box->setPlaceholderText(
        connected > 0 ? tr("Select compatible device (") + QString::number(connected) + tr(" connected)")
                      : tr("No compatible devices connected"));
}

void MainWindow::hideAllTabs()
{
    for (int tab = 0; tab < ui->main_tab_widget->count(); ++tab)
        ui->main_tab_widget->setTabVisible(tab, false);
}

void MainWindow::showAllTabs()
{
    for (int tab = 0; tab < ui->main_tab_widget->count(); ++tab)
        ui->main_tab_widget->setTabVisible(tab, true);
}

void MainWindow::deviceChanged(int index)
{
    if (index >= 0 && index < devices.size() && devices.at(index).connected
        && devices.at(index).productId != currentProductId) {
        const int pid = devices.at(index).productId;
        currentProductId = pid;
        setupForDeviceType(DeviceTypeEnum(index));
        if (index != DEVICE_TYPE_GENERIC) {
            queueToWorker([w = worker, pid] { w->readHardwareSettings(pid); });
            queueToWorker([w = worker, pid] { w->readAdcExtensionSettings(pid); });
            queueToWorker([w = worker, pid] { w->readGpioExtensionSettings(pid); });
            queueToWorker([w = worker, pid] { w->readEffectSettings(pid); });
        }
        setCommandButtonsEnabled(true);
        return;
    }
    currentProductId = -1;
    hideAllTabs();
    setCommandButtonsEnabled(false);
    ui->devices_combo_box->setCurrentIndex(-1);
}

void MainWindow::setupForDeviceType(DeviceTypeEnum type)
{
    if (type == DEVICE_TYPE_GENERIC) {
        hideAllTabs();
        return;
    }
    // Until its own records arrive, no page shows what another base holds.
    for (SettingsPageWidget* page : std::initializer_list<SettingsPageWidget*>{
             ui->effects_settings_widget, ui->gpio_extension_widget, ui->hardware_settings_widget})
        page->waitForRecords();
    showAllTabs();
    ui->effects_settings_widget->setDeviceType(type);
    ui->gpio_extension_widget->setupPeripheryControls();
    ui->hardware_settings_widget->setDeviceType(type, advanced);
}

void MainWindow::hardwareSettingsToUi(HardwareSettingsTypeDef settings, int pid)
{
    if (pid == currentProductId)
        ui->hardware_settings_widget->settingsToUi(settings);
}

void MainWindow::adcSettingsToUi(AdcExtensionSettingsTypeDef settings, int pid)
{
    if (pid == currentProductId)
        ui->gpio_extension_widget->adcSettingsToUi(settings, false);
}

void MainWindow::gpioSettingsToUi(GpioExtensionSettingsTypeDef settings, int pid)
{
    if (pid == currentProductId)
        ui->gpio_extension_widget->gpioSettingsToUi(settings, false);
}

void MainWindow::effectsSettingsToUi(EffectSettingsTypeDef settings, int pid)
{
    if (pid == currentProductId)
        ui->effects_settings_widget->settingsToUi(settings, false);
}

void MainWindow::uiToEffectsSettings(EffectSettingsTypeDef* settings)
{
    ui->effects_settings_widget->uiToSettings(settings);
}

void MainWindow::saveEffectsSettings()
{
    queueToWorker([w = worker, pid = currentProductId] { w->saveSettingsRequest(pid); });
}

void MainWindow::switchToDfu()
{
    queueToWorker([w = worker, pid = currentProductId] { w->switchtoDfuRequest(pid); });
}

void MainWindow::rebootController()
{
    queueToWorker([w = worker, pid = currentProductId] { w->rebootControllerRequest(pid); });
}

void MainWindow::sendInt8Setting(SettingsFieldEnum field, int8_t index, int8_t data)
{
    queueToWorker([=, w = worker, pid = currentProductId] { w->sendInt8SettingReport(pid, field, index, data); });
}

void MainWindow::sendUInt8Setting(SettingsFieldEnum field, int8_t index, uint8_t data)
{
    queueToWorker([=, w = worker, pid = currentProductId] { w->sendUInt8SettingReport(pid, field, index, data); });
}

void MainWindow::sendInt16Setting(SettingsFieldEnum field, int8_t index, int16_t data)
{
    queueToWorker([=, w = worker, pid = currentProductId] { w->sendInt16SettingReport(pid, field, index, data); });
}

void MainWindow::sendUInt16Setting(SettingsFieldEnum field, int8_t index, uint16_t data)
{
    queueToWorker([=, w = worker, pid = currentProductId] { w->sendUInt16SettingReport(pid, field, index, data); });
}

void MainWindow::sendFloatSetting(SettingsFieldEnum field, int8_t index, float data)
{
    queueToWorker([=, w = worker, pid = currentProductId] { w->sendFloatSettingReport(pid, field, index, data); });
}

void MainWindow::setCommandButtonsEnabled(bool enabled)
{
    ui->save_effects_settings_button->setEnabled(enabled);
    ui->dfu_mode_button->setEnabled(enabled);
    ui->reboot_button->setEnabled(enabled);
}

void MainWindow::checkUiVersion()
{
    const QUrl url = releaseServerUrl(releaseServer, QStringLiteral("/assets/firmware/version.json"));
    if (url.isEmpty())
        return;
    request = QNetworkRequest(url);
    request.setTransferTimeout(releaseRequestTimeoutMs);
    // A loopback server may not send the request on to another host.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         url.scheme() == QLatin1String("http") ? QNetworkRequest::SameOriginRedirectPolicy
                                                               : QNetworkRequest::NoLessSafeRedirectPolicy);
    reply = network->get(request);
    limitReleaseReply(reply);
    connect(reply, &QNetworkReply::finished, this, &MainWindow::checkUiVersionFinished);
}

void MainWindow::checkUiVersionFinished()
{
    QNetworkReply* finished = reply;
    reply = nullptr;
    if (!finished)
        return;
    finished->deleteLater();
    if (finished->error() != QNetworkReply::NoError) {
        qDebug() << "error" << finished->error();
        return;
    }
    const QByteArray body = finished->read(releaseFileLimit + 1);
    if (body.size() > releaseFileLimit) {
        qWarning() << "release file larger than" << releaseFileLimit << "bytes; ignored";
        return;
    }
    const QString details = newerReleaseDetails(body, version);
    if (!details.isEmpty())
        showNewerRelease(details);
}

void MainWindow::showNewerRelease(const QString& details)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setTextFormat(Qt::MarkdownText);
    box.setText(tr("**New version of Torquix Setup is available!**"));
    // Plain text: the notes come from the network.
    box.setDetailedText(details);
    box.setStandardButtons(QMessageBox::Cancel);
    QPushButton* download = box.addButton(tr("Download and update"), QMessageBox::ActionRole);
    box.setSizeGripEnabled(true);
    // The details are open from the start, unwrapped, as wide as their longest line.
    for (QAbstractButton* button : box.findChildren<QAbstractButton*>()) {
        if (button != download && box.buttonRole(button) == QMessageBox::ActionRole)
            button->click();
    }
    if (auto* text = box.findChild<QTextEdit*>()) {
        text->setLineWrapMode(QTextEdit::NoWrap);
        text->setFixedHeight(detailsHeight);
        text->parentWidget()->setFixedWidth(int(text->document()->idealWidth() + text->document()->documentMargin()
                                                + text->verticalScrollBar()->width()));
    }
    box.setDefaultButton(download);
    download->setFocus();
    box.exec();
    if (box.clickedButton() == download)
        QDesktopServices::openUrl(releaseServerUrl(releaseServer, QStringLiteral("/docs/en/downloads.html")));
}
