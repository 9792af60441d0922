#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Reads the whole file at `path`; throws IoError when it cannot be opened or read.
QByteArray readFileBytes(const QString &path);

// The reading side of every data file: one value per line.
class TextReader {
public:
    explicit TextReader(QByteArray bytes);

    bool atEnd() const { return position >= data.size(); }

    // The whole next line without its line end; empty at the end of the file.
    QByteArray readLine();

    // Skips blanks and line ends, takes the characters up to the next blank or line end and
    // skips the rest of that line. 0 at the end of the file; throws IoError(NotANumber) for
    // anything that is not a 32-bit decimal number.
    std::int32_t readInteger();

private:
    // A line ends with CR LF or a lone LF; a CR the file ends with is a CR LF cut short.
    // A lone CR elsewhere is text.
    bool lineEndsAt(qsizetype at) const;

    QByteArray data;
    qsizetype position = 0;
};

// Parses a whole token as a 32-bit decimal number with an optional sign.
bool parseInteger(const QByteArray &token, std::int32_t &value);
