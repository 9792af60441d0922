#include "page/color_code.h"

#include "text/io_error.h"
#include "text/sjis.h"

namespace {

constexpr char hexDigits[] = "0123456789ABCDEF";

void appendComponent(QByteArray &code, std::uint8_t value)
{
    code += hexDigits[value / 16];
    code += hexDigits[value % 16];
}

// The value of the digit at `index`; a missing or foreign character stops the parse.
int digitAt(const QByteArray &text, qsizetype index)
{
    if (index >= text.size())
        throw notAnInteger(QString());
    const char byte = text.at(index);
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    if (byte >= 'A' && byte <= 'F')
        return byte - 'A' + 10;
    // Name the whole character, so a two-byte one reads as itself rather than half of it.
    throw notAnInteger(sjis::toUnicode(sjis::firstCharacter(text.mid(index))));
}

std::uint8_t componentAt(const QByteArray &text, qsizetype index)
{
    // A space anywhere in the pair blanks the component, even before a missing partner.
    if (text.mid(index, 2).contains(' '))
        return 0;
    const int high = digitAt(text, index);
    return std::uint8_t(high * 16 + digitAt(text, index + 1));
}

} // namespace

QByteArray FormatColorCode(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    QByteArray code("#");
    appendComponent(code, red);
    appendComponent(code, green);
    appendComponent(code, blue);
    return code;
}

ColorComponents ParseColorCode(const QByteArray &text)
{
    ColorComponents components;
    components.red = componentAt(text, 1);
    components.green = componentAt(text, 3);
    components.blue = componentAt(text, 5);
    return components;
}
