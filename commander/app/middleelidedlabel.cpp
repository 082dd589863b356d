#include "middleelidedlabel.h"

#include <QPainter>
#include <QStyle>

namespace {
// Enough for a few characters around the ellipsis.
constexpr int minimumCharacters = 12;
} // namespace

MiddleElidedLabel::MiddleElidedLabel(QWidget* parent)
    : QLabel(parent)
{
    // A folder is never markup.
    setTextFormat(Qt::PlainText);
}

QSize MiddleElidedLabel::minimumSizeHint() const
{
    const QSize whole = QLabel::minimumSizeHint();
    return QSize(qMin(whole.width(), fontMetrics().averageCharWidth() * minimumCharacters), whole.height());
}

void MiddleElidedLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()), palette(),
                          isEnabled(), shown, foregroundRole());
}
