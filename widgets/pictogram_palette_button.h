#pragma once

#include <QToolButton>

class Desktop;
class PictogramLineEdit;
class PictogramPalette;

// The small button beside a page text's box that opens the pictogram palette; the pictogram
// chosen goes in at the box's cursor. The palette is made when first asked for, and the
// pictograms used lately are kept in the program's settings, shared by every box; a settings
// file that cannot be read or written is told of once.
class PictogramPaletteButton : public QToolButton {
    Q_OBJECT

public:
    PictogramPaletteButton(PictogramLineEdit &edit, const QString &programFolder,
                           Desktop &desktop, const QRect &geometry, const QImage &icon,
                           QWidget *parent);

    void openPalette();

    PictogramPalette *palette = nullptr;

private:
    PictogramLineEdit &edit;
    const QString &programFolder;
    Desktop &desktop;
};
