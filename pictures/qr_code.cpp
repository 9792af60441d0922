#include "pictures/qr_code.h"

#include "imode/pictogram_text.h"
#include "text/sjis.h"

#include <QRegularExpression>

#include <qrencode.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <new>

namespace {

// Phones read versions 1 to 10.
constexpr int largestVersion = 10;
// What version 10 holds at level M in 8-bit mode: 216 data codewords less the mode and a
// 16-bit length.
constexpr int bytesAtMost = 213;
// What version 10 holds at level M in numeric mode, the densest: no longer text fits, and it
// is refused without encoding.
constexpr int digitsAtMost = 513;
constexpr int quietZone = 4;
constexpr int widestPicture = 32767;

using Code = std::unique_ptr<QRcode, decltype(&QRcode_free)>;

// A code libqrencode made, or null when the text does not fit in any version.
Code checked(QRcode *code)
{
    if (!code && errno == ENOMEM)
        throw std::bad_alloc();
    return Code(code, &QRcode_free);
}

QrSymbol problem(const QString &message)
{
    QrSymbol symbol;
    symbol.problem = message;
    return symbol;
}

QrSymbol tooLong(const QByteArray &text)
{
    return problem(QStringLiteral("QRコードにするには長すぎます（%1 バイト）。携帯が読めるQRコードには "
                                  "%2 バイトまでしか入りません。")
                       .arg(text.size())
                       .arg(bytesAtMost));
}

// The length of the Shift-JIS character at `at`: 2 for a lead byte with a byte after it.
qsizetype characterLength(const QByteArray &text, qsizetype at)
{
    return sjis::isLeadByte(uchar(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// A byte an address holds as it is: plain ASCII, but for the marks that would start an escape,
// a fragment or a query.
bool standsInAddress(char byte)
{
    return byte > ' ' && byte < 0x7F && byte != '%' && byte != '#' && byte != '?';
}

// The marks the bookmark form separates its fields with, escaped; whole characters are
// stepped over, so the second byte of a character such as ソ (83 5C) stays as it is.
QByteArray escaped(const QByteArray &text)
{
    QByteArray result;
    for (qsizetype at = 0; at < text.size();) {
        const QByteArray character = text.sliced(at, characterLength(text, at));
        if (character == "\\" || character == ":" || character == ";" || character == ",")
            result += '\\';
        result += character;
        at += character.size();
    }
    return result;
}

// The text without its tags: "<" up to the next ">". A "<" with no ">" after it stays.
QByteArray withoutTags(const QByteArray &text)
{
    QByteArray result;
    qsizetype at = 0;
    for (qsizetype open = text.indexOf('<'); open >= 0; open = text.indexOf('<', at)) {
        const qsizetype close = text.indexOf('>', open);
        if (close < 0)
            break;
        result += text.sliced(at, open - at);
        at = close + 1;
    }
    return result + text.sliced(at);
}

QByteArray withoutPictograms(const QByteArray &text)
{
    QByteArray result;
    for (const TextRun &run : PictogramRuns(text))
        if (!run.pictogram)
            result += run.bytes;
    return result;
}

// The home page's folder, ending in "/". The host is the first part of the address, after
// "scheme://" where there is one.
QString folderOf(const QString &homePage)
{
    const qsizetype scheme = homePage.indexOf(QLatin1String("://"));
    const qsizetype hostEnd = homePage.indexOf(QLatin1Char('/'), scheme < 0 ? 0 : scheme + 3);
    if (hostEnd < 0)
        return homePage + QLatin1Char('/');
    const qsizetype lastSlash = homePage.lastIndexOf(QLatin1Char('/'));
    if (homePage.indexOf(QLatin1Char('.'), lastSlash) >= 0)
        return homePage.left(lastSlash + 1);
    return lastSlash == homePage.size() - 1 ? homePage : homePage + QLatin1Char('/');
}

} // namespace

QrSymbol MakeQrCode(const QByteArray &text)
{
    if (text.isEmpty())
        return problem(QStringLiteral("QRコードにする文字がありません。"));
    if (text.contains('\0'))
        return problem(QStringLiteral("QRコードにする文字に、NUL（0 のバイト）は入れられません。"));
    // The 8-bit call takes the length; the one that finds kanji reads up to the NUL that ends
    // every QByteArray, so no byte is lost with the text free of NUL bytes.
    if (text.size() > digitsAtMost)
        return tooLong(text);
    Code code = checked(QRcode_encodeData(int(text.size()),
                                          reinterpret_cast<const unsigned char *>(text.constData()),
                                          0, QR_ECLEVEL_M));
    Code withKanji = checked(QRcode_encodeString(text.constData(), 0, QR_ECLEVEL_M, QR_MODE_KANJI, 1));
    if (withKanji && (!code || withKanji->version < code->version))
        code = std::move(withKanji);
    if (!code || code->version > largestVersion)
        return tooLong(text);
    QrSymbol symbol;
    symbol.version = code->version;
    symbol.modulesAcross = code->width;
    const qsizetype count = qsizetype(code->width) * code->width;
    symbol.modules.reserve(count);
    // Bit 0 of each of libqrencode's bytes is the module's colour; the others say what it is.
    for (qsizetype index = 0; index < count; ++index)
        symbol.modules.append((code->data[index] & 1) != 0);
    return symbol;
}

QImage DrawQrCode(const QrSymbol &symbol, int moduleSize)
{
    const int across = symbol.modulesAcross;
    if (!symbol.problem.isEmpty() || across < 1 || symbol.modules.size() != qsizetype(across) * across
        || moduleSize < 1 || (across + 2 * quietZone) > widestPicture / moduleSize)
        return {};
    const int side = (across + 2 * quietZone) * moduleSize;
    QImage picture(side, side, QImage::Format_Indexed8);
    if (picture.isNull())
        throw std::bad_alloc();
    picture.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    picture.fill(0);
    for (int row = 0; row < across; ++row) {
        const int top = (quietZone + row) * moduleSize;
        uchar *line = picture.scanLine(top);
        for (int column = 0; column < across; ++column)
            if (symbol.modules[qsizetype(row) * across + column])
                std::fill_n(line + (quietZone + column) * moduleSize, moduleSize, uchar(1));
        for (int y = top + 1; y < top + moduleSize; ++y)
            std::copy_n(line, side, picture.scanLine(y));
    }
    return picture;
}

QByteArray BookmarkText(const QByteArray &title, const QByteArray &address)
{
    const QByteArray shownTitle = sjis::trimmed(withoutTags(withoutPictograms(title)));
    QByteArray form = "MEBKM:";
    if (!shownTitle.isEmpty())
        form += "TITLE:" + escaped(shownTitle) + ';';
    return form + "URL:" + escaped(address) + ";;";
}

QString PageAddress(const QByteArray &homePage, const QString &pageFileName)
{
    const QByteArray bytes = sjis::fromUnicode(pageFileName);
    QByteArray name;
    for (qsizetype at = 0; at < bytes.size();) {
        const QByteArray character = bytes.sliced(at, characterLength(bytes, at));
        // Both bytes of a two-byte character are encoded, though the second may be a letter.
        if (character.size() == 1 && standsInAddress(character[0]))
            name += character;
        else
            name += character.toPercentEncoding(QByteArray(), character);
        at += character.size();
    }
    const QString home = sjis::toUnicode(sjis::trimmed(homePage));
    return home.isEmpty() ? QString::fromLatin1(name) : folderOf(home) + QLatin1String(name);
}

bool AddressWithoutHost(const QString &address)
{
    const QString text = address.trimmed();
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (text.isEmpty() || scheme.match(text).hasMatch())
        return false;
    if (text.startsWith(QLatin1Char('/')) || text.startsWith(QLatin1Char('.')))
        return true;
    // A text that is no address at all is not one without a server; a page's or picture's name is.
    static const QRegularExpression fileName(
        QStringLiteral("^[^\\s/]+\\.(html?|shtml|cgi|php|gif|jpe?g|png|txt)$"), QRegularExpression::CaseInsensitiveOption);
    const QString first = text.section(QLatin1Char('/'), 0, 0).section(QLatin1Char('?'), 0, 0);
    return fileName.match(first).hasMatch();
}
