#include "preview/preview_pictures.h"

#include "preview/screen_colours.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <array>

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

namespace {

// The lightness of a pixel drawn on white, 0 to 255.
int lightnessOnWhite(QRgb pixel)
{
    const int alpha = qAlpha(pixel);
    const auto onWhite = [alpha](int premultiplied) { return premultiplied + (255 - alpha); };
    return (onWhite(qRed(pixel)) * 2126 + onWhite(qGreen(pixel)) * 7152 + onWhite(qBlue(pixel)) * 722) / 10000;
}

} // namespace

QImage SingleColourMark(const QImage &picture, QColor ink)
{
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = source.width();
    const int height = source.height();
    const qsizetype area = qsizetype(width) * height;
    const auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && qAlpha(source.pixel(x, y)) >= 128;
    };
    const auto onOutline = [&](int x, int y) {
        return !inside(x + 1, y) || !inside(x - 1, y) || !inside(x, y + 1) || !inside(x, y - 1);
    };
    // The shape's pixels within its outline (whose edge is smoothed into the ground) fall into a
    // lighter and a darker part: Otsu's split of their lightness.
    QList<int> lightness(area, -1);
    std::array<qsizetype, 256> histogram{};
    qsizetype shape = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (inside(x, y)) {
                const int light = lightnessOnWhite(source.pixel(x, y));
                lightness[y * width + x] = light;
                if (onOutline(x, y))
                    continue;
                ++histogram[std::size_t(light)];
                ++shape;
            }
    int split = 0;
    double bestSpread = -1;
    double darkMean = 0;
    double lightMean = 0;
    {
        double total = 0;
        for (int level = 0; level < 256; ++level)
            total += double(level) * double(histogram[std::size_t(level)]);
        double darkSum = 0;
        qsizetype dark = 0;
        for (int level = 0; level < 255; ++level) {
            dark += histogram[std::size_t(level)];
            darkSum += double(level) * double(histogram[std::size_t(level)]);
            const qsizetype light = shape - dark;
            if (dark == 0 || light == 0)
                continue;
            const double meanDark = darkSum / double(dark);
            const double meanLight = (total - darkSum) / double(light);
            const double spread = double(dark) * double(light) * (meanLight - meanDark) * (meanLight - meanDark);
            if (spread > bestSpread) {
                bestSpread = spread;
                split = level;
                darkMean = meanDark;
                lightMean = meanLight;
            }
        }
    }
    // Parts this close in lightness are one colour with its shading, and carry no sign.
    constexpr double partsApart = 40;
    qsizetype darkCount = 0;
    for (int level = 0; level <= split; ++level)
        darkCount += histogram[std::size_t(level)];
    const bool detailed = bestSpread > 0 && lightMean - darkMean >= partsApart;
    const bool darkIsDetail = darkCount * 2 <= shape;
    QList<bool> outline(area, false);
    QList<bool> detail(area, false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int light = lightness[y * width + x];
            if (light < 0)
                continue;
            if (onOutline(x, y)) {
                outline[y * width + x] = true;
                continue;
            }
            // The smaller part is the sign drawn on the shape: the digit on a key, the lines of a letter.
            if (detailed && (light <= split) == darkIsDetail)
                detail[y * width + x] = true;
        }
    const auto count = [](const QList<bool> &marked) { return qsizetype(std::count(marked.begin(), marked.end(), true)); };
    QList<bool> mark(area, false);
    for (qsizetype index = 0; index < area; ++index)
        mark[index] = outline[index] || detail[index];
    // Much past a quarter the mark is a blot again: the sign alone, where there is one (the digit
    // of a key), else the outline.
    if (count(mark) * 10 > area * 3) {
        mark = count(detail) > 0 ? detail : outline;
        // A thin sign (the digit 1) is drawn bold, as the handsets' own pictograms are.
        if (count(detail) > 0 && count(mark) * 10 < area)
            for (int y = 0; y < height; ++y)
                for (int x = width - 1; x > 0; --x)
                    mark[y * width + x] = mark[y * width + x] || detail[y * width + x - 1];
    }
    // A shape without a sign, too small for an outline, is drawn whole.
    if (count(mark) * 10 < area && count(detail) == 0)
        for (qsizetype index = 0; index < area; ++index)
            mark[index] = mark[index] || lightness[index] >= 0;
    QImage drawn(width, height, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    const QRgb solid = ink.rgb() | 0xff000000;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (mark[y * width + x])
                drawn.setPixel(x, y, solid);
    return drawn;
}

QImage PictogramOnScreen(const QImage &picture, int cell, QColor text, int depth)
{
    const QImage inCell = PictureInCell(picture, cell);
    constexpr int greyLevels = 4;
    if (depth <= 0 || depth > greyLevels)
        return inCell;
    return SingleColourMark(inCell, NearestScreenColour(text, depth));
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
