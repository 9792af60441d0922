#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>

#include <optional>

// A name of at most 16 bytes, in upper case, packed into two numbers: the check looks up every
// tag and attribute of the page at every keystroke, and these hash and compare in a few steps.
struct NameKey {
    quint64 first = 0;
    quint64 second = 0;

    bool operator==(const NameKey &) const = default;

    // The key of a name in any case; nothing for a longer name, which no tag or attribute has.
    static std::optional<NameKey> of(QByteArrayView name);
};

inline size_t qHash(const NameKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.first, key.second);
}

// What the handsets' HTML knows of a tag: the version that brought it, whether it encloses
// text and must be closed, and the version that brought each of its attributes.
struct TagFacts {
    QByteArray name; // in upper case
    int version = 10; // in tenths, as Handset::htmlVersion
    bool closed = false;
    QHash<NameKey, int> attributes;  // by name
    QHash<NameKey, int> laterValues; // "ALIGN=CENTER": an attribute value that came later

    // The version that brought the attribute (and its value, where a value came later); 0 for
    // an attribute the tag does not have. Names and values in any case.
    int attributeVersion(QByteArrayView attribute, QByteArrayView value) const;
};

// The facts of a tag by its name in any case; null for a tag no handset knows.
const TagFacts *FindTag(QByteArrayView name);

// True for a tag of HTML itself (HTML 4.01 and the common later ones) that i-mode's HTML
// lacks: <TABLE>, <B>, <SPAN>, <SCRIPT>; a handset passes over it. Any case.
bool IsHtmlTagWithoutImode(QByteArrayView name);

// The known tag nearest in spelling to an unknown one, when it differs by a letter or two
// (a letter left out, added, changed or two swapped); empty when none is that near.
QByteArray NearestTag(QByteArrayView name);
