#include "text/text_writer.h"

#include "text/io_error.h"

#include <QFile>
#include <QSaveFile>
#include <QScopeGuard>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void TextWriter::writeLine(const QByteArray &line)
{
    data.append(line);
    data.append("\r\n", 2);
}

void TextWriter::writeInteger(std::int64_t value)
{
    writeLine(QByteArray::number(static_cast<qlonglong>(value)));
}

namespace {

// A device or a pipe named as the target is written into as it is: a file put in its place
// would take the device's name and leave the output unwritten. Opened without blocking, so a
// pipe nobody reads fails at once instead of holding the program.
void writeInto(const QString &path, const QByteArray &bytes)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw IoError::forOpen(path, errno);
    const auto closeFile = qScopeGuard([descriptor] { ::close(descriptor); });
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            throw IoError::fromErrno(count < 0 ? errno : ENOSPC).about(path);
        written += count;
    }
}

} // namespace

void saveFileBytes(const QString &path, const QByteArray &bytes)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) == 0 && !S_ISREG(status.st_mode)
        && !S_ISDIR(status.st_mode))
        return writeInto(path, bytes);
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw IoError::forOpen(path, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int writeError = errno;
        file.cancelWriting();
        throw IoError::fromErrno(writeError).about(path);
    }
    errno = 0;
    if (!file.commit())
        throw IoError::fromErrno(errno).about(path);
}
