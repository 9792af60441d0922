#include "imode/facts_table.h"

#include <QFile>

QList<QStringList> FactsTableRows(const QString &name, qsizetype columns)
{
    QFile file(QStringLiteral(":/imode/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QStringList> rows;
    bool namesRead = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).chopped(1);
        if (line.startsWith(QLatin1Char('#')) || line.isEmpty())
            continue;
        if (!namesRead) {
            namesRead = true;
            continue;
        }
        QStringList fields = line.split(QLatin1Char('\t'));
        while (fields.size() < columns)
            fields.append(QString());
        rows.append(fields);
    }
    return rows;
}
