#pragma once

#include <QByteArray>
#include <QString>

// Every text of the program is held as Shift-JIS (code page 932) bytes. This is the one place
// that converts them to and from what widgets show, and the one place of the byte rules
// (trimming, the first character of a text).
namespace sjis {

// Bytes to text for display. A byte sequence that is not code page 932 shows as U+FFFD.
QString toUnicode(const QByteArray &bytes);

// Text typed by the user to bytes. A character code page 932 cannot hold becomes the decimal
// character reference "&#N;" of its code point, so nothing typed is lost.
QByteArray fromUnicode(const QString &text);

// A text from a single-line box, as fromUnicode, cut at its first line break: every text of
// a data file is one line, so a pasted line break would shift every line after it.
QByteArray fromUnicodeLine(const QString &text);

// Removes every leading and trailing byte of value 32 or less. The full-width space (81 40)
// is a character, not a blank, and stays.
QByteArray trimmed(const QByteArray &bytes);

// A first byte in 81–9F or E0–FC starts a two-byte character.
bool isLeadByte(unsigned char byte);

// The first character of the bytes: empty, one byte, or a lead byte with its trail byte.
QByteArray firstCharacter(const QByteArray &bytes);

// The full-width space.
inline const QByteArray fullWidthSpace() { return QByteArrayLiteral("\x81\x40"); }

} // namespace sjis
