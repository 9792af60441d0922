#pragma once

#include "imode/pictogram_text.h"

#include <QHash>
#include <QImage>
#include <QTextImageFormat>

#include <cstdint>

class QFont;
class QPainter;
class QTextDocument;
struct Pictogram;

// Draws pictograms as the handsets show them, in colour and at text height: from their Unicode
// equivalent in the colour emoji font, the keypad ones as keys, and the marks that have no
// equivalent as small labelled badges. Each picture is drawn once and kept.
class PictogramPictures {
public:
    QImage picture(const Pictogram &pictogram, int height);

    // The format that shows the pictogram's picture in a document's text, standing on the
    // baseline to the depth of the text: for `height`, the height of the font's lines.
    QTextImageFormat inlinePicture(QTextDocument &document, const Pictogram &pictogram, int height);

    // A line of page text with its pictograms drawn at the height of the font's lines.
    int width(const QList<ShownRun> &runs, const QFont &font);
    // Draws the line with its top left at `at`, in the painter's font and pen.
    void draw(QPainter &painter, QPoint at, const QList<ShownRun> &runs);

private:
    QHash<std::uint32_t, QImage> drawn; // by code and height
};
