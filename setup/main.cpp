// torquix-setup and torquix-device-settings: the same program, built with the release
// number of each.
#include "mainwindow.h"
#include "windowfit.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    MainWindow window(ReleaseNumber{TORQUIX_SETUP_RELEASE_YEAR, TORQUIX_SETUP_RELEASE_VERSION,
                                    TORQUIX_SETUP_RELEASE_PATCH},
                      QStringLiteral(TORQUIX_RELEASE_SERVER_URL));
    window.show();
    // The frame is known once the window is shown; the whole of it stays beside the task bar.
    if (const QScreen* screen = window.screen()) {
        const QRect frame = window.frameGeometry();
        const QRect kept = frameKeptWithin(screen->availableGeometry(), frame);
        if (kept != frame) {
            window.resize(window.size() - (frame.size() - kept.size()));
            window.move(kept.topLeft());
        }
    }
    // Windows without a parent, such as the release box; the main window keeps its own.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
    return application.exec();
}
