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

// The characters of the text that code page 932 cannot hold, each once, in order.
QString charactersOutside(const QString &text);

// What a text file was written in.
enum class TextEncoding { Ascii, ShiftJis, Utf8 };

// A text file's bytes as Shift-JIS, with what they were read as.
struct TextFileBytes {
    QByteArray shiftJis;
    TextEncoding encoding = TextEncoding::Ascii;
    qsizetype strayBytes = 0; // bytes of a UTF-8 file that start no character, each now 〓
};

// Desktop editors save UTF-8 by default, older ones Shift-JIS. A file is read as UTF-8 when it
// starts with the UTF-8 byte order mark, or when it holds a character of three bytes, reads as
// Japanese (most characters beyond ASCII are kana, kanji or the symbols of Japanese text) and
// has bytes that start no character in at most a quarter of its characters beyond ASCII: those
// become 〓 and are counted. Characters code page 932 lacks become "&#N;", or what `encode`
// makes of them. Anything else is Shift-JIS already and stays byte for byte.
TextFileBytes convertTextFile(const QByteArray &bytes,
                              QByteArray (*encode)(const QString &) = fromUnicode);

// A text from a single-line box, as fromUnicode, cut at its first line break: every text of
// a data file is one line, so a pasted line break would shift every line after it.
QByteArray fromUnicodeLine(const QString &text);

// The text up to its first line break (CR, LF, or a Unicode line or paragraph separator).
QString firstLine(const QString &text);

// Removes every leading and trailing byte of value 32 or less. The full-width space (81 40)
// is a character, not a blank, and stays.
QByteArray trimmed(const QByteArray &bytes);

// A first byte in 81–9F or E0–FC starts a two-byte character.
bool isLeadByte(unsigned char byte);

// The first character of the bytes: empty, one byte, or a lead byte with its trail byte.
QByteArray firstCharacter(const QByteArray &bytes);

// At most `most` bytes of the start of the text, cut at the start of a character, a character
// reference ("&#63647;") kept whole or left out.
QByteArray leftBytes(const QByteArray &bytes, qsizetype most);

// The full-width space.
inline const QByteArray fullWidthSpace() { return QByteArrayLiteral("\x81\x40"); }

} // namespace sjis
