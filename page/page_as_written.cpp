#include "page/page_as_written.h"

#include "page/page_project.h"
#include "text/text_writer.h"

#include <QFileInfo>

BodyText BodyFiles::body(const QString &path)
{
    const std::optional<FileStamp> stamp = regularFileStamp(path);
    if (stamp && path == bodyPath && *stamp == bodyStamp)
        return bodyText;
    bodyPath.clear();
    BodyText read = ReadBodyText(path);
    if (stamp) {
        bodyPath = path;
        bodyStamp = *stamp;
        bodyText = read;
    }
    return read;
}

QByteArray PageNow::bytes() const
{
    return PageBytes(lines);
}

QByteArray PageBytes(const QList<PageLine> &lines)
{
    TextWriter writer;
    qsizetype size = 0;
    for (const PageLine &line : lines)
        size += line.text.size() + 2;
    writer.reserve(size);
    for (const PageLine &line : lines)
        writer.writeLine(line.text);
    return writer.bytes();
}

namespace {

// The body's lines as the page takes them, and what became of its file. A body that cannot be
// read is, to the page, a body that is not there.
void readBody(const PageProject &page, const PageLocation &location, BodyFiles &files, PageNow &now)
{
    using State = BodyFileReading::State;
    if (!isOn(page.BodyUsed))
        return;
    const QString path = BodyFileOnDisk(page, location);
    if (!isRegularFile(path)) {
        // A folder, a pipe or a device in the file's place is refused as readFileBytes does.
        if (QFileInfo::exists(path))
            now.body = {State::Unreadable, messageFor(IoError::Kind::AccessDenied), {}, 0};
        else
            now.body.state = State::Missing;
        return;
    }
    try {
        BodyText body = files.body(path);
        now.body = {State::Read, {}, body.encoding, body.strayBytes};
        now.bodyLines = std::move(body.lines);
    } catch (const IoError &error) {
        now.body.state =
            error.kind() == IoError::Kind::NotFound ? State::Missing : State::Unreadable;
        now.body.reason = error.message().section(QLatin1Char('\n'), 0, 0);
        now.bodyError = error;
    }
}

} // namespace

PageNow PageAsWrittenNow(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                         int partCount, BodyFiles &files)
{
    PageNow now;
    readBody(page, location, files, now);
    now.lines = GeneratePageLines(page, pattern, partCount, now.bodyLines);
    now.pictureFolder = PictureFolder(page, location);
    return now;
}
