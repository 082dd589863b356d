#pragma once

#include "appconfig.h"
#include "directcontrolrunner.h"

#include <QIcon>
#include <QMainWindow>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QString>

class DirectControlThread;
class QNetworkReply;
class QTimer;
class Ui_MainWindow;

// The window of torquix-commander. Its constructor is the program's start-up: it opens
// "config.ini", builds the pages, creates the force-feedback worker from the stored
// settings, wires pages, configuration and worker together, starts the worker on its
// own thread (its timers run from the first turn of the event loop) and asks for the
// release information. GUI thread only.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // Blocks until the worker has left the bases safe and its thread has ended; run when
    // the application is about to quit, and by the destructor. Later calls do nothing.
    void shutDownWorker();

    // The objects the window wires together besides its pages, for tests; null once
    // the worker is shut down.
    AppConfig* appConfig() { return &config; }
    DirectControlThread* worker() const { return directControl; }
    QTimer* startTimer() const { return runner.startTimer(); }

private:
    void requestLatestVersion();
    void onVersionReplyFinished();

    Ui_MainWindow* ui;
    QIcon icon;
    QString title;
    QNetworkReply* versionReply; // owned by networkManager
    QNetworkAccessManager networkManager;
    QNetworkRequest versionRequest;
    AppConfig config; // before the worker, which is built from it
    DirectControlThread* directControl = nullptr; // owned by runner once started
    DirectControlRunner runner;
};
