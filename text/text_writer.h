#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// The writing side of every data file: each line followed by CR LF, integers in decimal.
// Lines collect in memory; saveFileBytes() writes them.
class TextWriter {
public:
    void writeLine(const QByteArray &line);
    void writeInteger(std::int64_t value);

    const QByteArray &bytes() const { return data; }

    // Room for this many bytes, so a large file is not copied as it grows.
    void reserve(qsizetype size) { data.reserve(size); }

private:
    QByteArray data;
};

// Writes `bytes` to `path` through a temporary file beside it that is renamed over the target
// at the end. On failure throws IoError and leaves any old file as it was.
void saveFileBytes(const QString &path, const QByteArray &bytes);
