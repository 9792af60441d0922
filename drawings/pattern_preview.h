#pragma once

#include "drawings/strip_pictures.h"

#include <QImage>

struct Pattern;

constexpr int PreviewHeight = 500;

// The preview of a pattern: 170 × 500, white, with the strip of part k at the strip's offset
// and y = (k − 1) × 20. Parts below the picture's height are cut off.
QImage DrawPatternPreview(const Pattern &pattern, const StripPictures &strips);
