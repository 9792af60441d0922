#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The rows of one of the program's tables of handset facts (data/imode/*.tsv, built into the
// program): tab-separated, after the comment lines that name the sources and the line of
// column names. Each row has at least `columns` fields; missing ones read as empty.
QList<QStringList> FactsTableRows(const QString &name, qsizetype columns);
