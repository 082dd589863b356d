// torquix-setup and torquix-device-settings: the same program, built with the release
// number of each.
#include "mainwindow.h"
#include "windowfit.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    MainWindow window(ReleaseNumber{TORQUIX_SETUP_RELEASE_YEAR, TORQUIX_SETUP_RELEASE_VERSION,
                                    TORQUIX_SETUP_RELEASE_PATCH},
                      QStringLiteral(TORQUIX_RELEASE_SERVER_URL));
    // Its whole frame stays beside the task bar, also once a window manager framed it.
    WindowFit::keep(&window);
    window.show();
    // Windows without a parent, such as the release box; the main window keeps its own.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
    return application.exec();
}
