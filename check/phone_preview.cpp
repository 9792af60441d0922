#include "check/phone_preview.h"

#include "model/fonts.h"
#include "model/text_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <limits>

namespace {

// The parts of the phone around its screen, in pixels.
constexpr int sideWidth = 18;
constexpr int topHeight = 26;    // the earpiece
constexpr int bottomHeight = 64; // the keys
constexpr int scrollBarWidth = 3;

// A picture past this many pixels is no picture of an i-mode page; it is not decoded.
constexpr qint64 largestPicture = 4 * 1024 * 1024;

// Handsets drew 12-dot characters; the wide screens of later ones, 16-dot characters.
int fontHeightFor(int screenWidth)
{
    return screenWidth >= 200 ? 16 : 12;
}

void addPictures(QTextDocument &document, const QHash<QString, QImage> &pictures)
{
    for (auto picture = pictures.begin(); picture != pictures.end(); ++picture)
        document.addResource(QTextDocument::ImageResource, QUrl(picture.key()), picture.value());
}

} // namespace

PhonePreview::PhonePreview() : page(std::make_unique<QTextDocument>()) {}
PhonePreview::~PhonePreview() = default;

std::function<QImage(const QString &)> PicturesInFolder(const QString &folder, int screenWidth)
{
    return [folder, screenWidth](const QString &source) -> QImage {
        if (folder.isEmpty() || source.isEmpty() || source.contains(QLatin1String("://")))
            return {};
        const QString path = QDir(folder).filePath(QDir::cleanPath(source));
        if (!isRegularFile(path))
            return {};
        QImageReader reader(path);
        const QSize size = reader.size();
        if (!size.isValid() || qint64(size.width()) * size.height() > largestPicture)
            return {};
        if (size.width() > screenWidth)
            reader.setScaledSize(size.scaled(screenWidth, size.height(), Qt::KeepAspectRatio));
        return reader.read();
    };
}

bool PhonePreview::sameBesidesTitle(const QList<PageLine> &lines, const Handset &handset,
                                    const QString &pictureFolder) const
{
    if (shownLines.isEmpty() || handset.name != shownHandset || pictureFolder != shownFolder
        || lines.size() != shownLines.size())
        return false;
    for (qsizetype index = 0; index < lines.size(); ++index)
        if (lines[index].origin.item != LineOrigin::Item::Title
            && (lines[index].text != shownLines[index].text
                || !(lines[index].origin == shownLines[index].origin)))
            return false;
    return true;
}

void PhonePreview::setPage(const QList<PageLine> &lines, const Handset &handset,
                           const QString &pictureFolder)
{
    screen = handset.screenWidth > 0 ? QSize(handset.screenWidth, handset.screenHeight)
                                     : QSize(120, 130);
    fontHeight = fontHeightFor(screen.width());
    const PreviewSetting setting{handset, screen.width() - scrollBarWidth, fontHeight,
                                 PicturesInFolder(pictureFolder, screen.width() - scrollBarWidth),
                                 &pictograms};
    if (sameBesidesTitle(lines, handset, pictureFolder)) {
        const auto titleLine = std::find_if(lines.begin(), lines.end(), [](const PageLine &line) {
            return line.origin.item == LineOrigin::Item::Title;
        });
        if (titleLine != lines.end()) {
            const PreviewMarkup titleOnly = TranslateForPreview({*titleLine}, setting);
            markup.title = titleOnly.title;
            setTitle(titleOnly);
        }
    } else {
        markup = TranslateForPreview(lines, setting);
        layOut(markup);
        setTitle(markup);
    }
    shownLines = lines;
    shownHandset = handset.name;
    shownFolder = pictureFolder;
}

void PhonePreview::layOut(const PreviewMarkup &translated)
{
    const QFont font = fontWithCellHeight(fixedGothic(), fontHeight);
    page = std::make_unique<QTextDocument>();
    page->setDefaultFont(font);
    page->setDocumentMargin(1);
    page->setTextWidth(screen.width() - scrollBarWidth);
    addPictures(*page, translated.pictures);
    loadedPieces = 0;
    loadTo(3 * screen.height());

    marquees.clear();
    for (const QString &text : translated.marquees) {
        auto document = std::make_unique<QTextDocument>();
        document->setDefaultFont(font);
        document->setDocumentMargin(0);
        addPictures(*document, translated.pictures);
        document->setHtml(text);
        marquees.push_back(std::move(document));
    }
}

void PhonePreview::setTitle(const PreviewMarkup &translated)
{
    title.clear();
    title.setDefaultFont(fontWithCellHeight(proportionalGothic(), 12));
    title.setDocumentMargin(0);
    addPictures(title, translated.pictures);
    title.setHtml(translated.title);
}

// A long page is given to the engine as far as the screen has got: laying out all of it at
// every change would not keep up with the user.
void PhonePreview::loadTo(int height)
{
    if (loadedPieces == markup.pieces.size())
        return;
    QTextCursor end(page.get());
    end.movePosition(QTextCursor::End);
    while (loadedPieces < markup.pieces.size()
           && (loadedPieces == 0 || page->documentLayout()->documentSize().height() < height)) {
        QString text;
        // A few pieces at once: each insertion has a cost of its own.
        while (loadedPieces < markup.pieces.size() && text.size() < 4000)
            text += markup.pieces[loadedPieces++];
        if (page->isEmpty())
            page->setHtml(text);
        else
            end.insertHtml(text);
        end.movePosition(QTextCursor::End);
    }
    findBlinkingText();
}

