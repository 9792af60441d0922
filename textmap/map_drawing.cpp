#include "textmap/map_drawing.h"

#include "drawings/fonts.h"

#include <QPainter>

QImage blankMapPicture()
{
    QImage picture(MapPixels, MapPixels, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setPen(QColor(200, 200, 200));
    // Lines end one pixel short of their end point; the last ones fall outside the picture.
    for (int i = 0; i <= 8; ++i)
        painter.drawLine(0, MapCellPixels * i, MapPixels - 1, MapCellPixels * i);
    for (int i = 0; i <= 8; ++i)
        painter.drawLine(MapCellPixels * i, 0, MapCellPixels * i, MapPixels - 1);
    return picture;
}

void DrawMapCell(QImage &picture, int column, int row, const QString &text, const QColor &frame)
{
    const int left = MapCellPixels * column;
    const int top = MapCellPixels * row;
    QPainter painter(&picture);
    painter.fillRect(left + 2, top + 2, 26, 26, Qt::white);
    painter.setPen(frame);
    painter.drawRect(left + 2, top + 2, 25, 25);
    painter.setPen(Qt::black);
    painter.setFont(fontWithCellHeight(fixedGothic(), 24));
    painter.drawText(QRect(left + 3, top + 3, MapPixels, MapCellPixels),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip, text);
}

bool cellAt(const QPoint &point, int &column, int &row)
{
    if (point.x() < 0 || point.y() < 0 || point.x() >= MapPixels || point.y() >= MapPixels)
        return false;
    column = point.x() / MapCellPixels;
    row = point.y() / MapCellPixels;
    return true;
}
