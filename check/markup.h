#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// A tag in a line of the page, as a handset's browser reads it.
struct MarkupTag {
    QString name; // in upper case
    bool closing = false;
    bool unfinished = false; // "<" without its ">" before the line or the next tag begins
    QList<std::pair<QString, QByteArray>> attributes; // names in upper case, values unquoted
};

// A character reference: "&#169;" or "&#xE63E;".
struct CharacterReference {
    QByteArray text;
    bool hexadecimal = false;
    quint32 value = 0;
};

struct Markup {
    QList<MarkupTag> tags;
    QList<CharacterReference> references;
};

// The tags and character references of one line, in order. Comments and declarations
// ("<!-- -->", "<!DOCTYPE>") are passed over, and a "<" that starts no tag is text.
Markup ScanMarkup(const QByteArray &line);