// BLINK text carries the blink marker as its background; where it lies once laid out is kept,
// to be hidden in every other half second.
void PhonePreview::findBlinkingText()
{
    blinkRects.clear();
    if (!markup.blinks)
        return;
    QAbstractTextDocumentLayout *layout = page->documentLayout();
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const QPointF origin = layout->blockBoundingRect(block).topLeft();
        const QTextLayout *lines = block.layout();
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().background().color() != BlinkMarker())
                continue;
            const int start = fragment.fragment().position() - block.position();
            const int end = start + fragment.fragment().length();
            for (int index = 0; index < lines->lineCount(); ++index) {
                const QTextLine line = lines->lineAt(index);
                const int from = std::max(start, line.textStart());
                const int to = std::min(end, line.textStart() + line.textLength());
                if (from >= to)
                    continue;
                const qreal left = line.cursorToX(from);
                blinkRects.append(QRectF(origin.x() + left, origin.y() + line.y(),
                                         line.cursorToX(to) - left, line.height()));
            }
        }
    }
}

QRect PhonePreview::screenRect(Extent extent) const
{
    const int pageLength = int(page->documentLayout()->documentSize().height());
    const int height = extent == Extent::WholePage ? std::max(screen.height(), pageLength)
                                                   : screen.height();
    return QRect(sideWidth, topHeight + fontHeight + 8, screen.width(), height);
}

// While pieces of the page are still to come, one screen more can always be scrolled to.
int PhonePreview::maximumScroll() const
{
    const int more = loadedPieces < markup.pieces.size() ? screen.height() : 0;
    return std::max(0, int(page->documentLayout()->documentSize().height()) + more - screen.height());
}

void PhonePreview::drawMarquees(int phase)
{
    const int width = screen.width() - scrollBarWidth;
    for (std::size_t index = 0; index < marquees.size(); ++index) {
        QTextDocument &marquee = *marquees[index];
        const int textWidth = int(marquee.idealWidth());
        const int travel = width + textWidth;
        QImage line(width, fontHeight + 4, QImage::Format_ARGB32_Premultiplied);
        line.fill(Qt::transparent);
        QPainter painter(&line);
        // The text starts at the left edge, leaves to the left and comes in again from the right.
        painter.translate(width - (phase * 3 + width) % std::max(1, travel), 2);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, markup.text);
        context.palette.setColor(QPalette::Link, markup.link);
        marquee.documentLayout()->draw(&painter, context);
        painter.end();
        page->addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("marquee:%1").arg(index)),
                          line);
    }
}

QImage PhonePreview::draw(int scroll, int phase, Extent extent)
{
    loadTo(extent == Extent::WholePage ? std::numeric_limits<int>::max()
                                       : scroll + 3 * screen.height());
    const QRect display = screenRect(extent);
    const QSize whole(display.width() + 2 * sideWidth, display.bottom() + 1 + bottomHeight);
    QImage picture(whole, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);

    // The body of the phone, the earpiece and a few keys.
    painter.setPen(QColor(40, 40, 48));
    painter.setBrush(QColor(70, 72, 84));
    painter.drawRoundedRect(QRectF(picture.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 16, 16);
    painter.setBrush(QColor(30, 30, 36));
    painter.drawRoundedRect(QRectF(whole.width() / 2.0 - 18, 9, 36, 5), 2, 2);
    painter.setBrush(QColor(150, 152, 162));
    const int keyTop = display.bottom() + 12;
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            painter.drawRoundedRect(QRectF(whole.width() / 2.0 - 45 + column * 32, keyTop + row * 22, 26,
                                           16),
                                    6, 6);
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The title band above the screen.
    const QRect band(display.left(), topHeight, display.width(), fontHeight + 6);
    painter.fillRect(band, QColor(210, 220, 235));
    painter.save();
    painter.setClipRect(band);
    painter.translate(band.left() + 2, band.top() + (band.height() - title.size().height()) / 2);
    title.drawContents(&painter);
    painter.restore();

    // The page, scrolled, with its blinking text hidden every other half second.
    painter.fillRect(display, markup.background);
    drawMarquees(phase);
    painter.save();
    painter.setClipRect(display);
    painter.translate(display.left(), display.top() - scroll);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, markup.text);
    context.palette.setColor(QPalette::Link, markup.link);
    context.clip = QRectF(0, scroll, display.width(), display.height());
    page->documentLayout()->draw(&painter, context);
    if ((phase / 5) % 2 == 1)
        for (const QRectF &rect : blinkRects)
            painter.fillRect(rect, markup.background);
    painter.restore();

    // Where the screen is in the page, when the page is longer than the screen.
    const int length = std::max(1, int(page->documentLayout()->documentSize().height()));
    if (length > display.height()) {
        const int thumb = std::max(8, display.height() * display.height() / length);
        const int top = (display.height() - thumb) * scroll / std::max(1, maximumScroll());
        painter.fillRect(QRect(display.right() - scrollBarWidth + 1, display.top() + top, scrollBarWidth,
                               thumb),
                         QColor(120, 120, 120));
    }
    return picture;
}
