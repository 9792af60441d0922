#include "model/pictograms.h"

#include "model/facts_table.h"

#include <QHash>

namespace {

QList<Pictogram> readPictograms()
{
    QList<Pictogram> pictograms;
    for (const QStringList &row : FactsTableRows(QStringLiteral("pictograms.tsv"), 7)) {
        QString unicode;
        for (const QString &point : row[3].split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const char32_t value = point.toUInt(nullptr, 16);
            unicode += QString::fromUcs4(&value, 1);
        }
        pictograms.append({row[0], row[1] == QLatin1String("extended"),
                           std::uint16_t(row[2].toUInt(nullptr, 16)), unicode, row[4], row[5],
                           row[6]});
    }
    return pictograms;
}

} // namespace

QByteArray Pictogram::decimalReference() const
{
    return "&#" + QByteArray::number(code) + ';';
}

const QList<Pictogram> &Pictograms()
{
    static const QList<Pictogram> pictograms = readPictograms();
    return pictograms;
}

const Pictogram *PictogramWithCode(std::uint16_t code)
{
    static const QHash<std::uint16_t, const Pictogram *> byCode = [] {
        QHash<std::uint16_t, const Pictogram *> table;
        for (const Pictogram &pictogram : Pictograms())
            table.insert(pictogram.code, &pictogram);
        return table;
    }();
    return byCode.value(code, nullptr);
}
