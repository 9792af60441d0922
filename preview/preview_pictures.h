#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

// How a picture shows on the screen: at the size the page draws it at, and of its own columns,
// those that show, from the left.
struct ShownPicture {
    QSize size;
    int columns = 0;
};

// A picture of `natural` size, where the page asks for `width` × `height` (taken when it gives
// both; 0 where it does not say), shows at that size, never taller than a few screens however
// large the page writes it. Wider than the screen, it is cut at the screen's right edge: the
// handset does not scroll sideways, and no handset is known to make a picture narrower.
ShownPicture ShownPictureOf(QSize natural, qint64 width, qint64 height, QSize screen);

// A size the page writes, in pixels; 0 for none, a percentage or anything else.
qint64 PixelsWritten(QByteArrayView value);

// The small mark of a broken picture, in a character's cell of `cell` pixels.
QImage BrokenPictureMark(int cell);

// Where the picture file is missing, its name in a frame, no wider than the screen: which file
// to put beside the page.
QImage MissingPictureMark(const QString &source, int fontHeight, int screenWidth);

// A pictogram is a full-width character: its picture fills a cell of the handset's font, of
// `cell` pixels, however wide it is drawn.
QImage PictureInCell(const QImage &picture, int cell);

// A colour pictogram as a black-and-white or grey screen shows it: a mark of one colour, `ink`,
// on a clear ground: the outline of its shape and the edges within it where its colours change
// (the digit on a key, the coffee in a cup), so that it reads as a sign rather than a blot;
// where the two would fill much of it, the sign alone, else the outline alone.
QImage SingleColourMark(const QImage &picture, QColor ink);

// A pictogram's picture in the cell of the screen's characters, as a screen of `depth` colours
// shows it: in colour, or on black-and-white and grey screens as a sign in the text's colour.
QImage PictogramOnScreen(const QImage &picture, int cell, QColor text, int depth);

// A horizontal rule as the page writes it (WIDTH in pixels or per cent of the screen, SIZE,
// COLOR, NOSHADE), drawn across at most the screen's width.
QImage RulePicture(QByteArrayView width, QByteArrayView size, QByteArrayView colour, bool noShade,
                   int screenWidth);
