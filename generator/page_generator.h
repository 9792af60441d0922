#pragma once

#include <QByteArray>
#include <QList>

struct PageProject;
struct Pattern;

// The lines of the body text kept from the last page written.
struct GeneratorState {
    QList<QByteArray> BodyLines;
};

// The BODY line of a page: the page's colours when colour support is on, plain otherwise.
QByteArray BodyLine(const PageProject &page);

// The i-mode page: the fixed head lines, then the first `partCount` parts of the pattern in
// order, each writing its slot when the slot is used, then the closing line. Every stored text
// goes out byte for byte.
QByteArray GeneratePageBytes(const PageProject &page, const Pattern &pattern, int partCount,
                             const QList<QByteArray> &bodyLines);
