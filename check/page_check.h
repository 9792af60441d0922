#pragma once

#include "check/findings.h"
#include "check/image_facts.h"
#include "check/page_files.h"
#include "imode/handsets.h"
#include "page/page_as_written.h"
#include "page/page_generator.h"
#include "text/sjis.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct PageProject;
struct PageLocation;
struct Pattern;

// Finds the picture file that an IMG SRC of the page names; nothing when there is none.
using ImageLookup = std::function<std::optional<ImageFile>(const QString &source)>;

// The picture files below `folder`, where the page is saved.
ImageLookup ImagesInFolder(const QString &folder, PageFiles &files);

struct PageCheckInput {
    QList<PageLine> lines; // the page as GeneratePageLines makes it
    const PageProject &project;
    const Pattern &pattern;
    int partCount = 0;
    BodyFileReading body;
    ImageLookup images;         // null when the folder of the page is not known yet
    Handset handset;
};

struct PageCheckResult {
    QList<Finding> findings; // worst first, and in the order of the page within each severity
    qint64 pageBytes = 0;  // the page itself, lines and line ends
    qint64 imageBytes = 0; // every picture file it shows, each once
    qint64 limitBytes = 0;
    int imagesNotCounted = 0; // pictures of the site whose files were not found, or not looked for

    qint64 totalBytes() const { return pageBytes + imageBytes; }
    bool hasErrors() const;
};

// What the handset makes of the page: its size against the handset's limit, markup the
// handset does not know or that is not closed, characters it shows otherwise, pictures it
// cannot show, links that lead nowhere, and items the user filled but left unused.
PageCheckResult CheckPage(const PageCheckInput &input);

// Checks the page as "HTML保存" would write it now: the first `partCount` parts of the pattern,
// with the body read from its file and the pictures looked for where PageAsWrittenNow says.
PageCheckResult CheckPageOf(const PageProject &page, const PageLocation &location,
                            const Pattern &pattern, int partCount, const Handset &handset);

// A page's size and its handset's limit as they are said: in kilobytes of 1,000 bytes, the size
// with one decimal ("3.2", "5", "KB"), or
// in bytes where a tenth of a kilobyte cannot tell them apart ("5,001", "5,000", "バイト"), so
// that a page over its limit never reads "5.0 KB" against "5 KB".
struct SizeTexts {
    QString size;
    QString limit;
    QString unit;
};
SizeTexts SizeAgainstLimit(qint64 bytes, qint64 limitBytes);
