#include "windowfit.h"

#include <algorithm>

QRect frameKeptWithin(QRect available, QRect frame)
{
    QRect kept(frame.topLeft(), frame.size().boundedTo(available.size()));
    kept.moveLeft(std::clamp(kept.left(), available.left(), available.right() + 1 - kept.width()));
    kept.moveTop(std::clamp(kept.top(), available.top(), available.bottom() + 1 - kept.height()));
    return kept;
}
