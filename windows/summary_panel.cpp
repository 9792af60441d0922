#include "windows/summary_panel.h"

#include "drawings/fonts.h"
#include "drawings/pictogram_pictures.h"
#include "page/page_project.h"
#include "text/sjis.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <map>

namespace {

const QColor panelGrey(230, 230, 230);
const QColor markBlue(0, 0, 255);

// Draws texts with an opaque grey cell, lines without their end point.
class SummaryCanvas {
public:
    explicit SummaryCanvas(QImage &image) : painter(&image)
    {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(image.rect(), panelGrey);
    }

    void text(int x, int y, const QString &text, int cellHeight, const QColor &colour = Qt::black)
    {
        const QFont &font = fontOfHeight(cellHeight);
        const QFontMetrics metrics(font);
        const QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
        painter.fillRect(cell, panelGrey);
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }

    // A page text, its pictograms drawn as pictures in either form it writes them.
    void text(int x, int y, const QByteArray &stored, int cellHeight)
    {
        const QList<ShownRun> runs = ShownPictogramRuns(stored);
        if (std::none_of(runs.begin(), runs.end(), [](const ShownRun &run) { return run.pictogram; })) {
            text(x, y, sjis::toUnicode(stored), cellHeight);
            return;
        }
        const QFont &font = fontOfHeight(cellHeight);
        const QRect cell(x, y, pictures.width(runs, font), QFontMetrics(font).height());
        painter.fillRect(cell, panelGrey);
        painter.setFont(font);
        painter.setPen(Qt::black);
        pictures.draw(painter, {x, y}, runs);
    }

    void horizontalLine(int x1, int x2, int y)
    {
        painter.setPen(Qt::black);
        painter.drawLine(x1, y, x2 - 1, y);
    }

    void verticalLine(int x, int y1, int y2)
    {
        painter.setPen(Qt::black);
        painter.drawLine(x, y1, x, y2 - 1);
    }

private:
    // Crisp lettering, as the panel's fixed-pixel table is drawn; each height is sized once.
    const QFont &fontOfHeight(int cellHeight)
    {
        auto found = fonts.find(cellHeight);
        if (found == fonts.end()) {
            found = fonts.emplace(cellHeight, fontWithCellHeight(proportionalGothic(), cellHeight,
                                                                 QFont::NoAntialias))
                        .first;
        }
        return found->second;
    }

