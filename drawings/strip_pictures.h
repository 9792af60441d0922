#pragma once

#include <QImage>

#include <array>

struct PatternPart;

constexpr int StripWidth = 170;
constexpr int StripHeight = 20;
constexpr int StripCount = 22;

// The pictures of the parts, one 170 × 20 strip each: the item's name and number in the colour
// of its kind, and a grey bar for the separator.
using StripPictures = std::array<QImage, StripCount>;

StripPictures makeStripPictures();

// The strip of a part, or -1 when its code and slot have none.
int stripIndexFor(const PatternPart &part);

// The horizontal offset at which a strip is drawn in the preview.
int stripOffset(int stripIndex);
