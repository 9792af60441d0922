#include "support/preview_pages.h"

#include "check/page_check.h"
#include "drawings/pictogram_pictures.h"
#include "imode/handsets.h"
#include "page/page_project.h"
#include "preview/phone_preview.h"
#include "page/pattern.h"
#include "support/test_files.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

QList<PageLine> pageOf(const QByteArrayList &markup)
{
    PageProject page;
    page.Title = "Shop";
    page.ColorSupport = ToggleOn;
    page.BackgroundColor = "#003300";
    page.TextColor = "#FFFF00";
    page.LinkColor = "#FF0000";
    Pattern pattern;
    for (qsizetype line = 0; line < markup.size(); ++line) {
        page.Directs[std::size_t(line)] = {markup[line], ToggleOn};
        pattern.Parts[std::size_t(line)] = {DirectPart, int(line + 1)};
    }
    pattern.PartCount = int(markup.size());
    return GeneratePageLines(page, pattern, pattern.PartCount, {});
}

QList<PageLine> pageOf(const QByteArray &markup)
{
    return pageOf(QByteArrayList{markup});
}

PreviewMarkup translated(const QByteArray &markup, const QString &handset,
                         const QString &pictureFolder)
{
    static PictogramPictures pictograms;
    PageFiles files;
    return TranslateForPreview(pageOf(markup),
                               {*FindHandset(handset), 120, 12,
                                pictureFolder.isEmpty() ? ImageLookup() : ImagesInFolder(pictureFolder, files),
                                PicturesInFolder(pictureFolder), &pictograms});
}

QByteArray redGif(qsizetype size)
{
    const QByteArray gif = QByteArray::fromHex("474946383961010001008000" "00ff0000000000"
                                               "2c00000000010001000002024401003b");
    return gif + QByteArray(std::max<qsizetype>(0, size - gif.size()), '\0');
}

QByteArray redPicture(const char *format)
{
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return encodedPicture(picture, format);
}

QPointF placeOf(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    const QPointF origin = document.documentLayout()->blockBoundingRect(block).topLeft();
    return origin + QPointF(line.cursorToX(position - block.position()), line.y());
}

int lineCount(const QTextDocument &document)
{
    int lines = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        lines += block.layout()->lineCount();
    return lines;
}

QString colourAt(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y).name();
}
