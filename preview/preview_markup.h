#pragma once

#include "check/page_files.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "preview/rich_text.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class PictogramPictures;

// A page as the phone preview draws it: its body as rich text for Qt's text engine, in the
// small HTML that engine reads, with the pictures that text names. The rich text comes in
// pieces that each close what they open and start with text or a picture, so that a long page
// can be given to the engine a piece at a time, as far as the screen has got: the engine puts
// a piece's first line into the block it has last, or, where the piece says so, into a new one.
struct PreviewMarkup {
    RichText title;
    QList<RichText> pieces;
    QColor background = Qt::white;
    QColor text = Qt::black;
    QColor link = Qt::blue;
    QHash<QString, QImage> pictures; // by the name the rich text gives them
    QList<RichText> marquees;        // the rich text of each MARQUEE, which "marquee:N" shows
    bool blinks = false;             // BLINK text carries BlinkMarker() as its background
    bool cutShort = false;           // the page is past the handset's limit and was cut there

    QString html() const;
};

// The background BLINK text carries in the rich text: fully transparent, so it changes nothing
// of the text's look, and found again after the layout.
inline QColor BlinkMarker() { return QColor(1, 2, 3, 0); }

// What the preview needs to know besides the page: the handset, the width and the character
// cell of its screen, the picture files the page names (their sizes and headers, nothing for
// one that is missing; and the pictures themselves, a null image for one that cannot be
// read), where pictograms are drawn, and the height of the screen.
struct PreviewSetting {
    Handset handset;
    int screenWidth = 120;
    int fontHeight = 12;
    std::function<std::optional<ImageFile>(const QString &source)> findPicture;
    std::function<QImage(const QString &source)> loadPicture;
    PictogramPictures *pictograms = nullptr;
    int screenHeight = 130;
};

// Translates the page's lines, as GeneratePageLines makes them, into what the preview draws.
// Tags and attributes the handset's HTML version does not know are left out, as the handset
// ignores them; pictograms become pictures in whichever form the page holds them, unless the
// handset would not show them; references read as the handset reads them. A picture in a
// format the handset does not show, or that cannot be read, is its ALT text or else a small
// broken-picture mark, as the handset draws it; a picture wider than the screen is cut at the
// screen's right edge, as the handset cannot scroll sideways; a missing picture is a framed
// placeholder with its name. Past the handset's page limit, counted as the page check counts
// it (the page and each picture file it shows, once), the page is cut, as the handset cannot
// take the rest.
PreviewMarkup TranslateForPreview(const QList<PageLine> &lines, const PreviewSetting &setting);
