#include "text/text_reader.h"

#include "text/io_error.h"

#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <limits>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

bool isRegularFile(const QString &path)
{
    return regularFileStamp(path).has_value();
}

std::optional<FileStamp> regularFileStamp(const QString &path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return FileStamp{quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_size),
                     qint64(status.st_mtim.tv_sec), qint64(status.st_mtim.tv_nsec)};
}

QByteArray readFileBytes(const QString &path, qint64 limit)
{
    // Opened without blocking and judged by what was opened, so a pipe put in the file's place
    // after a check can never hold the program.
    errno = 0;
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw IoError::forOpen(path, errno);
    const auto closeFile = qScopeGuard([descriptor] { ::close(descriptor); });
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        throw IoError::fromErrno(errno).about(path);
    if (!S_ISREG(status.st_mode))
        throw IoError::forNotAFile(path, status.st_mode);
    if (status.st_size > limit)
        throw IoError(IoError::Kind::TooLarge).inFile(path);
    QByteArray bytes;
    try {
        bytes.resize(static_cast<qsizetype>(status.st_size));
        qsizetype filled = 0;
        // The file may grow while it is read; it is read up to the limit and no further.
        for (;;) {
            if (filled == bytes.size()) {
                if (filled > limit)
                    throw IoError(IoError::Kind::TooLarge).inFile(path);
                bytes.resize(filled + 65536);
            }
            const ssize_t count = ::read(descriptor, bytes.data() + filled,
                                         static_cast<size_t>(bytes.size() - filled));
            if (count < 0 && errno == EINTR)
                continue;
            if (count < 0)
                throw IoError::fromErrno(errno).about(path);
            if (count == 0)
                break;
            filled += count;
        }
        bytes.truncate(filled);
    } catch (const std::bad_alloc &) {
        throw IoError(IoError::Kind::TooLarge).inFile(path);
    }
    return bytes;
}

TextReader::TextReader(QByteArray bytes) : data(std::move(bytes)) {}

bool TextReader::lineEndsAt(qsizetype at) const
{
    if (data[at] == '\n')
        return true;
    return data[at] == '\r' && (at + 1 == data.size() || data[at + 1] == '\n');
}

QByteArray TextReader::readLine()
{
    if (atEnd()) {
        pastEnd = true;
        return {};
    }
    const qsizetype lineFeed = data.indexOf('\n', position);
    const qsizetype next = lineFeed < 0 ? data.size() : lineFeed + 1;
    qsizetype end = lineFeed < 0 ? data.size() : lineFeed;
    if (end > position && data[end - 1] == '\r')
        --end;
    QByteArray line = data.mid(position, end - position);
    position = next;
    return line;
}

std::int32_t TextReader::readInteger()
{
    while (!atEnd() && (isBlank(data[position]) || isLineEnd(data[position])))
        ++position;
    if (atEnd()) {
        pastEnd = true;
        return 0;
    }
    const qsizetype start = position;
    while (!atEnd() && !isBlank(data[position]) && !lineEndsAt(position))
        ++position;
    const QByteArray token = data.mid(start, position - start);
    const qsizetype newline = data.indexOf('\n', position);
    position = newline < 0 ? data.size() : newline + 1;
    std::int32_t value = 0;
    if (!parseInteger(token, value))
        throw IoError(IoError::Kind::NotANumber).onLine(1 + int(data.left(start).count('\n')));
    return value;
}

int TextReader::lineCount() const
{
    const qsizetype lineFeeds = data.count('\n');
    return int(lineFeeds + (data.isEmpty() || data.endsWith('\n') ? 0 : 1));
}

bool parseInteger(const QByteArray &token, std::int32_t &value)
{
    qsizetype index = 0;
    bool negative = false;
    if (index < token.size() && (token[index] == '+' || token[index] == '-')) {
        negative = token[index] == '-';
        ++index;
    }
    if (index == token.size())
        return false;
    std::int64_t magnitude = 0;
    for (; index < token.size(); ++index) {
        const char c = token[index];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}
