#include "model/strip_pictures.h"

#include "model/fonts.h"
#include "model/pattern.h"

#include <QPainter>

namespace {

struct StripLabel {
    const char *text;
    QColor colour;
};

const QColor bodyColour(0, 0, 0);
const QColor imageColour(255, 144, 144);
const QColor linkColour(128, 128, 255);
const QColor directColour(255, 160, 255);

// Strip index 0 to 20; 21 is the separator bar.
const StripLabel labels[StripCount - 1] = {
    {"文章", bodyColour},          {"画像 1", imageColour},       {"画像 2", imageColour},
    {"テキスト 1", bodyColour},    {"テキスト 2", bodyColour},    {"テキスト 3", bodyColour},
    {"テキスト 4", bodyColour},    {"テキスト 5", bodyColour},    {"リンク 1", linkColour},
    {"リンク 2", linkColour},      {"リンク 3", linkColour},      {"リンク 4", linkColour},
    {"リンク 5", linkColour},      {"リンク 6", linkColour},      {"リンク 7", linkColour},
    {"リンク 8", linkColour},      {"リンク 9", linkColour},      {"リンク 10", linkColour},
    {"直接入力 1", directColour}, {"直接入力 2", directColour}, {"直接入力 3", directColour},
};

const int offsets[StripCount] = {0, 2, 1, -2, -1, -1, -2, 0, -1, 0, -2,
                                 -2, 0, -2, 2, 0, 1, 0, -1, 0, 0, 0};

constexpr int separatorStrip = 21;
constexpr int letteringTop = 2;
constexpr int letteringBottom = 17;

QImage whiteStrip()
{
    QImage strip(StripWidth, StripHeight, QImage::Format_RGB32);
    strip.fill(Qt::white);
    return strip;
}

// The lettering drawn smoothed on a transparent ground, and the rectangle its pixels cover.
QImage lettering(const StripLabel &label, int pixelSize, QRect &covered)
{
    QImage picture(StripWidth + 40, 2 * StripHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QFont font(proportionalGothic());
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(label.colour);
    painter.drawText(QRect(QPoint(0, 0), picture.size()), Qt::AlignCenter,
                     QString::fromUtf8(label.text));
    painter.end();
    covered = QRect();
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) > 0)
                covered |= QRect(x, y, 1, 1);
    return picture;
}

// All strips share one size and one baseline, the largest whose lettering fits in rows 2 to
// 17; each is centred across.
void drawLabelStrips(StripPictures &strips)
{
    constexpr int letteringHeight = letteringBottom - letteringTop + 1;
    std::array<QImage, separatorStrip> pictures;
    std::array<QRect, separatorStrip> covers;
    QRect allCovered;
    for (int pixelSize = letteringHeight + 4; pixelSize > 4; --pixelSize) {
        allCovered = QRect();
        for (int index = 0; index < separatorStrip; ++index) {
            pictures[index] = lettering(labels[index], pixelSize, covers[index]);
            allCovered |= covers[index];
        }
        if (allCovered.height() <= letteringHeight && allCovered.width() <= StripWidth)
            break;
    }
    const int top = letteringTop + (letteringHeight - allCovered.height()) / 2;
    for (int index = 0; index < separatorStrip; ++index) {
        const QRect &covered = covers[index];
        QImage strip = whiteStrip();
        QPainter painter(&strip);
        painter.drawImage(QPoint((StripWidth - covered.width()) / 2,
                                 top + covered.top() - allCovered.top()),
                          pictures[index], covered);
        strips[index] = strip;
    }
}

QImage separatorStripPicture()
{
    QImage strip = whiteStrip();
    QPainter painter(&strip);
    painter.fillRect(QRect(QPoint(9, 8), QPoint(160, 10)), QColor(128, 128, 128));
    return strip;
}

} // namespace

StripPictures makeStripPictures()
{
    StripPictures strips;
    drawLabelStrips(strips);
    strips[separatorStrip] = separatorStripPicture();
    return strips;
}

int stripIndexFor(const PatternPart &part)
{
    const auto inRange = [&](int count) { return part.PartSlot >= 1 && part.PartSlot <= count; };
    switch (part.PartCode) {
    case BodyPart:
        return 0;
    case ImagePart:
        return inRange(2) ? part.PartSlot : -1;
    case TextPart:
        return inRange(5) ? 2 + part.PartSlot : -1;
    case LinkPart:
        return inRange(10) ? 7 + part.PartSlot : -1;
    case DirectPart:
        return inRange(3) ? 17 + part.PartSlot : -1;
    case SeparatorPart:
        return separatorStrip;
    default:
        return -1;
    }
}

int stripOffset(int stripIndex)
{
    return stripIndex >= 0 && stripIndex < StripCount ? offsets[stripIndex] : 0;
}
