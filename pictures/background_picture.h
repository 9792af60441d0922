#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// The background picture "bg.jpg" of the program folder: only its top-left part that a label of
// size `visible` shows at the picture's own scale is decoded, so the result is at most
// `visible` in each direction. A null image when there is none, or when it is broken, cut
// short or would cost too much to decode. A file that cannot be read throws IoError.
QImage BackgroundPicture(const QString &programFolder, QSize visible);
