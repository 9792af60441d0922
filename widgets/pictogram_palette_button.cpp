#include "widgets/pictogram_palette_button.h"

#include "model/program_settings.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette.h"

#include <QPainter>
#include <QShortcut>

namespace {

// A smiling face, drawn rather than taken from the emoji font, which loads only with the
// palette.
QPixmap smilingFace(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(150, 100, 0), 1));
    painter.setBrush(QColor(255, 200, 40));
    const qreal edge = size - 1.0;
    painter.drawEllipse(QRectF(0.5, 0.5, edge - 0.5, edge - 0.5));
    painter.setBrush(QColor(90, 60, 0));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(edge * 0.34, edge * 0.38), edge * 0.07, edge * 0.1);
    painter.drawEllipse(QPointF(edge * 0.66, edge * 0.38), edge * 0.07, edge * 0.1);
    painter.setPen(QPen(QColor(90, 60, 0), 1.2));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(edge * 0.25, edge * 0.3, edge * 0.5, edge * 0.45), 200 * 16, 140 * 16);
    return QPixmap::fromImage(image);
}

} // namespace

PictogramPaletteButton::PictogramPaletteButton(PictogramLineEdit &edit,
                                               const QString &programFolder,
                                               const QRect &geometry, QWidget *parent)
    : QToolButton(parent), edit(edit), programFolder(programFolder)
{
    setGeometry(geometry);
    // The box keeps the focus, and with it the cursor where the pictogram goes.
    setFocusPolicy(Qt::NoFocus);
    setToolTip(QStringLiteral("絵文字を入れる（Ctrl+E）"));
    setIcon(smilingFace(16));
    setIconSize(QSize(16, 16));
    connect(this, &QToolButton::clicked, this, &PictogramPaletteButton::openPalette);
    // From the keyboard, the box itself opens it.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), &edit, [this] { openPalette(); },
                  Qt::WidgetShortcut);
}

void PictogramPaletteButton::openPalette()
{
    if (!palette) {
        palette = new PictogramPalette(this);
        connect(palette, &PictogramPalette::chosen, this, [this](const Pictogram &pictogram) {
            edit.insertPictogram(pictogram);
            SaveRecentPictograms(programFolder, palette->recent());
            edit.setFocus();
        });
    }
    // Another box may have used some since.
    palette->setRecent(SavedRecentPictograms(programFolder));
    palette->popUpBelow(*this);
}
