#pragma once

#include <QByteArray>
#include <QImage>

// The bytes of a GIF file of `picture`, which must be Format_Indexed8 with at most 256
// colours in its colour table. Only the colours its pixels use are written, in the table's
// order, in a table of the next power of two. A colour used whose alpha is 0 becomes the
// transparent colour: the file is then GIF89a, else GIF87a, the form every handset reads. Empty
// for a picture that is null, of another format, or that the encoder refuses.
QByteArray WriteGif(const QImage &picture);

// The colours the GIF of `picture` holds: those its pixels use, the transparent one included;
// 0 for a picture WriteGif does not write.
int ColoursInGif(const QImage &picture);
