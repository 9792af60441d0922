#pragma once

#include <QImage>
#include <QList>
#include <QRgb>

// The colours a picture is made in for a phone's screen, and the picture in them.

// A table of fewer colours than this is no picture worth showing on a colour screen.
constexpr int FewestColours = 16;

// `levels` greys, evenly from black to white.
QList<QRgb> GreyLevels(int levels);

// The colour tables tried for a screen of `depth` colours, from the most colours down: two or
// four greys; the fixed 8 × 8 × 4 palette of the 256-colour screens and its entries nearest to
// the picture's own 64, 32 and 16 colours; on deeper screens the picture's own colours exactly
// where it has at most 255, and palettes of 255, 128, 64, 32 and 16 of its colours (median cut
// by the weighed spread of the colours, refined by k-means).
QList<QList<QRgb>> ColourTablesFor(const QImage &picture, int depth);

// The entry of `table` nearest to a colour, the channels weighed as the eye weighs them.
int NearestColour(const QList<QRgb> &table, int r, int g, int b);

enum class Diffusion { On, Off };

// The picture in the colours of `table` (Format_Indexed8), each pixel the nearest entry; with
// diffusion, each pixel's error is spread over its neighbours (Floyd and Steinberg) so that an
// area keeps its shade. With `transparent`, pixels less than half opaque take a colour of their
// own, the last of the table (one colour of a full table gives way to it).
QImage ReducedPicture(const QImage &picture, QList<QRgb> table, bool transparent, Diffusion diffusion);
