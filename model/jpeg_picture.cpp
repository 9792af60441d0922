#include "model/jpeg_picture.h"

#include "model/text_reader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

namespace {

// Far beyond what a background needs: a larger size is most likely a forged header.
constexpr std::uint64_t maximumPixels = 50'000'000;
// A progressive picture keeps all its coefficients at once: 64 MB hold those of a
// 20-megapixel photo with the usual colour subsampling.
constexpr long maximumDecoderMemory = 64L * 1024 * 1024;
// Encoders write a dozen scans or so; each scan, even an empty one, passes over the whole
// picture, so thousands of them would stall the start.
constexpr int maximumScans = 500;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void leaveDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void ignoreMessage(j_common_ptr) {}

void limitScans(j_common_ptr info)
{
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > maximumScans)
        leaveDecoding(info);
}

// The decoding proper, kept free of objects with destructors because an error leaves it by
// longjmp. Decodes only the rows `visible` shows, and the columns it shows and a few more, into
// `image`. Returns false on any error.
bool decodeInto(const unsigned char *data, unsigned long size, QSize visible, QImage *image)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    jpeg_progress_mgr progress{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveDecoding;
    errors.base.output_message = ignoreMessage;
    progress.progress_monitor = limitScans;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    // Past this, libjpeg would need a backing store it does not have, and fails cleanly.
    info.mem->max_memory_to_use = maximumDecoderMemory;
    info.progress = &progress;
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    if (std::uint64_t(info.image_width) * info.image_height > maximumPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // One block column more than shown: libjpeg smooths colour across the crop's right edge as
    // across the picture's, which would change the last visible column.
    const JDIMENSION blockColumn = JDIMENSION(info.max_h_samp_factor) * DCTSIZE;
    JDIMENSION left = 0;
    JDIMENSION width = std::min(info.output_width, JDIMENSION(visible.width()) + blockColumn);
    const JDIMENSION height = std::min(info.output_height, JDIMENSION(visible.height()));
    jpeg_crop_scanline(&info, &left, &width);
    *image = QImage(int(width), int(height), QImage::Format_RGB888);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < height) {
        JSAMPROW row = image->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    // The rows below the window are never shown: leave them undecoded.
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes, QSize visible)
{
    if (bytes.isEmpty() || visible.isEmpty())
        return {};
    QImage image;
    if (!decodeInto(reinterpret_cast<const unsigned char *>(bytes.constData()),
                    static_cast<unsigned long>(bytes.size()), visible, &image))
        return {};
    // The crop reaches past the window; the label shows only what fits.
    if (image.width() > visible.width())
        return image.copy(0, 0, visible.width(), image.height());
    return image;
}

QImage BackgroundPicture(const QString &programFolder, QSize visible)
{
    const QString path = programFolder + QStringLiteral("bg.jpg");
    if (!isRegularFile(path))
        return {};
    return decodeJpeg(readFileBytes(path), visible);
}
