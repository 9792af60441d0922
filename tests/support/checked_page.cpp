#include "support/checked_page.h"

#include "imode/handsets.h"
#include "page/pattern.h"
#include "support/test_files.h"
#include "text/sjis.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

QByteArray gifHeader(int width)
{
    QByteArray gif("GIF89a");
    gif.append(char(width & 0xFF)).append(char(width >> 8)).append("\x10\0", 2);
    return gif + QByteArray(300, '\0');
}

QByteArray encoded(const char *format)
{
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::red);
    return encodedPicture(picture, format);
}

Setup text(const QByteArray &content)
{
    return [content](CheckedPage &page) { page.project.Texts[0] = {content, ToggleOn}; };
}

Setup direct(const QByteArray &markup)
{
    return [markup](CheckedPage &page) {
        page.project.Directs[0] = {markup, ToggleOn};
        page.parts = {{5, 1}};
    };
}

Setup image(const QByteArray &bytes)
{
    return [bytes](CheckedPage &page) {
        page.project.Images[0] = {"top.gif", {}, ToggleOn, ToggleOff, ToggleOff};
        page.parts = {{2, 1}};
        if (!bytes.isEmpty())
            page.images.append({QStringLiteral("top.gif"), bytes});
    };
}

Setup linkedImage(const QByteArray &target)
{
    return [target](CheckedPage &page) {
        page.project.Images[0] = {"top.gif", target, ToggleOn, ToggleOn, ToggleOff};
        page.parts = {{2, 1}};
        page.images.append({QStringLiteral("top.gif"), gifHeader(40)});
    };
}

Setup link(const QByteArray &target, Toggle mail)
{
    return [target, mail](CheckedPage &page) {
        page.project.Links[3] = {"Top", target, ToggleOn, mail, ToggleOff, ToggleOff};
        page.parts = {{4, 4}};
    };
}

Setup accessKeyLinks(int count)
{
    return [count](CheckedPage &page) {
        page.parts.clear();
        for (int n = 0; n < count; ++n) {
            page.project.Links[n % 10] = {"L", "l.html", ToggleOn, ToggleOff, ToggleOff, ToggleOn};
            page.parts.append({4, n % 10 + 1});
        }
    };
}

Setup withDirect(const Setup &setup, const QByteArray &key)
{
    return [setup, key](CheckedPage &page) {
        setup(page);
        page.project.Directs[0] = {"<A HREF=\"x.html\" " + key + ">x</A>", ToggleOn};
        page.parts.append({5, 1});
    };
}

Setup body(const QList<QByteArray> &lines,
           BodyFileReading::State file)
{
    return [lines, file](CheckedPage &page) {
        page.project.BodyUsed = ToggleOn;
        page.project.BodyFile = {"body.txt", {}};
        page.body = lines;
        page.bodyFile = file;
        page.parts = {{1, 0}};
    };
}

QList<Finding> check(const Setup &setup, const QString &handsetName)
{
    CheckedPage page;
    setup(page);
    Pattern pattern;
    for (const auto &[code, slot] : page.parts)
        pattern.Parts[std::size_t(pattern.PartCount++)] = {code, slot};
    QTemporaryDir folder;
    for (const auto &[name, bytes] : page.images)
        writeBytes(folder.filePath(name), bytes);
    PageFiles files;
    const PageCheckInput input{GeneratePageLines(page.project, pattern, pattern.PartCount, page.body),
                               page.project,
                               pattern,
                               pattern.PartCount,
                               BodyFileReading{page.bodyFile, {}, sjis::TextEncoding::Ascii, 0},
                               page.folderKnown ? ImagesInFolder(folder.path(), files) : ImageLookup(),
                               *FindHandset(handsetName)};
    return CheckPage(input).findings;
}

QString line(const Finding &finding)
{
    return SeverityText(finding.severity) + ": " + ItemName(finding) + ": " + finding.message;
}

QStringList lines(const QList<Finding> &findings)
{
    QStringList all;
    for (const Finding &finding : findings)
        all << line(finding);
    return all;
}
