#pragma once

#include "page/page_generator.h"
#include "preview/preview_markup.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>

class QTextDocument;

// Pages and pictures for the tests of the phone preview, and readings of what it drew.

// The page of a direct input for each of `markup`'s lines, with the page's colours on.
QList<PageLine> pageOf(const QByteArrayList &markup);

QList<PageLine> pageOf(const QByteArray &markup);

PreviewMarkup translated(const QByteArray &markup, const QString &handset,
                         const QString &pictureFolder = {});

// A GIF of one red pixel, followed by `size` bytes in all.
QByteArray redGif(qsizetype size = 0);

// A red picture in the format Qt writes by that name.
QByteArray redPicture(const char *format);

// Where the character at `position` of the laid-out document is drawn: the left of it and the
// top of its line.
QPointF placeOf(const QTextDocument &document, int position);

// The lines of the laid-out document, as the screen shows them.
int lineCount(const QTextDocument &document);

// The colour of the pixel, as "#rrggbb".
QString colourAt(const QImage &image, int x, int y);
