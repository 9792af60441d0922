#pragma once

#include "imode/handsets.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// A picture made for a handset: the form it shows, no wider than its screen, in the colours its
// screen has, and within a budget of bytes.
struct FittedPicture {
    QByteArray bytes;       // the file's bytes; empty when no picture worth showing fits
    QByteArray format;      // "gif" or "jpg", the file's extension
    QSize size;             // in pixels
    int colours = 0;        // of a GIF's table; 0 for a JPEG
    QString note;           // something the user should know (only the first frame was taken)
    QString problem;        // why nothing was made; empty when bytes hold the picture
    // The source as it was, where it could be read: "GIF", "JPEG", "PNG" or "BMP", its size,
    // and its colours (0 for more than 256).
    QByteArray sourceFormat;
    QSize sourceSize;
    int sourceColours = 0;
};

// The size a picture of `source` pixels is made at for the handset, before any step down: never
// wider than the screen (240 pixels where it is not known), nor more than eight times as tall
// as that, the proportions kept; never enlarged.
QSize ShownPictureSize(QSize source, const Handset &handset);

// The picture of the file bytes `source` as it is made for the handset before its colours are
// reduced: decoded at ShownPictureSize, in full colour. Null when FitPicture would refuse it.
QImage PictureBeforeFitting(const QByteArray &source, const Handset &handset);

// A count of bytes as the user reads it: "2,776 バイト".
QString BytesText(qint64 bytes);

// A picture's facts as the user reads them: "GIF 96×72 31色 2,776 バイト"; "フルカラー" for
// more than 256 colours (0).
QString PictureFactsText(const QByteArray &format, QSize size, int colours, qint64 bytes);

// The picture of the file bytes `source` (GIF, JPEG, PNG or BMP; of an animated GIF its first
// frame) fitted for `handset` within `budget` bytes. GIF for every handset, JPEG only where the
// handset shows it and it comes out smaller; never wider than the screen, never enlarged; the
// screen's colours: two levels dithered for black and white, four greys, the fixed 8 × 8 × 4
// palette with error diffusion for 256 colours, a palette of at most 256 colours of the
// picture's own for deeper screens; transparency kept. Colours, then size, then JPEG quality
// are stepped down, a few steps each, until the picture fits; a picture narrower than 24
// pixels, or of fewer than 16 colours on a colour screen, is not worth showing, and then
// `problem` says so. A file that is no picture, or that DecodePicture refuses (too large, cut
// short, too slow to decode), is refused likewise, its message in Japanese.
// On screens of thousands of colours, pixels more than half opaque are blended over `matte`, the
// page's background, and made opaque, so that smoothed edges stay smooth; pixels less opaque
// become transparent.
FittedPicture FitPicture(const QByteArray &source, const Handset &handset, qint64 budget,
                         const QColor &matte = Qt::white);

// What each of the pictures fitted together may take of a page: the handset's limit, less the
// page's own bytes and the pictures left as they are, shared in proportion to the pictures'
// areas (as they will show, in pixels). Nothing is left for any of them when the page alone
// is past its limit.
QList<qint64> SharePictureBudget(qint64 limitBytes, qint64 pageBytes, qint64 otherPictureBytes,
                                 const QList<QSize> &areas);
