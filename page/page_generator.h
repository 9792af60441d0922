#pragma once

#include <QByteArray>
#include <QList>

struct PageProject;
struct Pattern;

// Where a line of the page comes from, so that what is said of the line can name its item.
struct LineOrigin {
    enum class Item { Title, Colours, Comment, Body, Image, Text, Link, Direct, Separator, End };

    Item item = Item::Comment;
    int number = 0; // the slot of an image, text, link or direct input; the line of the body

    bool operator==(const LineOrigin &) const = default;
};

struct PageLine {
    QByteArray text;
    LineOrigin origin;
};

// The BODY line of a page: the page's colours when colour support is on, plain otherwise.
QByteArray BodyLine(const PageProject &page);

// The i-mode page: the fixed head lines, then the first `partCount` parts of the pattern in
// order, each writing its slot when the slot is used, then the closing line. Every stored text
// goes out byte for byte.
QByteArray GeneratePageBytes(const PageProject &page, const Pattern &pattern, int partCount,
                             const QList<QByteArray> &bodyLines);

// The same page as its lines without their line ends, each with the item it comes from.
QList<PageLine> GeneratePageLines(const PageProject &page, const Pattern &pattern, int partCount,
                                  const QList<QByteArray> &bodyLines);
