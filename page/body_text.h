#pragma once

#include "text/sjis.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The body text as the page shows it, with what the file was written in.
struct BodyText {
    QList<QByteArray> lines;
    sjis::TextEncoding encoding = sjis::TextEncoding::Ascii;
    qsizetype strayBytes = 0; // bytes of a UTF-8 file that start no character, shown as 〓
};

// Every line of the file stays a line of the page, an empty line becomes a line break, and a
// line that starts with a half-width or full-width blank begins on a new line. Nothing else is
// touched. A file saved as UTF-8 is converted to Shift-JIS first (sjis::convertTextFile), its
// emoji to pictograms as TypedTextBytes makes them.
BodyText MarkBodyText(const QByteArray &fileBytes);

// The lines of MarkBodyText.
QList<QByteArray> MarkBodyLines(const QByteArray &fileBytes);

// Reads and marks the body text file; a path that names no regular file gives no lines. A file
// that cannot be read throws IoError.
BodyText ReadBodyText(const QString &path);

// The lines of ReadBodyText.
QList<QByteArray> ReadBodyLines(const QString &path);