    QPainter painter;
    std::map<int, QFont> fonts;
    PictogramPictures pictures;
};

struct PageHeader {
    const char *title;
    const char *next;
};

const PageHeader headers[SummaryPageCount] = {
    {"リンク１～５", "→ リンク６～１０"},
    {"リンク６～１０", "→ テキスト１～５"},
    {"テキスト１～５", "→ 画像1,2 文章"},
    {"画像１,２ 文章", "→  リンク１～５"},
};

const QString usedMark = QStringLiteral("○");

void drawLegend(SummaryCanvas &canvas)
{
    canvas.text(0, 205, QStringLiteral("○ - 使用する"), 12);
    canvas.text(80, 205, QStringLiteral("Ｃ - 中央"), 12);
    canvas.text(140, 205, QStringLiteral("Ｍ - メール"), 12);
    canvas.text(210, 205, QStringLiteral("数字 - アクセスキー"), 12);
}

void drawLinks(SummaryCanvas &canvas, const PageProject &page, int firstSlot)
{
    const std::array<int, LinkSlotCount> accessKeys = summaryAccessKeys(page);
    for (int k = 1; k <= 5; ++k) {
        canvas.horizontalLine(60, SummaryWidth, 36 * k);
        canvas.horizontalLine(0, SummaryWidth, 36 * k + 18);
    }
    for (int x : {60, 80, 100})
        canvas.verticalLine(x, 18, 198);
    for (int k = 1; k <= 5; ++k) {
        const int slot = firstSlot + k - 1;
        const LinkSlot &link = page.Links[slot - 1];
        const int row = 36 * k;
        canvas.text(8, row - 8, QStringLiteral("リンク%1").arg(slot), 15);
        if (isOn(link.LinkUsed))
            canvas.text(64, row - 16, usedMark, 15);
        if (accessKeys[slot - 1] >= 0)
            canvas.text(88, row - 16, QString::number(accessKeys[slot - 1]), 15);
        canvas.text(105, row - 16, link.LinkCaption, 15);
        canvas.text(105, row + 2, link.LinkTarget, 15);
        if (isOn(link.LinkMail))
            canvas.text(64, row + 2, QStringLiteral("M"), 15);
        if (isOn(link.LinkCentered))
            canvas.text(88, row + 2, QStringLiteral("C"), 15);
    }
}

void drawTexts(SummaryCanvas &canvas, const PageProject &page)
{
    for (int k = 1; k <= TextSlotCount; ++k)
        canvas.horizontalLine(0, SummaryWidth, 36 * k + 18);
    for (int x : {60, 80})
        canvas.verticalLine(x, 18, 198);
    for (int k = 1; k <= TextSlotCount; ++k) {
        const TextSlot &text = page.Texts[k - 1];
        canvas.text(2, 36 * k - 8, QStringLiteral("テキスト %1").arg(k), 13);
        if (isOn(text.TextUsed))
            canvas.text(64, 36 * k - 8, usedMark, 15, markBlue);
        canvas.text(88, 36 * k - 8, text.TextContent, 12);
    }
}

void drawImagesAndBody(SummaryCanvas &canvas, const PageProject &page)
{
    for (int y : {54, 90, 126})
        canvas.horizontalLine(0, SummaryWidth, y);
    for (int x : {60, 80})
        canvas.verticalLine(x, 18, 126);
    for (int k = 1; k <= ImageSlotCount; ++k) {
        const ImageSlot &image = page.Images[k - 1];
        canvas.text(8, 36 * k - 8, QStringLiteral("画像%1").arg(k), 15);
        if (isOn(image.ImageUsed))
            canvas.text(64, 36 * k - 8, usedMark, 15, markBlue);
        canvas.text(88, 36 * k - 8, image.ImageUrl, 15);
    }
    canvas.text(8, 100, QStringLiteral("文章"), 15);
    if (isOn(page.BodyUsed))
        canvas.text(64, 100, usedMark, 15, markBlue);
    canvas.text(88, 100, page.BodyFile.shown(), 15);
}

} // namespace

std::array<int, 10> summaryAccessKeys(const PageProject &page)
{
    std::array<int, LinkSlotCount> numbers;
    int count = 0;
    for (int slot = 0; slot < LinkSlotCount; ++slot) {
        const LinkSlot &link = page.Links[slot];
        const bool takesKey = isOn(link.LinkAccessKey) && isOn(link.LinkUsed);
        numbers[slot] = takesKey ? ++count % 10 : -1;
    }
    return numbers;
}

QImage DrawSummaryPage(const PageProject &page, int pageNumber)
{
    QImage image(SummaryWidth, SummaryHeight, QImage::Format_RGB32);
    SummaryCanvas canvas(image);
    drawLegend(canvas);
    if (pageNumber < 1 || pageNumber > SummaryPageCount)
        return image;
    const PageHeader &header = headers[pageNumber - 1];
    canvas.text(4, 3, QString::fromUtf8(header.title), 12);
    canvas.text(255, 3, QString::fromUtf8(header.next), 12);
    canvas.horizontalLine(0, SummaryWidth, 18);
    switch (pageNumber) {
    case 1:
        drawLinks(canvas, page, 1);
        break;
    case 2:
        drawLinks(canvas, page, 6);
        break;
    case 3:
        drawTexts(canvas, page);
        break;
    default:
        drawImagesAndBody(canvas, page);
        break;
    }
    return image;
}
