#pragma once

#include <QColor>
#include <QImage>

constexpr int MapCellPixels = 30;
constexpr int MapPixels = MapCellPixels * 8;

// The map picture before any cell is drawn: white, with light grey grid lines on the
// multiples of 30.
QImage blankMapPicture();

// Paints one cell: its inside wiped white inside a frame of `frame`, then the text in black
// from 3 pixels inside the cell's corner, not clipped to the cell.
void DrawMapCell(QImage &picture, int column, int row, const QString &text, const QColor &frame);

// The cell under a point of the picture; false when the point lies outside the grid.
bool cellAt(const QPoint &point, int &column, int &row);
