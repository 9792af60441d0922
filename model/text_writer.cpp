#include "model/text_writer.h"

#include "model/io_error.h"

#include <QSaveFile>

#include <cerrno>

void TextWriter::writeLine(const QByteArray &line)
{
    data.append(line);
    data.append("\r\n", 2);
}

void TextWriter::writeInteger(std::int64_t value)
{
    writeLine(QByteArray::number(static_cast<qlonglong>(value)));
}

void saveFileBytes(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw IoError::forOpen(path, errno);
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int writeError = errno;
        file.cancelWriting();
        throw IoError::fromErrno(writeError);
    }
    errno = 0;
    if (!file.commit())
        throw IoError::fromErrno(errno);
}
