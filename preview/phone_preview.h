#pragma once

#include "check/page_files.h"
#include "drawings/pictogram_pictures.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "preview/preview_markup.h"

#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QTextDocument>

#include <memory>
#include <utility>

// The phone preview of a page: the page laid out by Qt's text engine at the width of the
// handset's screen, in characters of the handset's cell, drawn in the colours of its screen
// inside a phone-shaped frame, with the page's title in the band above the screen.
class PhonePreview {
public:
    PhonePreview();
    ~PhonePreview();
    PhonePreview(const PhonePreview &) = delete;
    PhonePreview &operator=(const PhonePreview &) = delete;

    // Lays the page out again, for the handset. Pictures are looked for in `pictureFolder`;
    // an empty folder shows every picture as missing. When only the title changed, as while
    // the user types it, only the title is made again.
    void setPage(const QList<PageLine> &lines, const Handset &handset, const QString &pictureFolder);

    // The phone, its screen scrolled down by `scroll` pixels, at `phase` of the moving text:
    // a phase is a tenth of a second; BLINK text shows for half a second and hides for half a
    // second, MARQUEE text moves left three pixels a phase.
    // With Extent::WholePage the screen is as long as the page, up to longestWholePage(), so
    // that one picture shows it all; a longer page ends there with a note.
    enum class Extent { Screen, WholePage };
    QImage draw(int scroll, int phase, Extent extent = Extent::Screen);
    int longestWholePage() const;

    QSize screenSize() const { return screen; }
    // The side of the square a character of the handset's font takes.
    int characterCell() const { return fontHeight; }
    // Where the screen lies in the picture draw() makes.
    QRect screenRect(Extent extent = Extent::Screen) const;
    int maximumScroll() const;
    bool moves() const { return markup.blinks || !markup.marquees.isEmpty(); }
    const PreviewMarkup &translated() const { return markup; }
    // The page as laid out so far, at the screen's width.
    const QTextDocument &document() const { return *page; }

private:
    void layOut();
    // Gives the engine further pieces of the page until it reaches `height` pixels, or all.
    void loadTo(int height);
    void setTitle(const QHash<QString, QImage> &pictures);
    // A document of the preview, drawing the pictures it names from `pictures`.
    std::unique_ptr<QTextDocument> newDocument(const QHash<QString, QImage> &pictures, int margin,
                                               const QFont &font) const;
    void findMovingText();
    void drawMarquees(int phase, const QRectF &visible);
    int pageLength() const;
    bool sameBesidesTitle(const QList<PageLine> &lines, const Handset &handset,
                          const QString &pictureFolder) const;

    PictogramPictures pictograms;
    PageFiles files; // the picture files' sizes and headers, read again only when they change
    // A page laid out once is made anew rather than changed: a change to a laid-out document
    // lays it out again piece by piece.
    std::unique_ptr<QTextDocument> page;
    std::unique_ptr<QTextDocument> title;
    QHash<QString, QImage> titlePictures;
    // Each MARQUEE's text, made when it first shows, and where it lies in the laid-out page.
    std::vector<std::unique_ptr<QTextDocument>> marquees;
    QList<std::pair<qsizetype, QRectF>> marqueeRects;
    PreviewMarkup markup;
    QSize screen{120, 130};
    int fontHeight = 12; // the cell of the handset's characters
    int colourDepth = 0;
    qsizetype loadedPieces = 0;
    QList<QRectF> blinkRects; // where BLINK text lies in the laid-out page
    QList<PageLine> shownLines;
    QString shownHandset;
    QString shownFolder;
};

// The picture files of a page below `folder`; a null image for one that is missing, unreadable
// or past a sane size.
std::function<QImage(const QString &source)> PicturesInFolder(const QString &folder);
