#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <span>

struct TagFacts;

// A tag in a line of the page, as a handset's browser reads it. Its texts are views into the
// line, which must outlive it, and its attributes lie in its Markup: the check reads every tag
// of a large page at every keystroke, so a tag stays small and makes no string.
struct MarkupTag {
    QByteArrayView name; // as written
    const TagFacts *facts = nullptr; // null for a tag no handset knows
    bool closing = false;
    bool unfinished = false; // "<" without its ">" before the line or the next tag begins
    qsizetype firstAttribute = 0;
    qsizetype attributeCount = 0;
    qsizetype begin = 0; // where it starts in the line, at "<"
    qsizetype end = 0;   // after its ">"
};

struct MarkupAttribute {
    QByteArrayView name;
    QByteArrayView value; // unquoted
};

// A character reference: "&#169;" or "&#xE63E;".
struct CharacterReference {
    QByteArrayView text;
    bool hexadecimal = false;
    quint32 value = 0;
    qsizetype begin = 0; // where it starts in the line, at "&"
};

struct Markup {
    QList<MarkupTag> tags;
    QList<MarkupAttribute> attributes;
    QList<CharacterReference> references;

    std::span<const MarkupAttribute> attributesOf(const MarkupTag &tag) const
    {
        return {attributes.constData() + tag.firstAttribute, std::size_t(tag.attributeCount)};
    }
};

// The tags and character references of one line, in order. Comments and declarations
// ("<!-- -->", "<!DOCTYPE>") are passed over, and a "<" that starts no tag is text.
Markup ScanMarkup(const QByteArray &line);

// A name in upper case, as the tables hold tags and attributes.
QByteArray UpperName(QByteArrayView name);
