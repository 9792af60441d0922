#include "ui/byte_line_edit.h"

#include "model/sjis.h"

void ByteLineEdit::setBytes(const QByteArray &bytes)
{
    shownBytes = bytes;
    setText(sjis::toUnicode(bytes));
}

QByteArray ByteLineEdit::bytes() const
{
    if (text() == sjis::toUnicode(shownBytes))
        return shownBytes;
    return sjis::fromUnicodeLine(text());
}
