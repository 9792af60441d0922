#include "preview/phone_preview.h"

#include "check/page_check.h"
#include "drawings/fonts.h"
#include "pictures/picture_decoding.h"
#include "preview/screen_colours.h"
#include "text/io_error.h"
#include "text/text_reader.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
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

// The title band's colour, where the screen has it.
const QColor titleBand(210, 220, 235);

// The square cell a character of the handset's font fills, in pixels: a full-width character
// is a cell wide, a half-width one half a cell. The handsets of HTML 1.0 to 3.0 drew a 12-dot
// font whatever their screen; no table says what later models drew, so the wide screens of
// those are taken to draw 16-dot characters and the narrow ones 12-dot, as the first did.
int cellFor(const Handset &handset, int screenWidth)
{
    return handset.htmlVersion > 30 && screenWidth >= 200 ? 16 : 12;
}

// The desktop's gothic a cell high, in dots without smoothing as a handset's font is, spaced
// out to fill the cell's width: it is a little narrower than high. The text engine drops
// fractions of a pixel below a 64th, so the spacing aims a 256th above the cell.
QFont cellFont(int cell)
{
    QFont font = fontWithCellHeight(fixedGothic(), cell, QFont::NoAntialias);
    const qreal halfWidth = QFontMetricsF(font).horizontalAdvance(QLatin1Char('0'));
    font.setLetterSpacing(QFont::PercentageSpacing, 100 * (cell / 2.0 + 1.0 / 256) / halfWidth);
    return font;
}

// Pages run left to right: said once, the engine does not look through a long line for its
// direction at every picture in it. A handset breaks a line at the screen's edge, within a
// word too.
void leftToRight(QTextDocument &document)
{
    QTextOption option = document.defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::WrapAnywhere);
    document.setDefaultTextOption(option);
}

// Puts the pictures of rich text in place of their marks, from `from` on, in one edit.
void putPictures(QTextDocument &document, int from, const QList<InlinePicture> &pictures)
{
    if (pictures.isEmpty())
        return;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    qsizetype next = 0;
    for (QTextBlock block = document.findBlock(from); block.isValid() && next < pictures.size();
         block = block.next()) {
        const QString text = block.text();
        for (int at = std::max(0, from - block.position()); at < text.size() && next < pictures.size();
             ++at) {
            if (text[at] != InlinePictureMark)
                continue;
            const InlinePicture &picture = pictures[next++];
            cursor.setPosition(block.position() + at);
            cursor.setPosition(block.position() + at + 1, QTextCursor::KeepAnchor);
            QTextImageFormat format;
            format.merge(cursor.charFormat()); // the mark's colour, link and blinking
            format.setName(picture.name);
            // A picture stands on the line's foot: a pictogram is no higher than the text
            // beside it, and no line ends with a gap below its picture.
            format.setVerticalAlignment(QTextCharFormat::AlignBottom);
            if (picture.size.isValid()) {
                format.setWidth(picture.size.width());
                format.setHeight(picture.size.height());
            }
            cursor.insertImage(format);
        }
    }
    cursor.endEditBlock();
}

// Puts rich text in at the end of the document.
void append(QTextDocument &document, const RichText &rich)
{
    QTextCursor end(&document);
    end.movePosition(QTextCursor::End);
    if (!document.isEmpty() && rich.newBlock)
        end.insertBlock(QTextBlockFormat(), QTextCharFormat());
    const int from = end.position();
    if (document.isEmpty())
        document.setHtml(rich.text);
    else
        end.insertHtml(rich.text);
    putPictures(document, from, rich.pictures);
}

} // namespace

PhonePreview::PhonePreview()
    : page(std::make_unique<QTextDocument>()), title(std::make_unique<QTextDocument>())
{
}
PhonePreview::~PhonePreview() = default;

