#pragma once

#include <QByteArray>

#include <vector>

// The lines of a text file as bytes, each with the line end it had (CR LF, LF or none
// on the last line), so that an edit changes only the lines it touches: encodings,
// a byte-order mark and mixed line ends stay as they were. Lines the program adds end
// with CR LF, as the simulators' Windows files do.
class TextLines
{
public:
    explicit TextLines(const QByteArray& bytes);

    QByteArray toBytes() const;
    int count() const { return int(lines.size()); }

    // The line without its line end.
    QByteArray text(int index) const { return lines.at(size_t(index)).text; }
    // The line without surrounding white space and, on the first line, without a UTF-8
    // byte-order mark.
    QByteArray trimmedText(int index) const;

    // Replaces the text of a line; its line end stays.
    void setText(int index, const QByteArray& text);
    // Inserts a line before index (count() appends). A file without a final line end
    // keeps having none: an appended line takes the place of the last one.
    void insert(int index, const QByteArray& text);

private:
    struct Line {
        QByteArray text;
        QByteArray end;
    };
    std::vector<Line> lines;
};
