#include "imode/handsets.h"

#include "imode/facts_table.h"

#include <QMap>

#include <algorithm>

namespace {

QString key(const QString &name)
{
    return name.simplified().remove(QLatin1Char(' ')).toLower();
}

int tenths(const QString &version)
{
    const QStringList parts = version.split(QLatin1Char('.'));
    return parts.value(0).toInt() * 10 + parts.value(1).toInt();
}

QList<Handset> readHandsets()
{
    QList<Handset> models;
    QMap<QString, Handset> series; // by name, in the order of the names
    QStringList seriesOrder;
    for (const QStringList &row : FactsTableRows(QStringLiteral("handsets.tsv"), 8)) {
        const Handset model{row[0],         tenths(row[2]),  row[3].toInt(),
                            row[4].toInt(), row[5].toInt(),  row[6].toInt(),
                            row[7] == QLatin1String("yes")};
        models.append(model);
        const QString seriesName = row[1];
        if (!series.contains(seriesName)) {
            seriesOrder.append(seriesName);
            Handset first = model;
            first.name = seriesName;
            first.isSeries = true;
            series.insert(seriesName, first);
            continue;
        }
        Handset &strictest = series[seriesName];
        strictest.htmlVersion = std::min(strictest.htmlVersion, model.htmlVersion);
        strictest.pageLimitKb = std::min(strictest.pageLimitKb, model.pageLimitKb);
        strictest.jpeg = strictest.jpeg && model.jpeg;
        // The fewest colours known of the series.
        if (model.colourDepth > 0
            && (strictest.colourDepth == 0 || model.colourDepth < strictest.colourDepth))
            strictest.colourDepth = model.colourDepth;
        // The smallest screen of the series, the one a page must suit.
        if (model.screenWidth > 0
            && (strictest.screenWidth == 0 || model.screenWidth < strictest.screenWidth)) {
            strictest.screenWidth = model.screenWidth;
            strictest.screenHeight = model.screenHeight;
        }
    }
    QList<Handset> all;
    for (const QString &name : seriesOrder)
        all.append(series.value(name));
    return all + models;
}

} // namespace

const QList<Handset> &Handsets()
{
    static const QList<Handset> handsets = readHandsets();
    return handsets;
}

std::optional<Handset> FindHandset(const QString &name)
{
    const QString wanted = key(name);
    for (const Handset &handset : Handsets())
        if (key(handset.name) == wanted)
            return handset;
    return std::nullopt;
}

QString HtmlVersionText(int tenths)
{
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}
