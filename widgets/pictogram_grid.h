#pragma once

#include <QList>
#include <QWidget>

class PictogramPictures;
struct Pictogram;

// A grid of pictograms drawn as pictures, to choose one with the mouse or the keys: the
// arrow keys move, Enter or Space chooses. A cell's tool tip names its pictogram.
class PictogramGrid : public QWidget {
    Q_OBJECT

public:
    static constexpr int CellSize = 26;

    PictogramGrid(PictogramPictures &pictures, int columns, int rows, QWidget *parent = nullptr);

    void setPictograms(const QList<const Pictogram *> &pictograms);
    const QList<const Pictogram *> &pictograms() const { return shown; }
    // The text shown when there is nothing to show.
    void setEmptyText(const QString &text);

signals:
    void chosen(const Pictogram &pictogram);
    // The pictogram under the mouse or the keyboard's mark; null when none.
    void pointed(const Pictogram *pictogram);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int indexAt(QPoint point) const;
    QRect cell(int index) const;
    void point(int index);

    PictogramPictures &pictures;
    int columns;
    QList<const Pictogram *> shown;
    QString emptyText;
    int pointedIndex = -1;
};
