#include "check/page_files.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// Pictures past this are read no further: every header the check needs lies before it.
constexpr qint64 imageHeadBytes = 64 * 1024;

// A page names a few hundred pictures at the most; past this many, the oldest are forgotten.
constexpr qsizetype picturesKept = 1024;

} // namespace

std::optional<PageFiles::Stamp> PageFiles::stampOf(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return Stamp{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
                 qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
}

BodyText PageFiles::body(const QString &path)
{
    const std::optional<Stamp> stamp = stampOf(path);
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

std::optional<ImageFile> PageFiles::picture(const QString &path)
{
    const std::optional<Stamp> stamp = stampOf(path);
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
