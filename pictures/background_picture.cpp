#include "pictures/background_picture.h"

#include "pictures/picture_decoding.h"
#include "text/text_reader.h"

QImage BackgroundPicture(const QString &programFolder, QSize visible)
{
    const QString path = programFolder + QStringLiteral("bg.jpg");
    if (!isRegularFile(path) || visible.isEmpty())
        return {};
    PictureDecoding decoding;
    decoding.corner = visible;
    return DecodePicture(readFileBytes(path), decoding).picture;
}
