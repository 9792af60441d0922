#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QImage>
#include <QSize>

// A JPEG decoded by libjpeg itself, which says what Qt's reader keeps to itself: that the file
// ended early, or that decoding ran out of time.
struct JpegDecoding {
    enum class Outcome { Decoded, Broken, EndsEarly, TooSlow, TooLarge };
    Outcome outcome = Outcome::Broken;
    QImage picture; // RGB32; null unless decoded
};

// The JPEG `bytes` decoded at `scaledSize` (straight at a smaller size where libjpeg can, then
// smoothed to it), only its top-left `corner` where that is valid, by the deadline. Missing
// data is an error, not grey rows.
JpegDecoding DecodeJpeg(const QByteArray &bytes, QSize scaledSize, QSize corner,
                        QDeadlineTimer deadline);
