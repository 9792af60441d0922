#include "widgets/byte_line_edit.h"

#include "text/sjis.h"

#include <limits>

ByteLineEdit::ByteLineEdit(QWidget *parent) : QLineEdit(parent)
{
    // A stored text of any length is shown whole, so that it comes back whole.
    setMaxLength(std::numeric_limits<int>::max());
}

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
