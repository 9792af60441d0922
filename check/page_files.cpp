#include "check/page_files.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

// Pictures past this are read no further: every header the check needs lies before it.
constexpr qint64 imageHeadBytes = 64 * 1024;

// A page names a few hundred pictures at the most; past this many, the oldest are forgotten.
constexpr qsizetype picturesKept = 1024;

} // namespace

std::optional<ImageFile> PageFiles::picture(const QString &path)
{
    const std::optional<FileStamp> stamp = regularFileStamp(path);
    if (!stamp)
        return std::nullopt;
    if (const auto kept = pictures.constFind(path); kept != pictures.cend() && kept->first == *stamp)
        return kept->second;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    const ImageFile found{file.size(), ReadImageFacts(file.read(imageHeadBytes))};
    if (pictures.size() >= picturesKept)
        pictures.clear();
    pictures.insert(path, {*stamp, found});
    return found;
}

QString PicturePath(const QString &folder, const QString &source)
{
    if (folder.isEmpty()
        || std::any_of(source.begin(), source.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
        return {};
    return QDir(folder).filePath(QDir::cleanPath(source));
}