std::function<QImage(const QString &)> PicturesInFolder(const QString &folder)
{
    return [folder](const QString &source) -> QImage {
        const QString path = source.isEmpty() ? QString() : PicturePath(folder, source);
        if (path.isEmpty() || !isRegularFile(path))
            return {};
        PictureDecoding decoding;
        decoding.mostPixels = largestPicture;
        try {
            return DecodePicture(readFileBytes(path), decoding).picture;
        } catch (const IoError &) {
            return {}; // shown as a picture that cannot be read
        }
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
    fontHeight = cellFor(handset, screen.width());
    colourDepth = handset.colourDepth;
    const PreviewSetting setting{handset,
                                 screen.width(),
                                 fontHeight,
                                 pictureFolder.isEmpty() ? ImageLookup() : ImagesInFolder(pictureFolder, files),
                                 PicturesInFolder(pictureFolder),
                                 &pictograms,
                                 screen.height()};
    if (sameBesidesTitle(lines, handset, pictureFolder)) {
        const auto titleLine = std::find_if(lines.begin(), lines.end(), [](const PageLine &line) {
            return line.origin.item == LineOrigin::Item::Title;
        });
        if (titleLine != lines.end()) {
            const PreviewMarkup titleOnly = TranslateForPreview({*titleLine}, setting);
            markup.title = titleOnly.title;
            setTitle(titleOnly.pictures);
        }
    } else {
        markup = TranslateForPreview(lines, setting);
        layOut();
        setTitle(markup.pictures);
    }
    shownLines = lines;
    shownHandset = handset.name;
    shownFolder = pictureFolder;
}

std::unique_ptr<QTextDocument> PhonePreview::newDocument(const QHash<QString, QImage> &pictures,
                                                         int margin, const QFont &font) const
{
    auto document = std::make_unique<QTextDocument>();
    // Each document looks up only the pictures it shows, where the translation keeps them.
    document->setResourceProvider(
        [&pictures](const QUrl &name) -> QVariant { return pictures.value(name.toString()); });
    document->setDefaultFont(font);
    document->setDocumentMargin(margin);
    leftToRight(*document);
    return document;
}

void PhonePreview::layOut()
{
    page = newDocument(markup.pictures, 0, cellFont(fontHeight));
    page->setTextWidth(screen.width());
    loadedPieces = 0;
    marquees.clear();
    marquees.resize(std::size_t(markup.marquees.size()));
    marqueeRects.clear();
    blinkRects.clear();
    loadTo(3 * screen.height());
}

void PhonePreview::setTitle(const QHash<QString, QImage> &pictures)
{
    titlePictures = pictures;
    title = newDocument(titlePictures, 0, fontWithCellHeight(proportionalGothic(), 12));
    append(*title, markup.title);
}

// A long page is given to the engine as far as the screen has got: laying out all of it at
// every change would not keep up with the user.
void PhonePreview::loadTo(int height)
{
    if (loadedPieces == markup.pieces.size()
        || (loadedPieces > 0 && pageLength() >= height))
        return;
    while (loadedPieces < markup.pieces.size() && (loadedPieces == 0 || pageLength() < height)) {
        RichText text;
        // A few pieces at once: each insertion has a cost of its own.
        text.newBlock = markup.pieces[loadedPieces].newBlock;
        while (loadedPieces < markup.pieces.size() && text.text.size() < 4000) {
            const RichText &next = markup.pieces[loadedPieces++];
            text.text += next.text;
            text.pictures += next.pictures;
        }
        append(*page, text);
    }
    findMovingText();
}

int PhonePreview::pageLength() const
{
    return int(std::min<qreal>(page->documentLayout()->documentSize().height(),
                               std::numeric_limits<int>::max() / 2));
}

// BLINK text carries the blink marker as its background, and each MARQUEE is a picture of one
// line; where they lie once laid out is kept, to hide the one in every other half second and
// to draw the other where it shows.
void PhonePreview::findMovingText()
{
    blinkRects.clear();
    marqueeRects.clear();
    if (!moves())
        return;
    const QString marqueeName = QStringLiteral("marquee:");
    QAbstractTextDocumentLayout *layout = page->documentLayout();
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        const QPointF origin = layout->blockBoundingRect(block).topLeft();
        const QTextLayout *lines = block.layout();
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextCharFormat format = fragment.fragment().charFormat();
            const QString name = format.isImageFormat() ? format.toImageFormat().name() : QString();
            if (name.startsWith(marqueeName)) {
                const qsizetype index = name.sliced(marqueeName.size()).toLongLong();
                const int at = fragment.fragment().position() - block.position();
                const QTextLine line = lines->lineForTextPosition(at);
                if (index >= 0 && index < markup.marquees.size() && line.isValid())
                    marqueeRects.append(
                        {index, QRectF(origin.x() + line.cursorToX(at), origin.y() + line.y(),
                                       screen.width(), line.height())});
                continue;
            }
            if (format.background().color() != BlinkMarker())
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

// A picture of the whole page stays within about 64 MB, however long the page.
int PhonePreview::longestWholePage() const
{
    constexpr int pixels = 16 * 1024 * 1024;
    return std::max(screen.height(), pixels / (screen.width() + 2 * sideWidth));
}

QRect PhonePreview::screenRect(Extent extent) const
{
    const int height = extent == Extent::WholePage
                           ? std::clamp(pageLength(), screen.height(), longestWholePage())
                           : screen.height();
    return QRect(sideWidth, topHeight + fontHeight + 8, screen.width(), height);
}

// While pieces of the page are still to come, one screen more can always be scrolled to.
int PhonePreview::maximumScroll() const
{
    const int more = loadedPieces < markup.pieces.size() ? screen.height() : 0;
    return std::max(0, pageLength() + more - screen.height());
}

// Only the marquees that show are moved: a page may hold thousands.
void PhonePreview::drawMarquees(int phase, const QRectF &visible)
{
    const int width = screen.width();
    for (const auto &[index, rect] : std::as_const(marqueeRects)) {
        if (!rect.intersects(visible))
            continue;
        std::unique_ptr<QTextDocument> &made = marquees[std::size_t(index)];
        if (!made) {
            made = newDocument(markup.pictures, 0, cellFont(fontHeight));
            append(*made, markup.marquees[index]);
        }
        QTextDocument &marquee = *made;
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
    loadTo(extent == Extent::WholePage ? longestWholePage() + 1 : scroll + 3 * screen.height());
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

    // The title band above the screen, and the page, scrolled, with its blinking text hidden
    // every other half second: both in the colours of the handset's screen.
    const QRect band(display.left(), topHeight, display.width(), fontHeight + 6);
    painter.fillRect(band, NearestScreenColour(titleBand, colourDepth));
    painter.save();
    painter.setClipRect(band);
    painter.translate(band.left() + 2, band.top() + (band.height() - title->size().height()) / 2);
    title->drawContents(&painter);
    painter.restore();

    painter.fillRect(display, markup.background);
    drawMarquees(phase, QRectF(0, scroll, display.width(), display.height()));
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
    if (!ShowsEveryColour(colourDepth))
        for (const QRect &area : {band, display})
            painter.drawImage(area.topLeft(), ScreenColours(picture.copy(area), colourDepth));

    if (extent == Extent::WholePage && pageLength() > display.height()) {
        // The picture ends before the page does.
        const QRect note(display.left(), display.bottom() + 1 - 2 * fontHeight, display.width(), 2 * fontHeight);
        painter.fillRect(note, QColor(255, 240, 240));
        painter.setPen(QColor(0xc0, 0, 0));
        painter.setFont(cellFont(fontHeight));
        painter.drawText(note, Qt::AlignCenter | Qt::TextWordWrap,
                         QStringLiteral("（長いページなので、ここから先は省きました）"));
    }

    // Where the screen is in the page, when the page is longer than the screen: beside the
    // screen, which the page fills to its width.
    const int length = std::max(1, pageLength());
    if (length > display.height()) {
        const int thumb = int(std::max<qint64>(8, qint64(display.height()) * display.height() / length));
        const int top = int(qint64(display.height() - thumb) * std::clamp(scroll, 0, maximumScroll())
                            / std::max(1, maximumScroll()));
        painter.fillRect(QRect(display.right() + 3, display.top() + top, scrollBarWidth, thumb),
                         QColor(150, 152, 162));
    }
    return picture;
}
