#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// What the handsets' HTML knows of a tag: the version that brought it, whether it encloses
// text and must be closed, and the version that brought each of its attributes.
struct TagFacts {
    int version = 10; // in tenths, as Handset::htmlVersion
    bool closed = false;
    QHash<QString, int> attributes;    // by upper-case name
    QHash<QString, int> laterValues;   // "ALIGN=CENTER": an attribute value that came later
};

// The facts of a tag by its upper-case name; null for a tag no handset knows.
const TagFacts *FindTag(const QString &name);

// The known tag nearest in spelling to an unknown one, when it differs by a letter or two
// (a letter left out, added, changed or two swapped); empty when none is that near.
QString NearestTag(const QString &name);
