#include "widgets/pictogram_grid.h"

#include "drawings/pictogram_pictures.h"
#include "imode/pictograms.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int pictureHeight = 20;

} // namespace

PictogramGrid::PictogramGrid(PictogramPictures &pictures, int columns, int rows, QWidget *parent)
    : QWidget(parent), pictures(pictures), columns(columns)
{
    setFixedSize(columns * CellSize + 1, rows * CellSize + 1);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictogramGrid::setPictograms(const QList<const Pictogram *> &pictograms)
{
    shown = pictograms;
    pointedIndex = -1;
    update();
}

void PictogramGrid::setEmptyText(const QString &text)
{
    emptyText = text;
}

bool PictogramGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int index = indexAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(), shown[index]->name, this, cell(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PictogramGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    if (shown.isEmpty()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(rect(), Qt::AlignCenter, emptyText);
        return;
    }
    for (int index = 0; index < shown.size(); ++index) {
        const QRect box = cell(index);
        if (index == pointedIndex) {
            painter.fillRect(box.adjusted(1, 1, 0, 0), palette().highlight().color().lighter(170));
            if (hasFocus()) {
                painter.setPen(palette().highlight().color());
                painter.drawRect(box.adjusted(1, 1, -1, -1));
            }
        }
        QImage picture = pictures.picture(*shown[index], pictureHeight);
        // A mark drawn as a labelled badge may be wider than a cell; the name says what it is.
        if (picture.width() > CellSize - 2)
            picture = picture.scaledToWidth(CellSize - 2, Qt::SmoothTransformation);
        painter.drawImage(box.x() + (CellSize - picture.width()) / 2 + 1,
                          box.y() + (CellSize - picture.height()) / 2 + 1, picture);
    }
    painter.setPen(palette().color(QPalette::Midlight));
    const int rows = (int(shown.size()) + columns - 1) / columns;
    for (int row = 0; row <= rows; ++row)
        painter.drawLine(0, row * CellSize, columns * CellSize, row * CellSize);
    for (int column = 0; column <= columns; ++column)
        painter.drawLine(column * CellSize, 0, column * CellSize, rows * CellSize);
}

void PictogramGrid::mouseMoveEvent(QMouseEvent *event)
{
    point(indexAt(event->position().toPoint()));
}

void PictogramGrid::mouseReleaseEvent(QMouseEvent *event)
{
    const int index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index >= 0)
        emit chosen(*shown[index]);
}

void PictogramGrid::leaveEvent(QEvent *)
{
    if (!hasFocus())
        point(-1);
}

void PictogramGrid::keyPressEvent(QKeyEvent *event)
{
    if (shown.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int last = int(shown.size()) - 1;
    const int at = std::max(pointedIndex, 0);
    switch (event->key()) {
    case Qt::Key_Left:
        point(std::max(at - 1, 0));
        break;
    case Qt::Key_Right:
        point(pointedIndex < 0 ? 0 : std::min(at + 1, last));
        break;
    case Qt::Key_Up:
        if (at < columns) {
            // Above the first row is the search box.
            point(-1);
            focusPreviousChild();
        } else {
            point(at - columns);
        }
        break;
    case Qt::Key_Down:
        point(pointedIndex < 0 ? 0 : std::min(at + columns, last));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (pointedIndex >= 0)
            emit chosen(*shown[pointedIndex]);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
}

int PictogramGrid::indexAt(QPoint point) const
{
    if (point.x() < 0 || point.y() < 0 || point.x() >= columns * CellSize)
        return -1;
    const int index = point.y() / CellSize * columns + point.x() / CellSize;
    return index < shown.size() ? index : -1;
}

QRect PictogramGrid::cell(int index) const
{
    return {index % columns * CellSize, index / columns * CellSize, CellSize, CellSize};
}

void PictogramGrid::point(int index)
{
    if (index == pointedIndex)
        return;
    pointedIndex = index;
    update();
    emit pointed(index >= 0 ? shown[index] : nullptr);
}
