#include "check/html_tags.h"

#include "check/markup.h"
#include "imode/facts_table.h"
#include "text/nearest_name.h"

#include <QSet>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

int tenths(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    return parts.value(0).toInt() * 10 + parts.value(1).toInt();
}

struct TagTable {
    QHash<NameKey, TagFacts> byKey;
    QList<QByteArray> names; // in alphabetical order
};

const TagTable &tagTable()
{
    static const TagTable tags = [] {
        TagTable table;
        for (const QStringList &row : FactsTableRows(QStringLiteral("html_tags.tsv"), 5)) {
            const QByteArray name = row[0].toLatin1();
            TagFacts &tag = table.byKey[*NameKey::of(name)];
            tag.name = name;
            const int version = tenths(row[3]);
            if (row[1].isEmpty()) {
                tag.version = version;
                tag.closed = row[4] == QLatin1String("closed");
                table.names.append(name);
            } else if (row[2].isEmpty()) {
                tag.attributes.insert(*NameKey::of(row[1].toLatin1()), version);
            } else {
                tag.laterValues.insert(*NameKey::of((row[1] + QLatin1Char('=') + row[2]).toLatin1()),
                                       version);
            }
        }
        std::sort(table.names.begin(), table.names.end());
        return table;
    }();
    return tags;
}

template <typename Value>
const Value *find(const QHash<NameKey, Value> &table, QByteArrayView name)
{
    const std::optional<NameKey> key = NameKey::of(name);
    if (!key)
        return nullptr;
    const auto found = table.constFind(*key);
    return found == table.constEnd() ? nullptr : &found.value();
}

} // namespace

std::optional<NameKey> NameKey::of(QByteArrayView name)
{
    if (name.size() > 16)
        return std::nullopt;
    NameKey key;
    for (qsizetype at = 0; at < name.size(); ++at) {
        const char c = name[at];
        const quint64 upper = uchar(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        (at < 8 ? key.first : key.second) |= upper << (8 * (at % 8));
    }
    return key;
}

int TagFacts::attributeVersion(QByteArrayView attribute, QByteArrayView value) const
{
    const int *version = find(attributes, attribute);
    if (!version)
        return 0;
    if (laterValues.isEmpty() || value.isEmpty())
        return *version;
    const int *later = find(laterValues, attribute.toByteArray() + '=' + value.toByteArray());
    return later ? std::max(*version, *later) : *version;
}

const TagFacts *FindTag(QByteArrayView name)
{
    return find(tagTable().byKey, name);
}

bool IsHtmlTagWithoutImode(QByteArrayView name)
{
    static const QSet<QByteArray> others{
        "ABBR",     "ACRONYM", "ADDRESS",  "APPLET",   "AREA",       "ARTICLE", "ASIDE",
        "AUDIO",    "B",       "BASEFONT", "BDO",      "BIG",        "BUTTON",  "CANVAS",
        "CAPTION",  "CITE",    "CODE",     "COL",      "COLGROUP",   "DEL",     "DFN",
        "EM",       "EMBED",   "FIELDSET", "FIGCAPTION", "FIGURE",   "FOOTER",  "FRAME",
        "FRAMESET", "HEADER",  "I",        "IFRAME",   "INS",        "ISINDEX", "KBD",
        "LABEL",    "LEGEND",  "LINK",     "MAIN",     "MAP",        "MARK",    "NAV",
        "NOBR",     "NOFRAMES", "NOSCRIPT", "OPTGROUP", "Q",         "S",       "SAMP",
        "SCRIPT",   "SECTION", "SMALL",    "SPAN",     "STRIKE",     "STRONG",  "STYLE",
        "SUB",      "SUP",     "SVG",      "TABLE",    "TBODY",      "TD",      "TFOOT",
        "TH",       "THEAD",   "TIME",     "TR",       "TT",         "U",       "VAR",
        "VIDEO",    "WBR",     "XMP"};
    return others.contains(UpperName(name));
}

QByteArray NearestTag(QByteArrayView written)
{
    static const QStringList names = [] {
        QStringList list;
        for (const QByteArray &name : tagTable().names)
            list << QString::fromLatin1(name);
        return list;
    }();
    return NearestName(QString::fromLatin1(written.toByteArray()), names).toLatin1();
}
