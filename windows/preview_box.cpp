#include "windows/preview_box.h"

#include <QLabel>
#include <QPixmap>
#include <QScrollArea>

QScrollArea *addPreviewBox(QWidget *parent, const QRect &geometry, int pictureHeight,
                           QLabel *&picture)
{
    auto *box = new QScrollArea(parent);
    box->setGeometry(geometry);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setFrameShape(QFrame::Box);
    QPalette white = box->palette();
    white.setColor(QPalette::Window, Qt::white);
    box->setPalette(white);
    box->viewport()->setAutoFillBackground(true);
    box->viewport()->setPalette(white);
    picture = new QLabel;
    picture->setGeometry(0, 0, 170, pictureHeight);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setWidget(picture);
    return box;
}

void showPreview(QLabel *picture, const QImage &preview)
{
    picture->setPixmap(QPixmap::fromImage(preview));
    picture->resize(preview.size());
}
