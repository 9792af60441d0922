#include "model/text_reader.h"

#include "model/io_error.h"

#include <QFile>

#include <cerrno>
#include <limits>

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

QByteArray readFileBytes(const QString &path)
{
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        throw IoError::forOpen(path, errno);
    errno = 0;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw IoError::fromErrno(errno);
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
    if (atEnd())
        return {};
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
    if (atEnd())
        return 0;
    const qsizetype start = position;
    while (!atEnd() && !isBlank(data[position]) && !lineEndsAt(position))
        ++position;
    const QByteArray token = data.mid(start, position - start);
    const qsizetype newline = data.indexOf('\n', position);
    position = newline < 0 ? data.size() : newline + 1;
    std::int32_t value = 0;
    if (!parseInteger(token, value))
        throw IoError(IoError::Kind::NotANumber);
    return value;
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
