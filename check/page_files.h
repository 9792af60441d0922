#pragma once

#include "check/image_facts.h"
#include "generator/body_text.h"

#include <QHash>
#include <QString>

#include <optional>

// A picture file the page shows: its size in bytes and what its header says.
struct ImageFile {
    qint64 size = 0;
    ImageFacts facts;
};

// The files a page reads, kept while they stay as they were: the check runs at every keystroke,
// and a file that has not changed is not opened again. A file is known by its path, and is the
// same while its device, inode, size and time of change are.
class PageFiles {
public:
    // The body text file, read again only when it changed. Throws IoError as ReadBodyText does.
    BodyText body(const QString &path);

    // The size and header facts of the picture file; nothing when the path names no regular
    // file or it cannot be opened.
    std::optional<ImageFile> picture(const QString &path);

private:
    struct Stamp {
        quint64 device = 0;
        quint64 inode = 0;
        qint64 size = -1;
        qint64 changedSeconds = 0;
        qint64 changedNanoseconds = 0;
        bool operator==(const Stamp &) const = default;
    };
    // The stamp of a regular file; nothing for anything else.
    static std::optional<Stamp> stampOf(const QString &path);

    QString bodyPath;
    Stamp bodyStamp;
    BodyText bodyText;
    QHash<QString, std::pair<Stamp, ImageFile>> pictures;
};
