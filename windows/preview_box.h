#pragma once

#include <QImage>
#include <QRect>

class QLabel;
class QScrollArea;
class QWidget;

// The white box, scrolling up and down only, in which a pattern preview is shown.
QScrollArea *addPreviewBox(QWidget *parent, const QRect &geometry, int pictureHeight,
                           QLabel *&picture);

// Shows a preview in the box's picture, which takes the preview's size.
void showPreview(QLabel *picture, const QImage &preview);
