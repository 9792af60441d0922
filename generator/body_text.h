#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The body text as the page shows it: every line of the file stays a line of the page, an
// empty line becomes a line break, and a line that starts with a half-width or full-width
// blank begins on a new line. Nothing else is touched. A file saved as UTF-8 is converted to
// Shift-JIS first.
QList<QByteArray> MarkBodyLines(const QByteArray &fileBytes);

// Reads and marks the body text file; a path that names no regular file gives no lines. A file
// that cannot be read throws IoError.
QList<QByteArray> ReadBodyLines(const QString &path);
