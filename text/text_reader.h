#pragma once

#include "text/io_error.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// The most a file read by the program may hold: far above any real page, project or map, so
// that a wrong file is refused with a message instead of filling the memory.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;

// True when `path` names a regular file (symbolic links followed). Folders, pipes and devices
// are never read as files: a pipe would block the program for good, a device never end.
bool isRegularFile(const QString &path);

// A regular file as it is now: the same file, unchanged, while its device, inode, size and
// time of change are the same.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;
    qint64 changedSeconds = 0;
    qint64 changedNanoseconds = 0;
    bool operator==(const FileStamp &) const = default;
};

// The stamp of the regular file at `path`; nothing for anything else.
std::optional<FileStamp> regularFileStamp(const QString &path);

// Reads the whole file at `path`; throws IoError when it cannot be opened or read, when it is
// no regular file (AccessDenied), and when it is larger than `limit` or the memory runs out
// (TooLarge, naming the file).
QByteArray readFileBytes(const QString &path, qint64 limit = MaxFileBytes);

// Reads the file at `path` and hands its bytes to `parse`. A bad value in the file is reported
// with the file's name and line, below the message.
template <typename Parse>
decltype(auto) parseFile(const QString &path, Parse &&parse)
{
    const QByteArray bytes = readFileBytes(path);
    try {
        return parse(bytes);
    } catch (IoError &error) {
        error.inFile(path);
        throw;
    }
}

// The reading side of every data file: one value per line.
class TextReader {
public:
    explicit TextReader(QByteArray bytes);

    bool atEnd() const { return position >= data.size(); }

    // The whole next line without its line end; empty at the end of the file.
    QByteArray readLine();

    // Skips blanks and line ends, takes the characters up to the next blank or line end and
    // skips the rest of that line. 0 at the end of the file; throws IoError(NotANumber), with
    // the number of the line, for anything that is not a 32-bit decimal number.
    std::int32_t readInteger();

    // Whether a value was asked for after the end of the file: the file ends early.
    bool ranPastEnd() const { return pastEnd; }

    // The lines of the file, the last one counted also without its line end.
    int lineCount() const;

private:
    // A line ends with CR LF or a lone LF; a CR the file ends with is a CR LF cut short.
    // A lone CR elsewhere is text.
    bool lineEndsAt(qsizetype at) const;

    QByteArray data;
    qsizetype position = 0;
    bool pastEnd = false;
};

// Parses a whole token as a 32-bit decimal number with an optional sign.
bool parseInteger(const QByteArray &token, std::int32_t &value);
