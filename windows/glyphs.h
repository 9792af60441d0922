#pragma once

#include <QFont>
#include <QImage>
#include <QString>

// The small pictures of the main window, drawn in code so the program needs no image files.
// Every picture is ARGB32 premultiplied; all but the title band have a transparent ground.

// A purple book with a yellow question mark, size × size. Drawn pixel by pixel for 16 and 20;
// other sizes are scaled from the nearer of the two.
QImage helpBookGlyph(int size);

// 20 × 20: a bold "f", "t" and "p" in blue, green and yellow, each with a thin dark outline.
QImage ftpGlyph();

// 16 × 16: a white page with a folded corner and a few grey lines of text.
QImage textPageGlyph();

// 16 × 16: a framed landscape of sky, sun and a green hill.
QImage landscapePictureGlyph();

// 16 × 16: a blue globe with green land and meridians.
QImage globeGlyph();

// 16 × 16: a yellow smiling face, the sign of the pictogram palette.
QImage smilingFaceGlyph();

// 20 × 20: a blue triangle pointing right, centred.
QImage nextTriangleGlyph();

// An opaque band, width × height, shading from deep blue-violet at the left to light violet
// at the right, with the caption in white 6 pixels from the left, centred from top to bottom.
QImage titleBandPicture(int width, int height, const QString &caption, const QFont &font);
