#include "pictures/picture_structure.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace {

quint8 byteAt(const QByteArray &bytes, qsizetype at)
{
    return at < bytes.size() ? quint8(bytes[at]) : 0;
}

quint16 bigEndian16(const QByteArray &bytes, qsizetype at)
{
    return quint16(byteAt(bytes, at) << 8 | byteAt(bytes, at + 1));
}

quint16 littleEndian16(const QByteArray &bytes, qsizetype at)
{
    return quint16(byteAt(bytes, at) | byteAt(bytes, at + 1) << 8);
}

quint32 bigEndian32(const QByteArray &bytes, qsizetype at)
{
    return quint32(bigEndian16(bytes, at)) << 16 | bigEndian16(bytes, at + 2);
}

quint32 littleEndian32(const QByteArray &bytes, qsizetype at)
{
    return quint32(littleEndian16(bytes, at)) | quint32(littleEndian16(bytes, at + 2)) << 16;
}

bool isStartOfFrame(quint8 marker)
{
    // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning) share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// A JPEG's markers walked in order; the entropy-coded data after each scan header is skipped
// up to the next marker that is neither a stuffed FF nor a restart.
PictureStructure jpegStructure(const QByteArray &bytes)
{
    PictureStructure structure;
    structure.format = "JPEG";
    qsizetype at = 2;
    while (at + 1 < bytes.size()) {
        if (byteAt(bytes, at) != 0xFF) {
            ++at; // stray bytes between segments, which decoders step over too
            continue;
        }
        const quint8 marker = byteAt(bytes, at + 1);
        if (marker == 0xFF) {
            ++at; // fill before a marker
            continue;
        }
        if (marker == 0xD9)
            break;
        if (marker == 0x01 || marker == 0x00 || (marker >= 0xD0 && marker <= 0xD8)) {
            at += 2;
            continue;
        }
        const qsizetype end = at + 2 + bigEndian16(bytes, at + 2);
        if (isStartOfFrame(marker)) {
            structure.size = QSize(bigEndian16(bytes, at + 7), bigEndian16(bytes, at + 5));
            structure.largestArea = qint64(structure.size.width()) * structure.size.height();
        }
        at = end;
        if (marker != 0xDA)
            continue;
        ++structure.scans;
        while (at + 1 < bytes.size()) {
            if (byteAt(bytes, at) == 0xFF) {
                const quint8 next = byteAt(bytes, at + 1);
                if (next != 0x00 && next != 0xFF && (next < 0xD0 || next > 0xD7))
                    break;
                at += next == 0xFF ? 1 : 2;
            } else {
                ++at;
            }
        }
    }
    return structure;
}

// The end of the data sub-blocks that start at `at`, after their empty closing block; nothing
// when the file ends first.
qsizetype afterSubBlocks(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size()) {
        const int length = byteAt(bytes, at);
        if (length == 0)
            return at + 1;
        at += 1 + length;
    }
    return -1;
}

PictureStructure gifStructure(const QByteArray &bytes)
{
    PictureStructure structure;
    structure.format = "GIF";
    structure.frames = 0;
    structure.size = QSize(littleEndian16(bytes, 6), littleEndian16(bytes, 8));
    structure.largestArea = qint64(structure.size.width()) * structure.size.height();
    const quint8 screenFlags = byteAt(bytes, 10);
    qsizetype at = 13 + ((screenFlags & 0x80) ? 3 * (2 << (screenFlags & 7)) : 0);
    while (at < bytes.size()) {
        const quint8 introducer = byteAt(bytes, at);
        if (introducer == 0x21) {
            at = afterSubBlocks(bytes, at + 2);
        } else if (introducer == 0x2C) {
            const QSize frame(littleEndian16(bytes, at + 5), littleEndian16(bytes, at + 7));
            // A screen of no size is the first frame's, as decoders take it: to its far corner.
            const QSize reach(littleEndian16(bytes, at + 1) + frame.width(),
                              littleEndian16(bytes, at + 3) + frame.height());
            if (structure.size.isEmpty() && structure.frames == 0)
                structure.size = reach;
            structure.largestArea = std::max(structure.largestArea,
                                             qint64(reach.width()) * reach.height());
            const quint8 frameFlags = byteAt(bytes, at + 9);
            at += 10 + ((frameFlags & 0x80) ? 3 * (2 << (frameFlags & 7)) : 0);
            at = afterSubBlocks(bytes, at + 1);
            if (at < 0 && structure.frames == 0)
                structure.endsEarly = true;
            ++structure.frames;
        } else {
            break; // the trailer, or bytes no decoder reads further than
        }
        if (at < 0)
            break;
    }
    if (structure.frames == 0)
        structure.endsEarly = true;
    structure.frames = std::max(structure.frames, 1);
    return structure;
}

PictureStructure pngStructure(const QByteArray &bytes)
{
    PictureStructure structure;
    structure.format = "PNG";
    structure.size = QSize(int(std::min<quint32>(bigEndian32(bytes, 16), INT_MAX)),
                           int(std::min<quint32>(bigEndian32(bytes, 20), INT_MAX)));
    structure.largestArea = qint64(structure.size.width()) * structure.size.height();
    structure.endsEarly = true;
    for (qsizetype at = 8; at + 8 <= bytes.size();) {
        const qint64 end = at + 12 + qint64(bigEndian32(bytes, at));
        if (end > bytes.size())
            break;
        if (bytes.sliced(at + 4, 4) == "IEND") {
            structure.endsEarly = false;
            break;
        }
        at = qsizetype(end);
    }
    return structure;
}

PictureStructure bmpStructure(const QByteArray &bytes)
{
    PictureStructure structure;
    structure.format = "BMP";
    const quint32 pixelsAt = littleEndian32(bytes, 10);
    const bool core = littleEndian32(bytes, 14) == 12; // the oldest header, of 16-bit sizes
    const qint64 width = core ? littleEndian16(bytes, 18) : qint32(littleEndian32(bytes, 18));
    const qint64 height = std::abs(core ? qint64(littleEndian16(bytes, 20))
                                        : qint64(qint32(littleEndian32(bytes, 22))));
    const int bitsPerPixel = littleEndian16(bytes, core ? 24 : 28);
    const quint32 compression = core ? 0 : littleEndian32(bytes, 30);
    structure.size = QSize(int(std::clamp<qint64>(width, 0, INT_MAX)), int(std::min<qint64>(height, INT_MAX)));
    structure.largestArea = qint64(structure.size.width()) * structure.size.height();
    // Rows of run-length coded pixels have no fixed length; the others do.
    const bool fixedRows = compression == 0 || compression == 3 || compression == 6;
    if (fixedRows && width > 0) {
        const qint64 row = (width * bitsPerPixel + 31) / 32 * 4;
        const qint64 held = bytes.size() - qint64(pixelsAt);
        structure.endsEarly = held < 0 || (row > 0 && held / row < height);
    }
    return structure;
}

} // namespace

PictureStructure ReadPictureStructure(const QByteArray &bytes)
{
    if (bytes.startsWith("\xFF\xD8"))
        return jpegStructure(bytes);
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return gifStructure(bytes);
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return pngStructure(bytes);
    if (bytes.startsWith("BM") && bytes.size() >= 26)
        return bmpStructure(bytes);
    return {};
}
