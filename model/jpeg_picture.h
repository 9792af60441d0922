#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Decodes, with libjpeg, the top-left part of a JPEG picture that a label of size `visible`
// shows at the picture's own scale: the result is at most `visible` in each direction. A
// broken, unsupported or oversized picture gives a null image.
QImage decodeJpeg(const QByteArray &bytes, QSize visible);
