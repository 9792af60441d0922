#pragma once

#include "textmap/text_map.h"

#include <QByteArray>
#include <QList>

#include <array>

struct PageProject;

constexpr int LegendCount = 5;

// The symbols of the legend, in legend order: ○ △ □ ☆ ×, as Shift-JIS.
const std::array<QByteArray, LegendCount> &legendSymbols();

// What the map data file keeps: the title, the cells and the legend descriptions.
struct MapData {
    QByteArray title;
    MapCells cells;
    std::array<QByteArray, LegendCount> descriptions;
};

// The 70 lines of a map data file.
QByteArray WriteMapData(const MapData &map);

// Reads a map data file; lines the file does not have read as empty texts.
MapData ReadMapData(const QByteArray &bytes);

// Whether the bytes are a whole map data file, as WriteMapData writes one: text of at least
// its 70 lines.
bool IsMapData(const QByteArray &bytes);

// Everything the exports show: the map data, which legend entries are ticked, the
// description lines and the link.
struct MapExport {
    MapData map;
    std::array<bool, LegendCount> ticked{};
    QList<QByteArray> descriptionLines;
    QByteArray linkText;
    QByteArray linkAddress;
};

QByteArray WriteMapText(const MapExport &map);

// The map as a small i-mode page, in the page's colours when colour support is on. The link
// is written only when both its text and its address hold more than blanks.
QByteArray WriteMapHtml(const MapExport &map, const PageProject &page);
