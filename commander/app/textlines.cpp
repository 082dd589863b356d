#include "textlines.h"

namespace {

const QByteArray crLf = QByteArrayLiteral("\r\n");
const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

TextLines::TextLines(const QByteArray& bytes)
{
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype feed = bytes.indexOf('\n', start);
        if (feed < 0) {
            lines.push_back({bytes.mid(start), QByteArray()});
            break;
        }
        Line line{bytes.mid(start, feed - start), QByteArrayLiteral("\n")};
        if (line.text.endsWith('\r')) {
            line.text.chop(1);
            line.end = crLf;
        }
        lines.push_back(line);
        start = feed + 1;
    }
}

QByteArray TextLines::toBytes() const
{
    QByteArray bytes;
    for (const Line& line : lines)
        bytes += line.text + line.end;
    return bytes;
}

QByteArray TextLines::trimmedText(int index) const
{
    QByteArray text = lines.at(size_t(index)).text;
    if (index == 0 && text.startsWith(byteOrderMark))
        text.remove(0, byteOrderMark.size());
    return text.trimmed();
}

void TextLines::setText(int index, const QByteArray& text)
{
    lines.at(size_t(index)).text = text;
}

void TextLines::insert(int index, const QByteArray& text)
{
    Line line{text, crLf};
    if (index == count() && !lines.empty() && lines.back().end.isEmpty()) {
        lines.back().end = crLf;
        line.end.clear();
    }
    lines.insert(lines.begin() + index, line);
}
