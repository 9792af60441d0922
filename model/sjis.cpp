#include "model/sjis.h"

#include <QList>
#include <QStringDecoder>

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

QByteArray fromTextFile(const QByteArray &bytes)
{
    const bool byteOrderMark = bytes.startsWith("\xEF\xBB\xBF");
    if (!byteOrderMark && isAscii(bytes))
        return bytes;
    // Short UTF-8 texts are often valid Shift-JIS as well (a third of everyday phrases are),
    // while Shift-JIS text is almost never valid UTF-8: valid UTF-8 decides.
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return bytes;
    return fromUnicode(text);
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

} // namespace sjis
