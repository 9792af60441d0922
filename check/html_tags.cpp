#include "check/html_tags.h"

#include "check/markup.h"
#include "imode/facts_table.h"

#include <QSet>

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

// The Damerau-Levenshtein distance (optimal string alignment) of two short names.
int distance(const QByteArray &a, const QByteArray &b)
{
    const qsizetype columns = b.size() + 1;
    std::vector<int> d(std::size_t((a.size() + 1) * columns));
    const auto at = [columns](qsizetype i, qsizetype j) { return std::size_t(i * columns + j); };
    for (qsizetype i = 0; i <= a.size(); ++i)
        d[at(i, 0)] = int(i);
    for (qsizetype j = 0; j <= b.size(); ++j)
        d[at(0, j)] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i)
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int change = a[i - 1] == b[j - 1] ? 0 : 1;
            int best = std::min({d[at(i - 1, j)] + 1, d[at(i, j - 1)] + 1,
                                 d[at(i - 1, j - 1)] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                best = std::min(best, d[at(i - 2, j - 2)] + 1);
            d[at(i, j)] = best;
        }
    return d[at(a.size(), b.size())];
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
    const QByteArray name = written.toByteArray().toUpper();
    // One letter off is a slip in a short name; two only in a longer one.
    const int allowed = name.size() <= 3 ? 1 : 2;
    QByteArray nearest;
    int best = allowed + 1;
    for (const QByteArray &known : tagTable().names) {
        const int off = distance(name, known);
        if (off < best) {
            best = off;
            nearest = known;
        }
    }
    return nearest;
}
