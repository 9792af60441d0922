#include "page/separator_styles.h"

#include "text/sjis.h"

#include <array>

namespace {

// Style n at index n - 1. Style 1 is the plain rule; the others show what they write.
constexpr std::array<const char16_t *, SeparatorStyleCount> captions{
    u"―――――（標準）", u"☆☆☆☆☆☆☆☆", u"------------", u"■■■■■■■■", u"■□■□■□■",
    u"△▽△▽△▽△",       u"△△△△△△△△", u"▽▽▽▽▽▽▽▽", u"○○○○○○○○", u"□□□□"};

bool isStyle(int style)
{
    return style >= 1 && style <= SeparatorStyleCount;
}

} // namespace

QString SeparatorCaption(int style)
{
    return isStyle(style) ? QString::fromUtf16(captions[std::size_t(style - 1)]) : QString();
}

QByteArray SeparatorLine(int style)
{
    if (!isStyle(style))
        return {};
    if (style == 1)
        return QByteArrayLiteral("<HR>");
    // The colour is always black, whatever colours the page has.
    return "<CENTER><FONT COLOR=\"#000000\">" + sjis::fromUnicode(SeparatorCaption(style))
        + "</FONT></CENTER>";
}
