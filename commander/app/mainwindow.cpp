#include "mainwindow.h"

#include "directcontrolthread.h"
#include "gameconfigwidget.h"
#include "hardwaretrimsetupwidget.h"
#include "pagewheelfilter.h"
#include "releaseinformation.h"
#include "statuswidget.h"
#include "terminationsignalwatcher.h"
#include "threeaxiseffectswidget.h"
#include "uihelpers.h"
#include "windowplacement.h"

#include "ui_mainwindow.h"

#include <QApplication>
#include <QNetworkReply>
#include <QScrollArea>
#include <QScrollBar>
#include <QtDebug>

#ifndef TORQUIX_RELEASE_SERVER_URL
#define TORQUIX_RELEASE_SERVER_URL ""
#endif

namespace {

// The program's own version: release candidate 24.1.2.
constexpr uint8_t programReleaseType = 1;
constexpr uint8_t programReleaseYear = 24;
constexpr uint8_t programReleaseVersion = 1;
constexpr uint8_t programReleasePatch = 2;

constexpr int releaseRequestTimeoutMs = 10000;

// The deployment's release-information server; the environment may replace it (an
// empty value turns the request off).
QString releaseServer()
{
    if (qEnvironmentVariableIsSet("TORQUIX_RELEASE_SERVER_URL"))
        return qEnvironmentVariable("TORQUIX_RELEASE_SERVER_URL");
    return QStringLiteral(TORQUIX_RELEASE_SERVER_URL);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui_MainWindow)
    , icon(QStringLiteral("torquix_logo_icon_inverted.png"))
    , title(QStringLiteral("Torquix Commander (%1)")
                .arg(firmwareVersionText(programReleaseType, programReleaseYear,
                                         programReleaseVersion, programReleasePatch)))
    , versionReply(nullptr)
    , networkManager(this)
{
    DirectControlThread::registerMetaTypes();
    ui->setupUi(this);
    qApp->installEventFilter(new PageWheelFilter(this));

    qDebug() << "Device state struct size" << sizeof(DeviceStateTypeDef);
    qDebug() << "Direct control struct size" << sizeof(DirectControlTypeDef);
    qDebug() << "Curve transfer struct size" << sizeof(CurveTransferTypeDef);

    // Start values by direct calls, before anything is connected: nothing is written
    // back to "config.ini" and the worker hears none of it.
    ui->hardware_trim_config_wifget->changeTrimConfig(config.trimConfig());
    ui->game_config_widget->setDcsSettings(config.dcsSettings());
    ui->game_config_widget->setIl2Settings(config.il2Settings());
    ui->game_config_widget->setCondor2Settings(config.condor2Settings());
    setWindowIcon(icon);
    setWindowTitle(title);
    StatusWidget* status = ui->status_widget;
    status->setupForTelemetrySource(Telemetry::Source(config.defaultTelemetry()));

    ensurePolished(); // the style's sizes, as the window will have them when shown
    // The panel scrolls up and down only; its whole width stays beside the pages, which
    // take what the window has beyond it.
    QScrollArea* statusArea = ui->status_scroll_area;
    statusArea->setFixedWidth(status->minimumSizeHint().width() + statusArea->verticalScrollBar()->sizeHint().width()
                                + 2 * statusArea->frameWidth());
    const QList<QScrollArea*> pageAreas = {ui->effects_scroll_area, ui->hardware_trim_scroll_area,
                                           ui->game_config_scroll_area};
    // The tab's own background shows through.
    for (QScrollArea* area : pageAreas) {
        area->viewport()->setAutoFillBackground(false);
        area->widget()->setAutoFillBackground(false);
    }
    // Where the screen has room the window opens with nothing scrolled; main() bounds it
    // to the screen. At a fractional scale (150 %) the window's size in device pixels can
    // round a pixel below what it was given: one spare pixel keeps the pages from
    // scrolling sideways there.
    const QSize unscrolled = unscrolledMinimumSize(this, pageAreas + QList<QScrollArea*>{statusArea});
    resize((unscrolled + QSize(1, 0)).expandedTo(size()));

    directControl = new DirectControlThread(
        nullptr, quint16(config.trimIncrement()), config.dcsSettings().port,
        config.il2Settings().port, config.condor2Settings().port, config.xplaneSettings().port,
        Telemetry::Source(config.defaultTelemetry()), config.trimConfig());
    DirectControlThread* worker = directControl;
    // From then on a further stop signal may end a stop that hangs.
    worker->setForcesZeroedHandler(&TerminationSignalWatcher::markForcesZeroed);
    ThreeAxisEffectsWidget* effectsPage = ui->effect_settings_widget;
    HardwareTrimSetupWidget* trimPage = ui->hardware_trim_config_wifget;
    GameConfigWidget* gamePage = ui->game_config_widget;

    // Where one signal has two receivers, the configuration or the page comes first.
    connect(status, &StatusWidget::telemetrySourceChanged, &config, &AppConfig::changeDefaultTelemetry);
    connect(status, &StatusWidget::telemetrySourceChanged, worker, &DirectControlThread::listenTelemetrySource);
    connect(status, &StatusWidget::telemetryChanged, worker, &DirectControlThread::changeTelemetry);
    connect(status, &StatusWidget::landed, worker, &DirectControlThread::startLandingJolt);
    connect(status, &StatusWidget::weaponReleased, worker, &DirectControlThread::startWeaponReleaseJolt);
    connect(status, &StatusWidget::damageReceived, worker, &DirectControlThread::startDamageJolt);
    connect(status, &StatusWidget::countermeasureReleased, worker, &DirectControlThread::startCountermeasureJolt);
    connect(status, &StatusWidget::gearLock, worker, &DirectControlThread::startGearLockJolt);
    connect(effectsPage, &ThreeAxisEffectsWidget::suddenValueChange, worker, &DirectControlThread::changeSettingsSuddenly);
    connect(effectsPage, &ThreeAxisEffectsWidget::moderateValueChange, worker, &DirectControlThread::changeSettingsModerately);
    connect(effectsPage, &ThreeAxisEffectsWidget::integratedSpringCurveChanged, worker, &DirectControlThread::changeIntegratedSpringCurve);
    connect(trimPage, &HardwareTrimSetupWidget::buttonAssignmentRequested, worker, &DirectControlThread::startButtonAssignment);
    connect(trimPage, &HardwareTrimSetupWidget::buttonAssignmentCanceled, worker, &DirectControlThread::stopButtonAssignment);
    connect(&config, &AppConfig::trimSettingsChanged, trimPage, &HardwareTrimSetupWidget::changeTrimConfig);
    connect(&config, &AppConfig::trimSettingsChanged, worker, &DirectControlThread::changeTrimConfig);
    connect(gamePage, &GameConfigWidget::dcsSettingsChanged, &config, &AppConfig::changeDcsSettings);
    connect(gamePage, &GameConfigWidget::il2SettingsChanged, &config, &AppConfig::changeIl2Settings);
    connect(gamePage, &GameConfigWidget::condor2SettingsChanged, &config, &AppConfig::changeCondor2Settings);
    gamePage->setStoreErrorSource([this] { return config.lastWriteError(); });
    connect(worker, &DirectControlThread::flightModuleChanged, effectsPage, &ThreeAxisEffectsWidget::activateProfileForFlightModule);
    connect(worker, &DirectControlThread::flightModuleChanged, status, &StatusWidget::changeFlightModule);
    connect(worker, &DirectControlThread::telemetryChanged, status, &StatusWidget::changeTelemetry);
    connect(worker, &DirectControlThread::telemetrySourceLost, status, &StatusWidget::endTelemetry);
    connect(worker, &DirectControlThread::deviceConnected, status, &StatusWidget::connectDevice);
    connect(worker, &DirectControlThread::deviceDisconnected, status, &StatusWidget::disconnectDevice);
    connect(worker, &DirectControlThread::inputStateChanged, status, &StatusWidget::changeInputState);
    connect(worker, &DirectControlThread::hardwareAxisTrimChanged, status, &StatusWidget::changeTrimData);
    connect(worker, &DirectControlThread::trimButtonChanged, &config, &AppConfig::changeTrimButton);

    // The start timer's timeout starts the worker through its thread's queue.
    runner.start(worker);
    requestLatestVersion();
}

MainWindow::~MainWindow()
{
    shutDownWorker();
    delete ui;
}

void MainWindow::shutDownWorker()
{
    runner.shutDown();
    directControl = nullptr;
}

void MainWindow::requestLatestVersion()
{
    const QUrl url = releaseInformationUrl(releaseServer());
    if (url.isEmpty())
        return; // no server configured for this deployment
    versionRequest.setUrl(url);
    versionRequest.setTransferTimeout(releaseRequestTimeoutMs);
    // A loopback server may not send the request on to another host.
    versionRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                url.scheme() == QLatin1String("http") ? QNetworkRequest::SameOriginRedirectPolicy
                                                                      : QNetworkRequest::NoLessSafeRedirectPolicy);
    // TLS peer verification stays as it is by default, and no SSL error is ever ignored.
    versionReply = networkManager.get(versionRequest);
    connect(versionReply, &QNetworkReply::finished, this, &MainWindow::onVersionReplyFinished);
}

// The reply is not evaluated: this program only announces itself.
void MainWindow::onVersionReplyFinished()
{
}
