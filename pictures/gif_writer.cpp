#include "pictures/gif_writer.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

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

} // namespace

QByteArray WriteGif(const QImage &picture)
{
    const QList<QRgb> table = picture.colorTable();
    if (picture.isNull() || picture.format() != QImage::Format_Indexed8 || table.isEmpty()
        || table.size() > 256)
        return {};
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
    for (int y = 0; written && y < picture.height(); ++y) {
        // giflib takes a writable row; it does not change it.
        std::unique_ptr<GifPixelType[]> row(new GifPixelType[std::size_t(picture.width())]);
        std::memcpy(row.get(), picture.constScanLine(y), std::size_t(picture.width()));
        for (int x = 0; x < picture.width(); ++x)
            row[std::size_t(x)] = GifPixelType(std::min<int>(row[std::size_t(x)], int(table.size()) - 1));
        if (EGifPutLine(file, row.get(), picture.width()) == GIF_ERROR)
            fail();
    }
    if (EGifCloseFile(file, &error) == GIF_ERROR)
        fail();
    return written ? bytes : QByteArray();
}
