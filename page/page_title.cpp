#include "page/page_title.h"

#include "text/sjis.h"

#include <algorithm>

QByteArray ShortenedTitle(const QByteArray &title)
{
    if (title.size() <= LongestTitleBytes)
        return title;
    qsizetype end = 0;
    for (qsizetype at = 0; at < title.size();) {
        const qsizetype length = sjis::firstCharacter(title.sliced(at, std::min<qsizetype>(2, title.size() - at))).size();
        if (at + length > LongestTitleBytes)
            break;
        at += length;
        end = at;
    }
    // A reference cut in two would show its first half as text; none is longer than "&#x10FFFF;".
    constexpr qsizetype longestReference = 10;
    const qsizetype ampersand = title.lastIndexOf("&#", end - 1);
    const qsizetype semicolon = ampersand >= 0 ? title.indexOf(';', ampersand) : -1;
    if (ampersand >= 0 && ampersand > end - longestReference && (semicolon < 0 || semicolon >= end))
        end = ampersand;
    return title.left(end);
}
