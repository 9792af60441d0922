#pragma once

#include <QByteArray>
#include <QSize>

// What a picture file's own structure says of it, read from its bytes without decoding a pixel:
// enough to refuse a file that would cost more to decode than any picture of a page is worth.
struct PictureStructure {
    QByteArray format;    // "GIF", "JPEG", "PNG" or "BMP"; empty for any other file
    QSize size;           // as the header gives it
    // The largest area a decoder lays out: a GIF's screen or the largest of its frames.
    qint64 largestArea = 0;
    int frames = 1;       // of a GIF
    int scans = 0;        // of a JPEG: each one is a pass over the whole picture
    // The file ends before the data of its (first) picture does: a GIF's first frame, a PNG's
    // chunks up to its end, a BMP's rows. A JPEG's decoder finds that out itself.
    bool endsEarly = false;
};

PictureStructure ReadPictureStructure(const QByteArray &bytes);
