#pragma once

#include <QByteArray>
#include <QImage>

// The bytes of a GIF file of `picture`, which must be Format_Indexed8 with at most 256
// colours in its colour table. A colour whose alpha is 0 becomes the transparent colour: the
// file is then GIF89a, else GIF87a, the form every handset reads. Empty for a picture that is
// null, of another format, or that the encoder refuses.
QByteArray WriteGif(const QImage &picture);
