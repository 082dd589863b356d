#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at path with bytes: either the new, complete file is in place, or the
// old one is byte-identical (or still absent) and the error is returned. Empty on success.
//
// Written unbuffered so that a full disk fails the write itself: a buffered QSaveFile
// flushes only in commit(), and Qt 6.4 can let that flush fail, still commit, and rename
// a short file over the original.
QString replaceFileAtomically(const QString& path, const QByteArray& bytes);
