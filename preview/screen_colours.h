#pragma once

#include <QColor>
#include <QImage>

// What a handset's screen makes of a picture drawn for it, by the colours the screen has
// (Handset::colourDepth): black and white (2) and grey screens (4) show grey levels, the
// 256-colour screens a fixed palette of 8 red × 8 green × 4 blue levels, 4096-colour screens
// 16 levels of each; 65536 colours and more, or a depth not known, show the picture as it is.
// Where the screen has fewer colours than the picture, each colour it lacks is spread over
// neighbouring pixels of the colours it has, as the 256-colour screens do, so that an area
// keeps its shade; a 4096-colour screen shows the nearest colour of its own.
QImage ScreenColours(QImage picture, int depth);

// Whether the screen shows every colour of a picture: 65536 colours and more, or not known.
bool ShowsEveryColour(int depth);

// The colour of the screen nearest to `colour`, for an area drawn in one colour.
QColor NearestScreenColour(QColor colour, int depth);
