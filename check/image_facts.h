#pragma once

#include "imode/handsets.h"

#include <QByteArray>
#include <QString>

enum class ImageFormat { Unknown, Gif, Jpeg, Png, Bmp };

struct ImageFacts {
    ImageFormat format = ImageFormat::Unknown;
    int width = 0; // 0 when the header does not say, or says something no picture can be
    int height = 0;
};

// What the first bytes of a picture file say: its format, and its size in pixels where the
// header gives it. The caller hands over the start of the file, at most its first 64 KB; a
// JPEG whose frame header lies further in gives its format with 0 x 0, as does a header cut
// short. Reads the header only, never decodes the picture and never reads past the bytes
// given, whatever they hold. Unknown always comes with 0 x 0.
ImageFacts ReadImageFacts(const QByteArray &head);

// Whether the handset shows a picture in that format: GIF everywhere, JPEG where the handset
// has it, PNG on none of these handsets, anything else nowhere.
bool HandsetShows(const Handset &handset, ImageFormat format);

// A picture of another site, or of the site's root: not among the page's own files, and not
// counted in its size.
bool IsPictureElsewhere(const QString &source);
