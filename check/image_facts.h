#pragma once

#include <QByteArray>

enum class ImageFormat { Unknown, Gif, Jpeg, Png, Bmp };

struct ImageFacts {
    ImageFormat format = ImageFormat::Unknown;
    int width = 0; // 0 when the header does not say
    int height = 0;
};

// What the first bytes of a picture file say: its format, and its size in pixels where the
// header gives it. Reads the header only and never decodes the picture.
ImageFacts ReadImageFacts(const QByteArray &head);
