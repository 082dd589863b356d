#pragma once

#include <QObject>

// Keeps the mouse wheel from turning a control the user did not pick: on a page that
// scrolls, a slider, spin box, combo box, tab bar or curve plot takes the wheel only while
// it has the focus, which a click or the keyboard gives it; otherwise the wheel goes
// to the page, which scrolls. Installed on the application, so it also covers editors
// created later; windows that do not scroll, such as the curve dialog, keep the wheel.
class PageWheelFilter : public QObject
{
    Q_OBJECT

public:
    explicit PageWheelFilter(QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;
};
