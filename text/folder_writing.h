#pragma once

#include "text/io_error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One file to be written into a folder: its name there (no folder part) and its bytes.
struct FileToWrite {
    QString name;
    QByteArray bytes;
};

// What becomes of a file of the same name that is in the folder already.
enum class ExistingFiles { Kept, Replaced };

// Files of the same names were in the folder already, and were to be kept: nothing was written.
class NamesTaken : public UserError {
public:
    NamesTaken(const QString &folder, const QStringList &names);
    QStringList names;
};

// The longest name a file may have on the common file systems, in bytes of its encoded form.
constexpr qsizetype LongestFileName = 255;

// `name` shortened, where its encoded form is longer than `longest` bytes, by dropping
// characters at the end of its base name, never inside a character; its extension stays.
QString ShortenedFileName(const QString &name, qsizetype longest = LongestFileName);

// Writes all of `files` into `folder` (made when missing), or none of them: each is written
// into a new folder of its own inside `folder` first and moved into place only when all were
// written, so a failure leaves `folder` as it was. A file of the same name already there stops
// it before anything is written (NamesTaken), unless `existing` is Replaced; then only regular
// files are replaced, each at once by its new file. Symbolic links in `folder` are never
// followed, and no file is written over that is one of `neverReplaced` (the same file, by
// device and inode, whatever its name). Throws IoError naming the file that could not be
// written, and UserError for a name or a file in the way.
void WriteIntoFolder(const QString &folder, const QList<FileToWrite> &files,
                     ExistingFiles existing, const QStringList &neverReplaced);

// Throws what WriteIntoFolder would throw for a file or a name in the way, and writes nothing;
// for telling before any work is shown that the writing cannot be done.
void CheckWritingIntoFolder(const QString &folder, const QList<FileToWrite> &files, ExistingFiles existing,
                            const QStringList &neverReplaced = {});
