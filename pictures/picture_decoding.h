#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <chrono>
#include <functional>

// How far a picture file may take its decoder. Every picture the program shows or converts
// comes through DecodePicture, so no file can make it run for minutes or take gigabytes.
struct PictureDecoding {
    // A picture, or a GIF's screen or frame, of more pixels is refused before it is decoded.
    qint64 mostPixels = 50'000'000;
    // Decoding stops past this: libjpeg checks it between rows, Qt's readers of GIF, PNG and
    // BMP whenever they ask for more of the file.
    std::chrono::milliseconds time{2000};
    // From the picture's format and own size, the size to decode it at (a JPEG decodes straight
    // at a smaller size); its own size when not given.
    std::function<QSize(const QByteArray &format, QSize size)> sizeFor;
    // Only the top-left part of this size is wanted; the whole picture when not valid.
    QSize corner;
};

struct DecodedPicture {
    QImage picture;     // null when `problem` says why
    QString problem;    // for the user, in Japanese
    QByteArray format;  // "GIF", "JPEG", "PNG" or "BMP", where the file is one of those
    QSize size;         // the picture's own size, as its header gives it
    int frames = 1;     // of an animated GIF; only the first is decoded
};

// The picture of the file `bytes` (GIF, JPEG, PNG or BMP), within the bounds of `decoding`. A
// JPEG of more scans than any photo has, a picture past the pixel limit, one whose file ends
// before its data and one that takes too long are refused with a message and no picture, never
// shown in part.
DecodedPicture DecodePicture(const QByteArray &bytes, const PictureDecoding &decoding = {});
