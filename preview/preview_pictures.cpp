#include "preview/preview_pictures.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

ShownPicture ShownPictureOf(QSize natural, qint64 width, qint64 height, QSize screen)
{
    // Handsets scrolled a picture a few screens long at the most.
    const qint64 tallest = 4 * qint64(std::max(1, screen.height()));
    const bool sized = width > 0 && height > 0;
    const qint64 drawnWidth = std::max<qint64>(1, sized ? width : natural.width());
    const qint64 drawnHeight = sized ? height : natural.height();
    const qint64 shownWidth = std::min<qint64>(drawnWidth, std::max(1, screen.width()));
    const qint64 columns = (qint64(natural.width()) * shownWidth + drawnWidth - 1) / drawnWidth;
    return {QSize(int(shownWidth), int(std::clamp<qint64>(drawnHeight, 1, tallest))),
            int(std::clamp<qint64>(columns, 1, std::max(1, natural.width())))};
}

qint64 PixelsWritten(QByteArrayView value)
{
    bool ok = false;
    const qint64 number = value.trimmed().toLongLong(&ok);
    return ok && number > 0 ? number : 0;
}

QImage BrokenPictureMark(int cell)
{
    QImage mark(cell, cell, QImage::Format_ARGB32_Premultiplied);
    mark.fill(Qt::white);
    QPainter painter(&mark);
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(0, 0, cell - 1, cell - 1);
    painter.setPen(QColor(200, 0, 0));
    painter.drawLine(3, 3, cell - 4, cell - 4);
    painter.drawLine(cell - 4, 3, 3, cell - 4);
    return mark;
}

QImage MissingPictureMark(const QString &source, int fontHeight, int screenWidth)
{
    QFont font = QFont();
    font.setPixelSize(std::max(8, fontHeight - 2));
    const QFontMetrics metrics(font);
    QImage image(std::min(screenWidth, metrics.horizontalAdvance(source) + 8), metrics.height() + 6,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setPen(QColor(150, 150, 150));
    painter.drawRect(image.rect().adjusted(0, 0, -1, -1));
    painter.setFont(font);
    painter.setPen(QColor(90, 90, 90));
    painter.drawText(image.rect(), Qt::AlignCenter, source);
    return image;
}

QImage PictureInCell(const QImage &picture, int cell)
{
    if (picture.size() == QSize(cell, cell))
        return picture;
    const QImage fitted = picture.scaled(cell, cell, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QImage filled(cell, cell, QImage::Format_ARGB32_Premultiplied);
    filled.fill(Qt::transparent);
    QPainter(&filled).drawImage((cell - fitted.width()) / 2, (cell - fitted.height()) / 2, fitted);
    return filled;
}

QImage RulePicture(QByteArrayView width, QByteArrayView size, QByteArrayView colour, bool noShade,
                   int screenWidth)
{
    int length = screenWidth;
    if (width.endsWith('%'))
        length = screenWidth * std::clamp(width.chopped(1).toInt(), 1, 100) / 100;
    else if (width.toInt() > 0)
        length = std::min(screenWidth, width.toInt());
    const int thickness = std::clamp(size.isEmpty() ? 2 : size.toInt(), 1, 40);
    QImage rule(std::max(1, length), thickness + 2, QImage::Format_ARGB32_Premultiplied);
    rule.fill(Qt::transparent);
    QPainter painter(&rule);
    const QColor named = QColor::fromString(QLatin1StringView(colour));
    if (named.isValid() || noShade) {
        painter.fillRect(QRect(0, 1, rule.width(), thickness), named.isValid() ? named : Qt::gray);
    } else {
        painter.fillRect(QRect(0, 1, rule.width(), thickness), QColor(128, 128, 128));
        painter.fillRect(QRect(1, thickness, rule.width() - 1, 1), QColor(230, 230, 230));
    }
    return rule;
}
