#include "text/nearest_name.h"

#include <algorithm>
#include <vector>

namespace {

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
            int best = std::min({d[at(i - 1, j)] + 1, d[at(i, j - 1)] + 1, d[at(i - 1, j - 1)] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                best = std::min(best, d[at(i - 2, j - 2)] + 1);
            d[at(i, j)] = best;
        }
    return d[at(a.size(), b.size())];
}

} // namespace

QString NearestName(const QString &written, const QStringList &known)
{
    // Past this a name is no slip of another, and its distance is not worth working out.
    constexpr qsizetype longest = 64;
    const QString name = written.toUpper();
    if (name.isEmpty() || name.size() > longest)
        return {};
    const int allowed = name.size() <= 3 ? 1 : 2;
    QString nearest;
    int best = allowed + 1;
    for (const QString &candidate : known) {
        if (candidate.size() > longest || std::abs(candidate.size() - name.size()) > allowed)
            continue;
        const int off = distance(name, candidate.toUpper());
        if (off < best) {
            best = off;
            nearest = candidate;
        }
    }
    return nearest;
}
