#include "mainwindow.h"
#include "terminationsignalwatcher.h"
#include "screenfit.h"

#include <QApplication>

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
        // Its whole frame stays beside the task bar, also once a window manager framed it.
        ScreenFit::keep(&window);
        window.show();
        exitCode = application.exec();
    }
    // The worker has closed its joysticks on its own thread by now.
    SDL_Quit();
    SDL_hid_exit();
    return exitCode;
}
