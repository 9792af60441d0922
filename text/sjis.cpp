#include "text/sjis.h"

#include <QList>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

// One conversion descriptor for the length of one conversion.
class Converter {
public:
    Converter(const char *to, const char *from) : handle(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(handle);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return handle != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns false at the first input it cannot convert, with
    // `in` and `inLeft` pointing at it.
    bool convert(char *&in, size_t &inLeft, QByteArray &out)
    {
        char buffer[4096];
        while (inLeft > 0) {
            char *outPointer = buffer;
            size_t outLeft = sizeof buffer;
            const size_t result = iconv(handle, &in, &inLeft, &outPointer, &outLeft);
            out.append(buffer, static_cast<qsizetype>(outPointer - buffer));
            if (result == static_cast<size_t>(-1) && errno != E2BIG)
                return false;
        }
        return true;
    }

private:
    iconv_t handle;
};

constexpr char32_t replacementCharacter = 0xFFFD;

} // namespace

namespace sjis {

QString toUnicode(const QByteArray &bytes)
{
    Converter converter("UTF-32LE", "CP932");
    if (!converter.valid())
        return QString::fromLatin1(bytes);
    QByteArray utf32;
    utf32.reserve(bytes.size() * 4);
    QByteArray input = bytes;
    char *in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    while (!converter.convert(in, inLeft, utf32)) {
        const char32_t replacement = replacementCharacter;
        utf32.append(reinterpret_cast<const char *>(&replacement), 4);
        ++in;
        --inLeft;
    }
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(utf32.constData()),
                             utf32.size() / 4);
}

