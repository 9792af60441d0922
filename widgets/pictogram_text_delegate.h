#pragma once

#include "drawings/pictogram_pictures.h"

#include <QStyledItemDelegate>

#include <memory>

class QTextDocument;

// Draws an item's text with the pictograms it quotes as pictures, in either form (a raw
// code or a decimal reference), wrapped to the column; a text without one is drawn as usual,
// and in a view that wraps its texts is as tall as its lines.
class PictogramTextDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    // The text laid out to the width; null when it quotes no pictogram.
    std::unique_ptr<QTextDocument> laidOut(const QString &text, const QFont &font, int width) const;

    mutable PictogramPictures pictures;
};
