#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct Pictogram;

// A piece of a page text: plain bytes, or one pictogram in the form the text writes it.
struct TextRun {
    QByteArray bytes;                      // exactly as stored
    const Pictogram *pictogram = nullptr;  // null for plain text
};

// A page text as runs of plain text and pictograms. A pictogram counts in the two forms
// handsets read: its raw two-byte code, and, for a basic one, its decimal reference "&#N;".
// Everything else, an extended pictogram's decimal reference too, is plain text.
QList<TextRun> PictogramRuns(const QByteArray &bytes);

// A piece of a page text as the user reads it: text, or one pictogram.
struct ShownRun {
    QString text;                          // as written: the code's character or "&#N;"
    const Pictogram *pictogram = nullptr;  // null for plain text
};

// The runs of a stored page text, as PictogramRuns finds them, each read as Shift-JIS.
QList<ShownRun> ShownPictogramRuns(const QByteArray &bytes);
// The runs of a text already read, in which a raw code reads as its private-use character.
QList<ShownRun> ShownPictogramRuns(const QString &text);

// The bytes a pictogram is written as when the user puts it in: a basic one as its decimal
// reference, as the page's own pictograms are written; an extended one as its raw code, the
// only form handsets read it in.
QByteArray PictogramBytes(const Pictogram &pictogram);

// The pictogram whose Unicode equivalent starts at `at`, and the length of that emoji with
// the presentation selector an emoji picker adds; null when there is none.
const Pictogram *EmojiPictogramAt(const QString &text, qsizetype at, qsizetype &length);

// Typed text as the bytes of a page text: an emoji with a pictogram equivalent becomes that
// pictogram, written as PictogramBytes writes it; everything else converts as any typed text
// (a character code page 932 lacks becomes "&#N;"). The emoji presentation selector U+FE0F,
// which emoji pickers add, has no place in the page and is left out.
QByteArray TypedTextBytes(const QString &text);
