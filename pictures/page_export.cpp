#include "pictures/page_export.h"

#include "check/image_facts.h"
#include "imode/pictogram_text.h"
#include "page/body_text.h"
#include "page/project_file.h"
#include "pictures/page_pictures.h"
#include "text/folder_writing.h"
#include "text/io_error.h"
#include "text/sjis.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace {

// The text file with the pictures of each of its lines renamed, as the page takes its lines.
QByteArray renamedInLines(const QByteArray &text, const QHash<QString, QString> &names)
{
    QByteArray renamed;
    renamed.reserve(text.size());
    for (qsizetype lineStart = 0; lineStart < text.size();) {
        const qsizetype lineFeed = text.indexOf('\n', lineStart);
        const qsizetype lineEnd = lineFeed < 0 ? text.size() : lineFeed + 1;
        renamed += RenamePictureSources(text.mid(lineStart, lineEnd - lineStart), names);
        lineStart = lineEnd;
    }
    return renamed;
}


// The picture files the page names, read from the picture folder, with a problem for each
// that cannot be read.
QList<QByteArray> readPictures(QList<ExportedPicture> &pictures, const QString &folder,
                               QStringList &problems)
{
    QList<QByteArray> sources;
    for (ExportedPicture &picture : pictures) {
        picture.path = PicturePath(folder, picture.source);
        QByteArray bytes;
        try {
            if (picture.path.isEmpty() && !folder.isEmpty()) {
                QString shown = picture.source;
                for (QChar &c : shown)
                    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
                        c = QChar::ReplacementCharacter;
                problems << QStringLiteral("画像ファイルの名前「%1」に使えない文字（制御文字）があります。")
                                .arg(shown);
                sources.append(QByteArray());
                continue;
            }
            if (picture.path.isEmpty())
                throw IoError(IoError::Kind::NotFound);
            bytes = readFileBytes(picture.path);
        } catch (const IoError &error) {
            problems << QStringLiteral("画像ファイル「%1」が読めません（%2）。")
                            .arg(picture.source, error.reason());
        }
        picture.sourceBytes = bytes.size();
        sources.append(bytes);
    }
    return sources;
}

// A file name a project file can keep as it is, or `otherwise`.
QString keptName(const QString &name, const QString &otherwise)
{
    return sjis::toUnicode(sjis::fromUnicode(name)) == name ? name : otherwise;
}

} // namespace

qint64 PageExport::totalBytes() const
{
    qint64 total = pageBytes;
    for (const ExportedPicture &picture : pictures)
        total += picture.fitted.bytes.size();
    return total;
}

