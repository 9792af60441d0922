// How writing a page and opening a project grow with the size of what they read. One case a
// run, so that the peak memory printed is the case's own:
//   bench_scale body-lines COUNT | body-line MEGABYTES | project KILOBYTES_PER_TEXT
// prints: bytes read, milliseconds (median of the repetitions), peak memory in KiB.

#include "page/body_text.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/project_file.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

QByteArray bodyOfLines(int count)
{
    const QByteArray line = sjis::fromUnicode(QStringLiteral("　本文の一行です。ようこそ"));
    QByteArray bytes;
    bytes.reserve(count * (line.size() + 2));
    for (int k = 0; k < count; ++k)
        bytes += line + "\r\n";
    return bytes;
}

// Writes the page of a pattern with the body and every other part, from the body file.
void writePage(const QString &bodyPath, const QString &pagePath)
{
    PageProject page;
    page.BodyUsed = ToggleOn;
    Pattern pattern;
    pattern.Parts[0] = {BodyPart, 0};
    pattern.Parts[1] = {SeparatorPart, 0};
    pattern.PartCount = 2;
    saveFileBytes(pagePath, GeneratePageBytes(page, pattern, 2, ReadBodyLines(bodyPath)));
}

PageProject projectOfTexts(int kilobytes)
{
    const QByteArray text(kilobytes * 1024, 'a');
    PageProject page;
    page.Title = text;
    for (ImageSlot &image : page.Images)
        image.ImageUrl = image.ImageLinkUrl = text;
    for (TextSlot &slot : page.Texts)
        slot.TextContent = text;
    for (LinkSlot &link : page.Links)
        link.LinkCaption = link.LinkTarget = text;
    for (DirectSlot &direct : page.Directs)
        direct.DirectMarkup = text;
    return page;
}

// One line of `megabytes`, written a megabyte at a time so that making it costs no memory.
void writeLongLine(const QString &path, int megabytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(1);
    const QByteArray megabyte(1024 * 1024, 'x');
    for (int written = 0; written < megabytes; ++written)
        file.write(megabyte);
    file.write("\r\n");
}

long peakKibibytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_scale body-lines|body-line|project SIZE\n");
        return 2;
    }
    const int size = std::atoi(argv[2]);
    QTemporaryDir folder;
    const QString input = folder.filePath(QStringLiteral("input"));
    const QString output = folder.filePath(QStringLiteral("output"));
    std::function<void()> run;
    if (std::strcmp(argv[1], "body-lines") == 0) {
        saveFileBytes(input, bodyOfLines(size));
        run = [&] { writePage(input, output); };
    } else if (std::strcmp(argv[1], "body-line") == 0) {
        writeLongLine(input, size);
        run = [&] { writePage(input, output); };
    } else {
        saveFileBytes(input, WriteProject(projectOfTexts(size)));
        run = [&] {
            PageProject page;
            page = *ReadProject(readFileBytes(input), page);
        };
    }
    std::vector<double> milliseconds;
    for (int repetition = 0; repetition < 7; ++repetition) {
        QElapsedTimer timer;
        timer.start();
        run();
        milliseconds.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%lld %.3f %ld\n", static_cast<long long>(QFileInfo(input).size()),
                milliseconds[milliseconds.size() / 2], peakKibibytes());
    return 0;
}
