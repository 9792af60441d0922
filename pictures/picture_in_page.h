#pragma once

#include "check/findings.h"
#include "check/page_files.h"
#include "imode/handsets.h"
#include "page/page_generator.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

struct PageProject;
struct Pattern;
struct PageLocation;

// The pictures of the page's own site that its lines show (IMG SRC), each once, in the order of
// the page; pictures of other sites are left out.
QStringList LocalPictureSources(const QList<PageLine> &lines);

// The line of the page with every IMG SRC that `names` holds (as the page names it) changed to
// its new name; nothing else is touched. The line is read as the check reads a line of the
// page: a direct input is one such line, whatever line breaks it holds.
QByteArray RenamePictureSources(const QByteArray &line, const QHash<QString, QString> &names);

// The name a picture made from `source` is written under beside the page: the source's file
// name with `extension`. A name a server may not serve as it is (other than half-width
// letters, digits, "-", "_" and ".") keeps only those; "picture" when none is left.
QString PhonePictureName(const QString &source, const QString &extension);

// The image item's address with its picture renamed as `names` says, read as the page writes
// it into its tag.
QByteArray RenameImageUrl(const QByteArray &url, const QHash<QString, QString> &names);

// Whether the item a line comes from names its pictures itself, so that a picture fitted for
// the phone can be put in their place: an image item, or a direct input.
bool CanPutPictureInto(const LineOrigin &origin);

// Puts the picture file `name` where the item at `origin` names `source`: an image item's
// address becomes the name, a direct input's IMG SRC of `source` is renamed; any other item is
// left as it is.
void PutPictureIntoPage(PageProject &page, const LineOrigin &origin, const QString &source,
                        const QString &name);

// What the picture may take when the item at `origin` shows it as `name` in place of `source`:
// the handset's limit less the page and every other picture of its own site. Nothing when the
// page and the other pictures reach the limit already.
qint64 PictureBudgetInPage(const PageProject &page, const PageLocation &location,
                           const Pattern &pattern, const Handset &handset,
                           const LineOrigin &origin, const QString &source, const QString &name,
                           PageFiles &files);

// The page's background colour, which shows through a picture's transparent pixels: white
// where the page sets no colours or sets one that is no colour.
QColor PageBackground(const PageProject &page);

// Whether the finding is of a picture the phone does not show as it is (its format, its width)
// that an item names itself, so that "携帯向けに変換" can mend it.
bool OffersPictureFitting(const Finding &finding);