PageExport ExportPage(const PageProject &page, const PageLocation &location, const Pattern &pattern,
                      int partCount, const Handset &handset, const QString &name)
{
    PageExport exported;
    QSet<QString> taken;
    exported.pageName = UnusedFileName(name + QStringLiteral(".html"), taken, {QStringLiteral("html"), QStringLiteral("mpk")});
    exported.projectName = QFileInfo(exported.pageName).completeBaseName() + QStringLiteral(".mpk");
    exported.project = page;
    exported.limitBytes = handset.pageLimitBytes();
    BodyFiles files;
    const PageNow now = PageAsWrittenNow(page, location, pattern, partCount, files);
    if (now.bodyError)
        exported.problems << QStringLiteral("本文のファイルが読めません（%1）。").arg(now.bodyError->explained());

    QList<ExportedPicture> pictures;
    for (const QString &source : LocalPictureSources(now.lines))
        pictures.append({source, {}, 0, {}, {}});
    const QList<QByteArray> sources = readPictures(pictures, now.pictureFolder, exported.problems);
    for (const ExportedPicture &picture : pictures)
        exported.readFrom << picture.path;
    QHash<QString, QString> names;
    for (ExportedPicture &picture : pictures) {
        // "gif" and "jpg" are as long, so the page's size is known before the pictures are made.
        picture.name = UnusedFileName(PhonePictureName(picture.source, QStringLiteral("gif")), taken,
                                  {QStringLiteral("gif"), QStringLiteral("jpg")});
        names.insert(picture.source, picture.name);
    }

    // The body goes beside the copy, in Shift-JIS as the page took it, naming the new pictures.
    QByteArray body;
    if (now.body.state == BodyFileReading::State::Read) {
        try {
            const QString path = BodyFileOnDisk(page, location);
            body = sjis::convertTextFile(readFileBytes(path), TypedTextBytes).shiftJis;
            exported.bodyName =
                UnusedFileName(keptName(QFileInfo(path).fileName(), QStringLiteral("body.txt")), taken);
            exported.readFrom << path;
        } catch (const IoError &error) {
            exported.problems << QStringLiteral("本文のファイルが読めません（%1）。").arg(error.explained());
        }
    }

    const auto make = [&] {
        PageProject &copy = exported.project;
        for (std::size_t slot = 0; slot < copy.Images.size(); ++slot)
            copy.Images[slot].ImageUrl = RenameImageUrl(page.Images[slot].ImageUrl, names);
        for (std::size_t slot = 0; slot < copy.Directs.size(); ++slot)
            copy.Directs[slot].DirectMarkup =
                RenamePictureSources(page.Directs[slot].DirectMarkup, names);
        QList<QByteArray> bodyLines = now.bodyLines;
        if (!exported.bodyName.isEmpty()) {
            exported.body = renamedInLines(body, names);
            copy.BodyFile = StoredPath{sjis::fromUnicode(exported.bodyName), {}};
            bodyLines = MarkBodyLines(exported.body);
        }
        const QList<PageLine> lines = GeneratePageLines(copy, pattern, partCount, bodyLines);
        exported.page = PageBytes(lines);
        exported.pageBytes = exported.page.size();
        return lines;
    };
    make();
    if (!exported.problems.isEmpty()) {
        exported.pictures = pictures;
        return exported;
    }

    if (exported.pageBytes >= exported.limitBytes && !pictures.isEmpty())
        exported.problems << QStringLiteral("ページの文字だけで %1 バイトあり、%2の %3 バイトに"
                                            "画像の入る余地がありません。")
                                 .arg(exported.pageBytes)
                                 .arg(handset.name)
                                 .arg(exported.limitBytes);
    if (exported.problems.isEmpty()) {
        QList<PictureToFit> toFit;
        for (const QByteArray &source : sources)
            toFit.append({source, true, 0});
        const PicturesFitted together =
            FitPicturesTogether(toFit, exported.limitBytes, exported.pageBytes, handset,
                                PageBackground(page));
        for (qsizetype index = 0; index < pictures.size(); ++index) {
            ExportedPicture &picture = pictures[index];
            picture.fitted = together.fitted[index];
            if (!picture.fitted.problem.isEmpty()) {
                exported.problems << QStringLiteral("「%1」: %2").arg(picture.source, picture.fitted.problem);
                continue;
            }
            picture.name = QFileInfo(picture.name).completeBaseName() + QLatin1Char('.')
                           + QString::fromLatin1(picture.fitted.format);
            names.insert(picture.source, picture.name);
        }
    }
    exported.pictures = pictures;
    if (!exported.problems.isEmpty())
        return exported;

    // Every picture the page now names must be one written beside it.
    QSet<QString> written;
    for (const ExportedPicture &picture : pictures)
        written.insert(picture.name);
    for (const QString &source : LocalPictureSources(make()))
        if (!written.contains(source))
            exported.problems << QStringLiteral("画像「%1」の名前を書き換えられませんでした。").arg(source);
    if (exported.totalBytes() > exported.limitBytes)
        exported.problems << QStringLiteral("ページと画像で %1 バイトになり、%2の %3 バイトを超えます。")
                                 .arg(exported.totalBytes())
                                 .arg(handset.name)
                                 .arg(exported.limitBytes);
    return exported;
}

namespace {

QList<FileToWrite> filesOf(const PageExport &exported)
{
    QList<FileToWrite> files;
    for (const ExportedPicture &picture : exported.pictures)
        files.append({picture.name, picture.fitted.bytes});
    if (!exported.bodyName.isEmpty())
        files.append({exported.bodyName, exported.body});
    files.append({exported.pageName, exported.page});
    files.append({exported.projectName, WriteProject(exported.project)});
    return files;
}

} // namespace

void CheckPageExport(const PageExport &exported, const QString &folder, ExistingFiles existing)
{
    CheckWritingIntoFolder(folder, filesOf(exported), existing, exported.readFrom);
}

void WritePageExport(const PageExport &exported, const QString &folder, ExistingFiles existing)
{
    WriteIntoFolder(folder, filesOf(exported), existing, exported.readFrom);
}

QString UnusedFileName(const QString &wanted, QSet<QString> &taken, const QStringList &extensions)
{
    // Room left in the name for the number that tells it from another ("-12").
    constexpr qsizetype numberRoom = 8;
    const QFileInfo info(ShortenedFileName(wanted, LongestFileName - numberRoom));
    const QString base = info.completeBaseName();
    QStringList suffixes = extensions;
    if (suffixes.isEmpty())
        suffixes << info.suffix();
    const auto named = [&](const QString &stem, const QString &suffix) {
        return suffix.isEmpty() ? stem : stem + QLatin1Char('.') + suffix;
    };
    const auto free = [&](const QString &stem) {
        return std::none_of(suffixes.begin(), suffixes.end(), [&](const QString &suffix) {
            return taken.contains(named(stem, suffix).toLower());
        });
    };
    QString stem = base;
    for (int number = 2; !free(stem); ++number)
        stem = QStringLiteral("%1-%2").arg(base).arg(number);
    for (const QString &suffix : suffixes)
        taken.insert(named(stem, suffix).toLower());
    return named(stem, suffixes.constFirst());
}
