#pragma once

#include <QLabel>

// A one-line label that gives up width to its layout: when narrower than its text it
// paints the text elided in the middle, so both ends of a long folder stay readable.
// text() keeps the whole text.
class MiddleElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit MiddleElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
