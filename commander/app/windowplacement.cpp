#include "windowplacement.h"

QPoint centredWindowPosition(QSize screen, QSize window)
{
    return QPoint((screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2);
}