namespace {

// Converts the text to code page 932, handing every code point it cannot hold to
// `unconvertible`, whose result stands in for it.
template <typename StandIn>
QByteArray convertFromUnicode(const QString &text, StandIn unconvertible)
{
    Converter converter("CP932", "UTF-32LE");
    const QList<uint> codePoints = text.toUcs4();
    if (!converter.valid())
        return text.toLatin1();
    QByteArray input(reinterpret_cast<const char *>(codePoints.constData()),
                     codePoints.size() * 4);
    QByteArray result;
    result.reserve(text.size() * 2);
    char *in = input.data();
    size_t inLeft = static_cast<size_t>(input.size());
    while (!converter.convert(in, inLeft, result)) {
        char32_t codePoint;
        memcpy(&codePoint, in, 4);
        result.append(unconvertible(codePoint));
        in += 4;
        inLeft -= 4;
    }
    return result;
}

bool isAscii(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

QByteArray fromUnicode(const QString &text)
{
    return convertFromUnicode(text, [](char32_t codePoint) {
        return "&#" + QByteArray::number(static_cast<uint>(codePoint)) + ';';
    });
}

QString charactersOutside(const QString &text)
{
    QString outside;
    convertFromUnicode(text, [&outside](char32_t codePoint) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        if (!outside.contains(character))
            outside += character;
        return QByteArray();
    });
    return outside;
}

namespace {

constexpr char16_t strayMark = u'\u3013';

// The length of the UTF-8 character that starts at `at`; 0 when none does there: a lone
// continuation byte, a lead byte without its continuation, an overlong form, a surrogate or a
// code point past U+10FFFF.
int utf8Length(const QByteArray &bytes, qsizetype at)
{
    const auto byte = [&bytes](qsizetype index) {
        return index < bytes.size() ? static_cast<unsigned char>(bytes[index]) : 0;
    };
    const unsigned char lead = byte(at);
    int length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;
        high = lead == 0xED ? 0x9F : high;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    } else {
        return 0;
    }
    if (byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k)
        if ((byte(at + k) & 0xC0) != 0x80)
            return 0;
    return length;
}

// The blocks Japanese text takes its characters from: punctuation, letter-like and
// mathematical signs, arrows, circled numbers, box drawing, shapes and symbols; CJK symbols,
// kana; squared words; kanji; full-width and half-width forms. Only what code page 932 holds
// counts: Shift-JIS read as UTF-8 lands all over these blocks, Japanese text on that part.
bool inJapaneseBlocks(char32_t c)
{
    return (c >= 0x2010 && c <= 0x27BF) || (c >= 0x3000 && c <= 0x30FF)
           || (c >= 0x3200 && c <= 0x33FF) || (c >= 0x4E00 && c <= 0x9FFF)
           || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// Emoji and the rarer kanji: beyond code page 932, and beyond what Shift-JIS read as UTF-8
// makes, whose lead bytes F0–F4 are unused user-defined codes.
bool japaneseBeyondCodePage(char32_t c)
{
    return (c >= 0x1F000 && c <= 0x1FAFF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Walks the bytes as UTF-8: `ascii` for each ASCII byte, `character` for each character beyond
// ASCII with its length, `stray` for each byte that starts no character.
template <typename Ascii, typename Character, typename Stray>
void walkUtf8(const QByteArray &bytes, Ascii ascii, Character character, Stray stray)
{
    for (qsizetype at = 0; at < bytes.size();) {
        const unsigned char lead = static_cast<unsigned char>(bytes[at]);
        const int length = lead < 0x80 ? 1 : utf8Length(bytes, at);
        if (lead < 0x80) {
            ascii(lead);
        } else if (length == 0) {
            stray();
        } else {
            char32_t codePoint = lead & (0xFF >> (length + 1));
            for (int k = 1; k < length; ++k)
                codePoint = (codePoint << 6) | (static_cast<unsigned char>(bytes[at + k]) & 0x3F);
            character(codePoint, length);
        }
        at += std::max(length, 1);
    }
}

// How the bytes fall apart when read as UTF-8.
struct Utf8Shape {
    qsizetype strayBytes = 0;
    qsizetype characters = 0; // beyond ASCII
    qsizetype threeByteCharacters = 0;
};

Utf8Shape utf8Shape(const QByteArray &bytes)
{
    Utf8Shape shape;
    walkUtf8(
        bytes, [](unsigned char) {},
        [&shape](char32_t, int length) {
            ++shape.characters;
            shape.threeByteCharacters += length == 3;
        },
        [&shape] { ++shape.strayBytes; });
    return shape;
}

// Whether most of the `characters` beyond ASCII the UTF-8 bytes hold are of Japanese text.
bool mostlyJapanese(const QByteArray &bytes, qsizetype characters)
{
    qsizetype japanese = 0;
    QString inBlocks;
    walkUtf8(
        bytes, [](unsigned char) {},
        [&](char32_t codePoint, int) {
            japanese += japaneseBeyondCodePage(codePoint);
            if (inJapaneseBlocks(codePoint))
                inBlocks.append(QChar(static_cast<char16_t>(codePoint)));
        },
        [] {});
    qsizetype outside = 0;
    convertFromUnicode(inBlocks, [&outside](char32_t) {
        ++outside;
        return QByteArray();
    });
    japanese += inBlocks.size() - outside;
    return japanese * 2 > characters;
}

// The text of the UTF-8 bytes, with 〓 for each stray byte.
QString decodeUtf8(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    walkUtf8(
        bytes, [&text](unsigned char byte) { text.append(QChar(byte)); },
        [&text](char32_t codePoint, int) { text.append(QChar::fromUcs4(codePoint)); },
        [&text] { text.append(QChar(strayMark)); });
    return text;
}

} // namespace

TextFileBytes convertTextFile(const QByteArray &bytes, QByteArray (*encode)(const QString &))
{
    static const QByteArray byteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
    const bool marked = bytes.startsWith(byteOrderMark);
    if (!marked && isAscii(bytes))
        return {bytes, TextEncoding::Ascii, 0};
    const QByteArray text = marked ? bytes.sliced(byteOrderMark.size()) : bytes;
    const Utf8Shape shape = utf8Shape(text);
    const bool utf8 = marked
                      || (shape.threeByteCharacters > 0 && shape.strayBytes * 4 <= shape.characters
                          && mostlyJapanese(text, shape.characters));
    if (!utf8)
        return {bytes, TextEncoding::ShiftJis, 0};
    return {encode(decodeUtf8(text)), TextEncoding::Utf8, shape.strayBytes};
}

QByteArray fromUnicodeLine(const QString &text)
{
    return fromUnicode(firstLine(text));
}

QString firstLine(const QString &text)
{
    for (qsizetype at = 0; at < text.size(); ++at)
        if (text[at] == u'\r' || text[at] == u'\n' || text[at] == QChar::LineSeparator
            || text[at] == QChar::ParagraphSeparator)
            return text.left(at);
    return text;
}

QByteArray trimmed(const QByteArray &bytes)
{
    qsizetype first = 0;
    qsizetype last = bytes.size();
    while (first < last && static_cast<unsigned char>(bytes[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(bytes[last - 1]) <= 32)
        --last;
    return bytes.mid(first, last - first);
}

bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

QByteArray firstCharacter(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    if (bytes.size() >= 2 && isLeadByte(static_cast<unsigned char>(bytes[0])))
        return bytes.left(2);
    return bytes.left(1);
}

QByteArray leftBytes(const QByteArray &bytes, qsizetype most)
{
    if (bytes.size() <= most)
        return bytes;
    qsizetype end = 0;
    while (end < bytes.size()) {
        const qsizetype length =
            end + 1 < bytes.size() && isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + length > most)
            break;
        end += length;
    }
    // A reference cut in two would show its first half as text; none is longer than "&#x10FFFF;".
    constexpr qsizetype longestReference = 10;
    const qsizetype ampersand = end > 0 ? bytes.lastIndexOf("&#", end - 1) : -1;
    const qsizetype semicolon = ampersand >= 0 ? bytes.indexOf(';', ampersand) : -1;
    if (ampersand >= 0 && ampersand > end - longestReference && (semicolon < 0 || semicolon >= end))
        end = ampersand;
    return bytes.left(end);
}

} // namespace sjis
