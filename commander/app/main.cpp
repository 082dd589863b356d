#include "mainwindow.h"
#include "terminationsignalwatcher.h"
#include "windowplacement.h"

#include <QApplication>
#include <QScreen>

#include <SDL.h>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // Trim buttons must work while the simulator, not this window, has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_hid_init();
    SDL_Init(SDL_INIT_JOYSTICK); // without joysticks the program runs on; trim finds none

    // Ctrl+C, a closed terminal, the system's stop request and the end of the desktop
    // session end the program as closing the window does: no base keeps its last force.
    TerminationSignalWatcher termination;
    QObject::connect(&termination, &TerminationSignalWatcher::terminationRequested, &application,
                     &QCoreApplication::quit);

    int exitCode = 0;
    {
        MainWindow window;
        QObject::connect(&application, &QCoreApplication::aboutToQuit, &window,
                         &MainWindow::shutDownWorker);
        window.show();
        // The frame is known once the window is shown; the whole of it stays beside the
        // task bar.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            const QSize frameExtra = window.frameGeometry().size() - window.geometry().size();
            const QSize client = window.size().boundedTo(available.size() - frameExtra);
            window.resize(client);
            window.move(centredWindowPosition(available, client + frameExtra));
        }
        exitCode = application.exec();
    }
    // The worker has closed its joysticks on its own thread by now.
    SDL_Quit();
    SDL_hid_exit();
    return exitCode;
}
