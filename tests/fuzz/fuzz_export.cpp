// A page made for a phone and written into a folder that already holds files, links to files
// outside it, pipes and folders under the names the export would use: nothing outside the folder
// changes, nothing it was made from changes, a file is replaced only when replacing was asked
// for and it was a regular file, and a failed export leaves the folder as it was.
#include "pictures/page_export.h"
#include "fuzz_inputs.h"
#include "imode/handsets.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "pictures/gif_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

// What a folder holds: each entry's kind and bytes or link target.
QMap<QString, QByteArray> folderHolds(const QString &path)
{
    QMap<QString, QByteArray> holds;
    for (const QFileInfo &entry : QDir(path).entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        QByteArray what = "other";
        if (entry.isSymLink()) {
            what = "link " + QFile::encodeName(entry.symLinkTarget());
        } else if (entry.isDir()) {
            what = "folder";
        } else if (entry.isFile()) {
            QFile file(entry.filePath());
            if (file.open(QIODevice::ReadOnly))
                what = "file " + file.readAll();
        }
        holds.insert(entry.fileName(), what);
    }
    return holds;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// The pictures and the body a page may name, made once.
const QMap<QString, QByteArray> &sources()
{
    static const QMap<QString, QByteArray> files = [] {
        QMap<QString, QByteArray> made;
        QImage picture(30, 20, QImage::Format_Indexed8);
        picture.setColorTable({qRgb(0, 100, 0), qRgb(255, 255, 255)});
        picture.fill(0);
        made.insert(QStringLiteral("a.gif"), WriteGif(picture));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        require(picture.save(&buffer, "PNG"));
        made.insert(QStringLiteral("b.png"), png);
        made.insert(QStringLiteral("body.txt"), "<IMG SRC=\"a.gif\">\r\n");
        return made;
    }();
    return files;
}

// The names an export of "page" may write, and one it never does.
const QStringList names{"page.html", "page.mpk", "a.gif", "a.jpg", "b.gif", "b.jpg", "a-2.gif",
                        "body.txt", "body-2.txt", "page-2.html", "other.txt"};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    sources();
    return 0;
}

// The first byte chooses the handset and whether to replace; then pairs of bytes plant an entry
// of a kind under a name in the folder written into, up to a byte 0xFF; the rest is a direct
// input of the page.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    static const QStringList handsets{"501i", "503i", "505i", "900i"};
    const Handset handset = *FindHandset(handsets[data[0] % handsets.size()]);
    const ExistingFiles existing = data[0] & 0x80 ? ExistingFiles::Replaced : ExistingFiles::Kept;

    QTemporaryDir root;
    const QString project = root.filePath(QStringLiteral("project"));
    const QString out = root.filePath(QStringLiteral("out"));
    const QString outside = root.filePath(QStringLiteral("outside.txt"));
    require(QDir().mkpath(project) && QDir().mkpath(out));
    writeFile(outside, "outside");
    for (auto file = sources().begin(); file != sources().end(); ++file)
        writeFile(QDir(project).filePath(file.key()), file.value());

    std::size_t at = 1;
    for (; at + 1 < size && data[at] != 0xFF; at += 2) {
        const QString path = QDir(out).filePath(names[data[at + 1] % names.size()]);
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            continue;
        switch (data[at] % 6) {
        case 0:
            writeFile(path, "there before");
            break;
        case 1:
            QFile::link(outside, path);
            break;
        case 2:
            QFile::link(QDir(project).filePath(QStringLiteral("a.gif")), path);
            break;
        case 3:
            mkfifo(QFile::encodeName(path).constData(), 0600);
            break;
        case 4:
            QDir().mkdir(path);
            break;
        default:
            // A hard link to a source: another name for the same file.
            ::link(QFile::encodeName(QDir(project).filePath(QStringLiteral("body.txt"))).constData(),
                   QFile::encodeName(path).constData());
            break;
        }
    }
    const QByteArray markup = at < size ? fileBytes(data + at + 1, size - std::min(size, at + 1)) : QByteArray();

    PageProject page;
    page.Title = "T";
    page.Images[0] = {"a.gif", {}, ToggleOn, ToggleOff, ToggleOff};
    page.Directs[0] = {markup, ToggleOn};
    page.BodyFile = StoredPath{"body.txt", {}};
    page.BodyUsed = ToggleOn;
    Pattern pattern;
    pattern.Parts[0] = {ImagePart, 1};
    pattern.Parts[1] = {BodyPart, 0};
    pattern.Parts[2] = {DirectPart, 1};
    pattern.PartCount = 3;
    PageLocation location;
    location.ProjectFolder = project;

    const auto projectBefore = folderHolds(project);
    const auto outBefore = folderHolds(out);
    const auto rootBefore = folderHolds(root.path());
    PageExport exported = ExportPage(page, location, pattern, pattern.PartCount, handset, QStringLiteral("page"));
    if (!exported.made())
        return 0;
    bool written = true;
    try {
        WritePageExport(exported, out, existing);
    } catch (const UserError &) {
        written = false;
    }
    require(folderHolds(project) == projectBefore);
    require(folderHolds(root.path()) == rootBefore);
    const auto outAfter = folderHolds(out);
    if (!written) {
        require(outAfter == outBefore);
        return 0;
    }
    for (auto before = outBefore.begin(); before != outBefore.end(); ++before) {
        if (outAfter.value(before.key()) == before.value())
            continue;
        require(existing == ExistingFiles::Replaced && before.value().startsWith("file "));
    }
    return 0;
}
