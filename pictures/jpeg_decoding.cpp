#include "pictures/jpeg_decoding.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// A progressive picture keeps all its coefficients at once: 256 MB hold those of any picture
// within the pixel limit with the usual colour subsampling.
constexpr long mostDecoderMemory = 256L * 1024 * 1024;

struct Decoder {
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    QDeadlineTimer deadline;
    JpegDecoding::Outcome failure = JpegDecoding::Outcome::Broken;
};

Decoder &decoderOf(j_common_ptr info)
{
    return *static_cast<Decoder *>(info->client_data);
}

[[noreturn]] void leave(j_common_ptr info, JpegDecoding::Outcome failure)
{
    decoderOf(info).failure = failure;
    std::longjmp(decoderOf(info).jump, 1);
}

[[noreturn]] void leaveOnError(j_common_ptr info)
{
    // Past the memory cap libjpeg asks for a backing store it does not have.
    const int code = info->err->msg_code;
    leave(info, code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE
                    ? JpegDecoding::Outcome::TooLarge
                    : JpegDecoding::Outcome::Broken);
}

// libjpeg fills data it does not find with grey and only warns; a picture shown half grey
// would pass for whole. The file's end, or a marker where a scan's data should go on.
void stopWhereDataIsMissing(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        leave(info, JpegDecoding::Outcome::EndsEarly);
    if (level < 0 && info->err->msg_code == JWRN_HIT_MARKER)
        leave(info, JpegDecoding::Outcome::Broken);
}

void stopPastDeadline(j_common_ptr info)
{
    if (decoderOf(info).deadline.hasExpired())
        leave(info, JpegDecoding::Outcome::TooSlow);
}

// The smallest of libjpeg's scales (eighths) that is at least `wanted` in both directions.
int eighthsFor(QSize source, QSize wanted)
{
    for (int eighths = 1; eighths < 8; ++eighths)
        if (qint64(source.width()) * eighths >= qint64(wanted.width()) * 8
            && qint64(source.height()) * eighths >= qint64(wanted.height()) * 8)
            return eighths;
    return 8;
}

// Adobe's CMYK, as photo programs write it: inverted.
void cmykToRgb(QImage &image, int row)
{
    auto *pixel = reinterpret_cast<QRgb *>(image.scanLine(row));
    const auto *cmyk = reinterpret_cast<const uchar *>(pixel);
    for (int x = 0; x < image.width(); ++x, cmyk += 4) {
        const int k = cmyk[3];
        pixel[x] = qRgb(cmyk[0] * k / 255, cmyk[1] * k / 255, cmyk[2] * k / 255);
    }
}

// The decoding proper, kept free of objects with destructors because an error leaves it by
// longjmp.
bool decodeInto(const QByteArray &bytes, QSize scaledSize, QSize corner, Decoder &decoder,
                QImage *image)
{
    jpeg_decompress_struct info;
    info.err = jpeg_std_error(&decoder.errors);
    decoder.errors.error_exit = leaveOnError;
    decoder.errors.emit_message = stopWhereDataIsMissing;
    decoder.progress.progress_monitor = stopPastDeadline;
    if (setjmp(decoder.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    // Set first, as an error in making the decoder leaves through it; making it keeps it.
    info.client_data = &decoder;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = mostDecoderMemory;
    info.progress = &decoder.progress;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const QSize source(int(info.image_width), int(info.image_height));
    if (scaledSize.isValid()) {
        info.scale_num = unsigned(eighthsFor(source, scaledSize));
        info.scale_denom = 8;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
#else
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_XRGB;
#endif
    jpeg_start_decompress(&info);
    JDIMENSION left = 0;
    JDIMENSION width = info.output_width;
    JDIMENSION height = info.output_height;
    if (corner.isValid()) {
        // One block column more than kept: libjpeg smooths colour across the crop's right edge
        // as across the picture's, which would change the last column kept.
        const JDIMENSION blockColumn = JDIMENSION(info.max_h_samp_factor) * DCTSIZE;
        width = std::min(width, JDIMENSION(corner.width()) + blockColumn);
        height = std::min(height, JDIMENSION(corner.height()));
        jpeg_crop_scanline(&info, &left, &width);
    }
    *image = QImage(int(width), int(height), QImage::Format_RGB32);
    if (image->isNull())
        leave(reinterpret_cast<j_common_ptr>(&info), JpegDecoding::Outcome::TooLarge);
    while (info.output_scanline < height) {
        const int row = int(info.output_scanline);
        JSAMPROW line = image->scanLine(row);
        jpeg_read_scanlines(&info, &line, 1);
        if (cmyk)
            cmykToRgb(*image, row);
    }
    // The rows below a corner are never shown: they stay undecoded.
    if (!corner.isValid())
        jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

JpegDecoding DecodeJpeg(const QByteArray &bytes, QSize scaledSize, QSize corner,
                        QDeadlineTimer deadline)
{
    Decoder decoder{};
    decoder.deadline = deadline;
    JpegDecoding decoding;
    if (!decodeInto(bytes, scaledSize, corner, decoder, &decoding.picture)) {
        decoding.picture = QImage();
        decoding.outcome = decoder.failure;
        return decoding;
    }
    decoding.outcome = JpegDecoding::Outcome::Decoded;
    if (corner.isValid() && decoding.picture.width() > corner.width())
        decoding.picture = decoding.picture.copy(0, 0, corner.width(), decoding.picture.height());
    if (scaledSize.isValid() && !corner.isValid() && decoding.picture.size() != scaledSize)
        decoding.picture = decoding.picture.scaled(scaledSize, Qt::IgnoreAspectRatio,
                                                   Qt::SmoothTransformation);
    return decoding;
}
