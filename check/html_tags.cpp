#include "check/html_tags.h"

#include "model/facts_table.h"

#include <algorithm>
#include <vector>

namespace {

int tenths(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    return parts.value(0).toInt() * 10 + parts.value(1).toInt();
}

const QHash<QString, TagFacts> &tagTable()
{
    static const QHash<QString, TagFacts> tags = [] {
        QHash<QString, TagFacts> table;
        for (const QStringList &row : FactsTableRows(QStringLiteral("html_tags.tsv"), 5)) {
            TagFacts &tag = table[row[0]];
            const int version = tenths(row[3]);
            if (row[1].isEmpty()) {
                tag.version = version;
                tag.closed = row[4] == QLatin1String("closed");
            } else if (row[2].isEmpty()) {
                tag.attributes.insert(row[1], version);
            } else {
                tag.laterValues.insert(row[1] + QLatin1Char('=') + row[2], version);
            }
        }
        return table;
    }();
    return tags;
}

// The Damerau-Levenshtein distance (optimal string alignment) of two short names.
int distance(const QString &a, const QString &b)
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

const TagFacts *FindTag(const QString &name)
{
    const auto found = tagTable().constFind(name);
    return found == tagTable().constEnd() ? nullptr : &found.value();
}

QString NearestTag(const QString &name)
{
    // One letter off is a slip in a short name; two only in a longer one.
    const int allowed = name.size() <= 3 ? 1 : 2;
    QString nearest;
    int best = allowed + 1;
    QStringList names = tagTable().keys();
    names.sort();
    for (const QString &known : names) {
        const int off = distance(name, known);
        if (off < best) {
            best = off;
            nearest = known;
        }
    }
    return nearest;
}
