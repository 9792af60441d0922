#pragma once

#include "text/sjis.h"

#include <QByteArray>

#include <array>
#include <cstdint>

constexpr int MapSize = 8;
constexpr int MapCellCount = MapSize * MapSize;

// The cells of a map, row by row from the top, each row from the left.
using MapCells = std::array<QByteArray, MapCellCount>;

inline int cellIndex(int column, int row)
{
    return MapSize * row + column;
}

// The text map being drawn: its cells and the cell the drawing and the menu act on.
struct TextMap {
    MapCells Cells;
    int CurrentColumn = 0;
    int CurrentRow = 0;
    std::uint8_t SampleMapNumber = 0; // the sample map read last since opening; 0 for none
};

// An erased cell holds the full-width space, so every row keeps its width.
inline QByteArray emptyCell()
{
    return sjis::fullWidthSpace();
}
