#pragma once

#include "page/body_text.h"
#include "page/page_generator.h"
#include "text/io_error.h"
#include "text/sjis.h"
#include "text/text_reader.h"

#include <QList>
#include <QString>

#include <optional>

struct PageProject;
struct PageLocation;
struct Pattern;

// What became of the body text file when the page was made.
struct BodyFileReading {
    enum class State { NotUsed, Missing, Unreadable, Read };

    State state = State::NotUsed;
    QString reason; // why an unreadable file cannot be read
    sjis::TextEncoding encoding = sjis::TextEncoding::Ascii;
    qsizetype strayBytes = 0; // bytes of a UTF-8 file that start no character
};

// The body text file, kept while it stays as it was: the page is made again at every
// keystroke, and a file that has not changed is not opened again.
class BodyFiles {
public:
    // The body text at `path`, read again only when the file changed. Throws IoError as
    // ReadBodyText does.
    BodyText body(const QString &path);

private:
    QString bodyPath;
    FileStamp bodyStamp;
    BodyText bodyText;
};

// The page as "HTML保存" writes it now: the first `partCount` parts of the pattern, with the
// body read from its file (a relative path against the project's folder), each line with the
// item it comes from, and the folder the page's pictures are looked for in (PictureFolder).
struct PageNow {
    QList<PageLine> lines;
    QList<QByteArray> bodyLines; // as the page took them
    BodyFileReading body;
    // The failure of a body file that is there and could not be read: "HTML保存" stops with
    // it, the check tells it. A body file that is not there is a page without its body.
    std::optional<IoError> bodyError;
    QString pictureFolder; // empty while no folder of the page is known

    // The page's bytes, as they are written to the file.
    QByteArray bytes() const;
};
// The bytes of the page's lines, as they are written to the file: each line and its CR LF.
QByteArray PageBytes(const QList<PageLine> &lines);

PageNow PageAsWrittenNow(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                         int partCount, BodyFiles &files);
