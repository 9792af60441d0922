#pragma once

#include <QByteArray>
#include <QImage>

// Decodes JPEG bytes with libjpeg. A broken or unsupported picture gives a null image.
QImage decodeJpeg(const QByteArray &bytes);
