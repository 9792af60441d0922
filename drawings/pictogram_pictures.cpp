#include "drawings/pictogram_pictures.h"

#include "drawings/fonts.h"
#include "imode/pictograms.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QTextDocument>
#include <QUrl>

namespace {

// The colour emoji font of the desktop, asked for by name: left to fallback, the pictograms
// whose equivalents read as text by default (☀ ☔) would come out black from the text font.
const QString emojiFamily = QStringLiteral("Noto Color Emoji");

QImage blank(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A keypad key: the digit or "#" in white on a blue square, as the keys of a handset show.
QImage key(const QString &label, int height)
{
    QImage image = blank(height, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 110, 210));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 0.5, height - 1, height - 1), height / 5.0, height / 5.0);
    QFont font = fontWithCellHeight(fixedGothic(), std::max(6, height - 2));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(image.rect(), Qt::AlignCenter, label);
    return image;
}

// A mark without an equivalent: its label, small, in a rounded frame.
QImage badge(const QString &label, int height)
{
    const QFont font = fontWithCellHeight(proportionalGothic(), std::max(6, height * 2 / 3));
    const int width = std::max(height, QFontMetrics(font).horizontalAdvance(label) + 4);
    QImage image = blank(width, height);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(200, 40, 80));
    painter.setBrush(QColor(255, 235, 240));
    painter.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), 3, 3);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, label);
    return image;
}

QImage emoji(const QString &text, int height)
{
    QFont font(emojiFamily);
    font.setPixelSize(height);
    QImage image = blank(QFontMetrics(font).horizontalAdvance(text), height);
    if (image.isNull())
        return blank(height, height);
    QPainter painter(&image);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, text);
    return image;
}

} // namespace

QImage PictogramPictures::picture(const Pictogram &pictogram, int height)
{
    const std::uint32_t key = std::uint32_t(pictogram.code) << 16 | std::uint32_t(height & 0xFFFF);
    if (const auto found = drawn.constFind(key); found != drawn.constEnd())
        return *found;
    QImage image;
    if (pictogram.presentation == QLatin1String("keycap-seq"))
        image = ::key(pictogram.unicode.left(1), height);
    else if (pictogram.unicode.isEmpty())
        image = badge(QString(pictogram.fallback).remove(QLatin1Char('[')).remove(QLatin1Char(']')),
                      height);
    else
        image = emoji(pictogram.unicode, height);
    drawn.insert(key, image);
    return image;
}

QTextImageFormat PictogramPictures::inlinePicture(QTextDocument &document,
                                                 const Pictogram &pictogram, int height)
{
    const QImage image = picture(pictogram, height);
    const QString name = QStringLiteral("pictogram:%1/%2").arg(pictogram.code).arg(height);
    document.addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat format;
    format.setName(name);
    format.setWidth(image.width());
    format.setHeight(image.height());
    format.setVerticalAlignment(QTextCharFormat::AlignBaseline);
    return format;
}

int PictogramPictures::width(const QList<ShownRun> &runs, const QFont &font)
{
    const QFontMetrics metrics(font);
    int total = 0;
    for (const ShownRun &run : runs)
        total += run.pictogram ? picture(*run.pictogram, metrics.height()).width()
                               : metrics.horizontalAdvance(run.text);
    return total;
}

void PictogramPictures::draw(QPainter &painter, QPoint at, const QList<ShownRun> &runs)
{
    const QFontMetrics metrics(painter.font());
    for (const ShownRun &run : runs) {
        if (run.pictogram) {
            const QImage image = picture(*run.pictogram, metrics.height());
            painter.drawImage(at, image);
            at.rx() += image.width();
        } else {
            painter.drawText(QRect(at, QSize(metrics.horizontalAdvance(run.text), metrics.height())),
                             Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, run.text);
            at.rx() += metrics.horizontalAdvance(run.text);
        }
    }
}
