#pragma once

#include <QByteArray>

// Phones show a page's title on one line of a dozen characters or so; a title of more than this
// many bytes is no title anyone typed, but a damaged or hostile project, whose every change
// would keep the window busy for seconds.
constexpr qsizetype LongestTitleBytes = 1000;

// The title cut to at most LongestTitleBytes, at the start of a character, a reference
// ("&#63647;") kept whole or left out; a title that fits is returned as it is.
QByteArray ShortenedTitle(const QByteArray &title);
