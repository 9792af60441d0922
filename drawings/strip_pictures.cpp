#include "drawings/strip_pictures.h"

#include "drawings/fonts.h"
#include "page/pattern.h"

#include <QFontMetrics>
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

QFont letteringFont(int pixelSize)
{
    QFont font(proportionalGothic());
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// All strips share one size and one baseline, with lettering that fits in rows 2 to 17 and a
// pixel to spare for the smoothing; each is centred across. The fit is judged from the glyphs'
// outlines, so nothing is drawn twice.
void drawLabelStrips(StripPictures &strips)
{
    constexpr int letteringHeight = letteringBottom - letteringTop + 1;
    // On one baseline the labels together reach as high and as low as all of them in one
    // line: a size is judged by that one line first, and only a size whose height fits
    // measures each label, for its width and its place.
    QString allLabels;
    for (int index = 0; index < separatorStrip; ++index)
        allLabels += QString::fromUtf8(labels[index].text);
    const auto heightFits = [&](const QFont &font) {
        return QFontMetrics(font).tightBoundingRect(allLabels).height() <= letteringHeight - 1;
    };
    std::array<QRect, separatorStrip> outlines;
    QRect allOutlines;
    const auto measure = [&](const QFont &font) {
        const QFontMetrics metrics(font);
        allOutlines = QRect();
        for (int index = 0; index < separatorStrip; ++index) {
            outlines[index] = metrics.tightBoundingRect(QString::fromUtf8(labels[index].text));
            allOutlines |= outlines[index];
        }
        return allOutlines.height() <= letteringHeight - 1 && allOutlines.width() <= StripWidth - 2;
    };
    // The size whose cell is as high as the strip's lettering; smaller only for a font whose
    // glyphs would not fit, down to the smallest, which is taken as it is.
    constexpr int smallestSize = 5;
    int pixelSize = letteringHeight + 1;
    QFont font = letteringFont(pixelSize);
    while (pixelSize > smallestSize && !(heightFits(font) && measure(font)))
        font = letteringFont(--pixelSize);
    if (pixelSize == smallestSize)
        measure(font);
    const int baseline = letteringTop + (letteringHeight - allOutlines.height()) / 2
        - allOutlines.top();
    for (int index = 0; index < separatorStrip; ++index) {
        QImage strip = whiteStrip();
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(labels[index].colour);
        const QRect &outline = outlines[index];
        painter.drawText((StripWidth - outline.width()) / 2 - outline.left(), baseline,
                         QString::fromUtf8(labels[index].text));
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
