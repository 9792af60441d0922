#include "pictures/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

int appendBytes(GifFileType *file, const GifByteType *bytes, int count)
{
    static_cast<QByteArray *>(file->UserData)->append(reinterpret_cast<const char *>(bytes), count);
    return count;
}

// Bits per pixel of a colour table of `count` colours: GIF tables hold a power of two.
int bitsFor(int count)
{
    int bits = 1;
    while ((1 << bits) < count)
        ++bits;
    return bits;
}

// The colours the pixels use, in the order of the picture's table, and each pixel's index
// among them; an index past the table is taken as its last colour, as before.
struct UsedColours {
    QList<QRgb> table;
    std::vector<int> newIndex; // by the picture's index; -1 for a colour no pixel uses
};

UsedColours usedColours(const QImage &picture)
{
    const QList<QRgb> table = picture.colorTable();
    std::vector<bool> used(table.size(), false);
    for (int y = 0; y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            used[std::min<std::size_t>(line[x], used.size() - 1)] = true;
    }
    UsedColours colours;
    colours.newIndex.assign(table.size(), -1);
    for (qsizetype index = 0; index < table.size(); ++index)
        if (used[std::size_t(index)]) {
            colours.newIndex[std::size_t(index)] = int(colours.table.size());
            colours.table.append(table[index]);
        }
    return colours;
}

bool isWritable(const QImage &picture)
{
    return !picture.isNull() && picture.format() == QImage::Format_Indexed8
           && !picture.colorTable().isEmpty() && picture.colorTable().size() <= 256;
}

} // namespace

int ColoursInGif(const QImage &picture)
{
    return isWritable(picture) ? int(usedColours(picture).table.size()) : 0;
}

// Only the colours the pixels use go into the file: the table and the codes of the compressed
// pixels are then no larger than those colours need.
QByteArray WriteGif(const QImage &picture)
{
    if (!isWritable(picture))
        return {};
    const UsedColours used = usedColours(picture);
    const QList<QRgb> &table = used.table;
    const int bits = bitsFor(int(table.size()));
    std::unique_ptr<ColorMapObject, decltype(&GifFreeMapObject)> colours(
        GifMakeMapObject(1 << bits, nullptr), &GifFreeMapObject);
    if (!colours)
        return {};
    int transparent = -1;
    for (int index = 0; index < (1 << bits); ++index) {
        const QRgb colour = index < table.size() ? table[index] : qRgb(0, 0, 0);
        colours->Colors[index] = {GifByteType(qRed(colour)), GifByteType(qGreen(colour)),
                                  GifByteType(qBlue(colour))};
        if (index < table.size() && qAlpha(colour) == 0 && transparent < 0)
            transparent = index;
    }

    QByteArray bytes;
    int error = 0;
    GifFileType *file = EGifOpen(&bytes, appendBytes, &error);
    if (!file)
        return {};
    bool written = true;
    const auto fail = [&written] { written = false; };
    EGifSetGifVersion(file, transparent >= 0);
    if (EGifPutScreenDesc(file, picture.width(), picture.height(), bits, 0, colours.get()) == GIF_ERROR)
        fail();
    if (written && transparent >= 0) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = transparent;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR)
            fail();
    }
    if (written
        && EGifPutImageDesc(file, 0, 0, picture.width(), picture.height(), false, nullptr) == GIF_ERROR)
        fail();
    const std::size_t last = used.newIndex.size() - 1;
    std::unique_ptr<GifPixelType[]> row(new GifPixelType[std::size_t(picture.width())]);
    for (int y = 0; written && y < picture.height(); ++y) {
        const uchar *line = picture.constScanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            row[std::size_t(x)] = GifPixelType(used.newIndex[std::min<std::size_t>(line[x], last)]);
        if (EGifPutLine(file, row.get(), picture.width()) == GIF_ERROR)
            fail();
    }
    if (EGifCloseFile(file, &error) == GIF_ERROR)
        fail();
    return written ? bytes : QByteArray();
}
