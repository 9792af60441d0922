#pragma once

#include "check/findings.h"
#include "check/image_facts.h"
#include "check/page_files.h"
#include "generator/page_as_written.h"
#include "generator/page_generator.h"
#include "model/handsets.h"
#include "model/sjis.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

struct PageProject;
struct WorkingState;
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
    QList<Finding> findings;
    qint64 pageBytes = 0;  // the page itself, lines and line ends
    qint64 imageBytes = 0; // every picture file it shows, each once
    qint64 limitBytes = 0;

    qint64 totalBytes() const { return pageBytes + imageBytes; }
    bool hasErrors() const;
};

// What the handset makes of the page: its size against the handset's limit, markup the
// handset does not know or that is not closed, characters it shows otherwise, pictures it
// cannot show, links that lead nowhere, and items the user filled but left unused.
PageCheckResult CheckPage(const PageCheckInput &input);

// Checks the page as "HTML保存" would write it now: the first `partCount` parts of the pattern,
// with the body read from its file and the pictures looked for where PageAsWrittenNow says.
PageCheckResult CheckPageOf(const PageProject &page, const WorkingState &state,
                            const Pattern &pattern, int partCount, const Handset &handset);

// "3.2 KB": bytes in kilobytes of 1,000 bytes, with one decimal.
QString KilobytesText(qint64 bytes);
