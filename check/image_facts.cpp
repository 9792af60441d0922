#include "check/image_facts.h"

#include <QtEndian>

#include <limits>

namespace {

// Whether `count` bytes from `offset` lie inside the head: every read asks this first.
bool holds(const QByteArray &head, qsizetype offset, qsizetype count)
{
    return offset >= 0 && offset <= head.size() - count;
}

quint8 byteAt(const QByteArray &head, qsizetype offset)
{
    return quint8(head.at(offset));
}

template <typename T>
T bigEndianAt(const QByteArray &head, qsizetype offset)
{
    return qFromBigEndian<T>(head.constData() + offset);
}

template <typename T>
T littleEndianAt(const QByteArray &head, qsizetype offset)
{
    return qFromLittleEndian<T>(head.constData() + offset);
}

// A side of zero, below zero or beyond an int says nothing the page check can use.
int pixels(qint64 side)
{
    return side > 0 && side <= std::numeric_limits<int>::max() ? int(side) : 0;
}

ImageFacts sized(ImageFormat format, qint64 width, qint64 height)
{
    return ImageFacts{format, pixels(width), pixels(height)};
}

ImageFacts formatOnly(ImageFormat format)
{
    return sized(format, 0, 0);
}

ImageFacts gifFacts(const QByteArray &head)
{
    if (!holds(head, 6, 4))
        return formatOnly(ImageFormat::Gif);
    return sized(ImageFormat::Gif, littleEndianAt<quint16>(head, 6),
                 littleEndianAt<quint16>(head, 8));
}

ImageFacts pngFacts(const QByteArray &head)
{
    // Only the IHDR chunk, which must come first, gives the size.
    if (!holds(head, 12, 12) || head.sliced(12, 4) != "IHDR")
        return formatOnly(ImageFormat::Png);
    return sized(ImageFormat::Png, bigEndianAt<quint32>(head, 16), bigEndianAt<quint32>(head, 20));
}

ImageFacts bmpFacts(const QByteArray &head)
{
    if (!holds(head, 14, 4))
        return formatOnly(ImageFormat::Bmp);
    // The oldest header, 12 bytes long, keeps its sides in 16 bits; the newer ones in 32.
    if (littleEndianAt<quint32>(head, 14) == 12) {
        if (!holds(head, 18, 4))
            return formatOnly(ImageFormat::Bmp);
        return sized(ImageFormat::Bmp, littleEndianAt<quint16>(head, 18),
                     littleEndianAt<quint16>(head, 20));
    }
    if (!holds(head, 18, 8))
        return formatOnly(ImageFormat::Bmp);
    // A negative height stores the rows top down. Widened first, so the lowest int has an
    // absolute value too (one beyond an int, so no size).
    const qint64 height = littleEndianAt<qint32>(head, 22);
    return sized(ImageFormat::Bmp, littleEndianAt<qint32>(head, 18), qAbs(height));
}

bool isStandaloneMarker(quint8 marker)
{
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// C4, C8 and CC share the range but are tables and a reserved code, not frames.
bool isFrameMarker(quint8 marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Goes from segment to segment by their lengths, never searching for a frame marker: an
// embedded thumbnail carries frame headers of its own. A byte other than FF where a marker
// belongs means a length was wrong, and nothing after it can be trusted.
ImageFacts jpegFacts(const QByteArray &head)
{
    const quint8 endOfImage = 0xD9;
    const quint8 startOfScan = 0xDA;
    qsizetype at = 2; // past the start-of-image marker
    while (holds(head, at, 2) && byteAt(head, at) == 0xFF) {
        const quint8 marker = byteAt(head, at + 1);
        if (marker == 0xFF) { // fill byte before the marker's own FF
            ++at;
            continue;
        }
        if (isStandaloneMarker(marker)) {
            at += 2;
            continue;
        }
        // From the scan on come coded pixels, not segments; past the end, another file's bytes.
        if (marker == startOfScan || marker == endOfImage || !holds(head, at, 4))
            break;
        const quint16 length = bigEndianAt<quint16>(head, at + 2); // counts itself
        if (isFrameMarker(marker)) {
            if (length < 7 || !holds(head, at, 9)) // a frame header too short to hold the size
                break;
            return sized(ImageFormat::Jpeg, bigEndianAt<quint16>(head, at + 7),
                         bigEndianAt<quint16>(head, at + 5));
        }
        if (length < 2) // shorter than its own length field: broken
            break;
        at += 2 + length;
    }
    return formatOnly(ImageFormat::Jpeg);
}

} // namespace

ImageFacts ReadImageFacts(const QByteArray &head)
{
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a"))
        return gifFacts(head);
    if (head.startsWith("\x89PNG\r\n\x1A\n"))
        return pngFacts(head);
    if (head.startsWith("\xFF\xD8"))
        return jpegFacts(head);
    if (head.startsWith("BM"))
        return bmpFacts(head);
    return {};
}

bool HandsetShows(const Handset &handset, ImageFormat format)
{
    switch (format) {
    case ImageFormat::Gif:
        return true;
    case ImageFormat::Jpeg:
        return handset.showsJpeg();
    case ImageFormat::Png:
        return handset.showsPng();
    case ImageFormat::Bmp:
    case ImageFormat::Unknown:
        break;
    }
    return false;
}

bool IsPictureElsewhere(const QString &source)
{
    return source.contains(QLatin1String("://")) || source.startsWith(QLatin1Char('/'));
}
