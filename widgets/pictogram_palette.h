#pragma once

#include "drawings/pictogram_pictures.h"

#include <QFrame>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTabWidget;
class PictogramGrid;
struct Pictogram;

// The pictograms to choose from, as pictures: the ones used lately first, then the basic and
// the extended ones on two tabs, and a search by name ("晴" finds 晴れ). It pops up under
// the button that opened it and closes when one is chosen, Escape is pressed or the user
// clicks elsewhere.
class PictogramPalette : public QFrame {
    Q_OBJECT

public:
    static constexpr int RecentCount = 16;

    explicit PictogramPalette(QWidget *parent = nullptr);

    // The pictograms used lately, by number, the latest first.
    void setRecent(const QStringList &numbers);
    QStringList recent() const;

    void popUpBelow(const QWidget &anchor);

    QLineEdit *searchBox;
    PictogramGrid *recentGrid;
    QTabWidget *tabs;
    PictogramGrid *basicGrid;
    PictogramGrid *extendedGrid;
    QLabel *pointedName;

signals:
    void chosen(const Pictogram &pictogram);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void filter(const QString &search);
    void choose(const Pictogram &pictogram);
    PictogramGrid *shownGrid() const;

    PictogramPictures pictures;
};
