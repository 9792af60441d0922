#pragma once

#include "check/image_facts.h"
#include "page/page_as_written.h"
#include "text/text_reader.h"

#include <QHash>
#include <QString>

#include <optional>

// A picture file the page shows: its size in bytes and what its header says.
struct ImageFile {
    qint64 size = 0;
    ImageFacts facts;
};

// The file a picture the page names as `source` is read from, in the picture folder; empty
// when there is no folder or the name holds a control character (a NUL would end the name
// early and name another file).
QString PicturePath(const QString &folder, const QString &source);

// The files a page reads, kept while they stay as they were: the check runs at every keystroke,
// and a file that has not changed is not opened again. Besides the body, the pictures: a file
// is known by its path and its stamp.
class PageFiles : public BodyFiles {
public:
    // The size and header facts of the picture file; nothing when the path names no regular
    // file or it cannot be opened.
    std::optional<ImageFile> picture(const QString &path);

private:
    QHash<QString, std::pair<FileStamp, ImageFile>> pictures;
};
