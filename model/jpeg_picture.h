#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes, with libjpeg, the top-left part of a JPEG picture that a label of size `visible`
// shows at the picture's own scale: the result is at most `visible` in each direction. A
// broken, unsupported or oversized picture gives a null image.
QImage decodeJpeg(const QByteArray &bytes, QSize visible);

// The background picture "bg.jpg" of the program folder, as decodeJpeg gives it; a null image
// when there is none. A file that cannot be read throws IoError.
QImage BackgroundPicture(const QString &programFolder, QSize visible);
