#include "page/page_title.h"

#include "text/sjis.h"

QByteArray ShortenedTitle(const QByteArray &title)
{
    return sjis::leftBytes(title, LongestTitleBytes);
}
