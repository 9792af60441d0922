#pragma once

#include "imode/handsets.h"
#include "page/page_as_written.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "pictures/picture_fitting.h"
#include "pictures/picture_in_page.h"
#include "text/folder_writing.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

struct Pattern;

// A picture of the page, made for the handset.
struct ExportedPicture {
    QString source; // as the page names it
    QString path;   // the file it was read from
    qint64 sourceBytes = 0;
    QString name; // as it is written beside the page, and named by the page
    FittedPicture fitted;
};

// A page made for one handset: the page naming its pictures as they are written beside it,
// the pictures, and a copy of the project that makes that page.
struct PageExport {
    QString pageName;    // as the page is written
    QString projectName; // as the copy of the project is written
    QByteArray page;
    PageProject project;
    QString bodyName;  // the body text file the copy names, written beside it; empty without
    QByteArray body;
    QList<ExportedPicture> pictures;
    QStringList readFrom; // the files it was made from, never to be written over
    qint64 pageBytes = 0;
    qint64 limitBytes = 0;
    // Why the page cannot be made to fit and show every picture; then nothing is to be written.
    QStringList problems;

    qint64 totalBytes() const;
    bool made() const { return problems.isEmpty(); }
};

// The page of the project as "HTML保存" would write it, with every picture of its own site
// fitted for `handset` within what the page leaves of the handset's limit, shared by area.
// Pictures are read from the page's picture folder; the body file is taken as the page read it,
// in Shift-JIS. The page is named `name` with ".html", the copy of the project with ".mpk"
// (shortened where the name is too long for a file); no two files of the export have the same
// name, whatever their sources were called.
PageExport ExportPage(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                      int partCount, const Handset &handset, const QString &name);

// Writes the whole export into `folder` (made when missing), or nothing of it: the page, the
// pictures, the body file and the copy of the project. A file of the same name there stops it
// (NamesTaken) unless `existing` is Replaced; a file the export was made from is never written
// over. Throws IoError naming the file that could not be written.
void WritePageExport(const PageExport &exported, const QString &folder, ExistingFiles existing);

// Throws what WritePageExport would throw for a name or a file in the way, writing nothing.
void CheckPageExport(const PageExport &exported, const QString &folder, ExistingFiles existing);

// `wanted`, or the first of "name-2.ext", "name-3.ext", … that `taken` lacks (without regard
// to case, as the desktops the page is uploaded from), which then takes it; a picture's name
// takes each of `extensions` (else its own), so that it may become either.
QString UnusedFileName(const QString &wanted, QSet<QString> &taken, const QStringList &extensions = {});
