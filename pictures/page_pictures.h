#pragma once

#include "imode/handsets.h"
#include "page/page_generator.h"
#include "pictures/picture_fitting.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

// A picture of the page's own site, once however many lines name it.
struct PagePicture {
    QString source;            // as the page names it
    QList<LineOrigin> origins; // the items whose lines name it, in the order of the page
    QString path;              // the file the page names; empty while the page has no folder

    // Whether every item naming it names its pictures itself, so that a picture made for the
    // phone can take its place under a new name (not the body file, which the window leaves
    // as it is).
    bool renamable() const;
};

// The pictures of the page's own site its lines show, each once, in the order of the page,
// with their files in `pictureFolder`.
QList<PagePicture> PagePictures(const QList<PageLine> &lines, const QString &pictureFolder);

// A picture fitted together with the other pictures of its page.
struct PictureToFit {
    QByteArray original; // the file it is made from
    bool convert = true; // else it is left as it is, and its `keptBytes` are counted
    qint64 keptBytes = 0;
};

struct PicturesFitted {
    QList<qint64> budgets;       // for each picture; 0 for one left as it is
    QList<FittedPicture> fitted; // for each picture; empty for one left as it is
    bool stopped = false;        // `goOn` said no before every picture was made
};

// Each picture to convert fitted for `handset` within what the page's own bytes and the
// pictures left as they are leave of `limitBytes`, shared by the pictures' areas on the
// screen, over the page's background `matte`; the room a picture leaves unused then goes to those that filled theirs or did not
// fit, which are made once more. `goOn`, asked before each picture is made with how many were
// made and how many are to be, stops the work when it says no.
PicturesFitted FitPicturesTogether(const QList<PictureToFit> &pictures, qint64 limitBytes,
                                   qint64 pageBytes, const Handset &handset, const QColor &matte,
                                   const std::function<bool(int done, int all)> &goOn = {});
