#pragma once

#include <QImage>

// How a picture is looked at: pixel by pixel, or blurred by one pixel as the eye sees the dots
// of a dithered screen.
enum class Seen { Sharp, Blurred };

// How alike two pictures of one size look: the structural similarity (SSIM) of their lightness
// (BT.601 luma), in windows of 8 × 8 pixels taken every 4 pixels, transparent pixels seen over
// white. 1 for the same lightness everywhere, lower the less alike; 0 for pictures of different
// sizes, or null ones.
double LumaSimilarity(const QImage &a, const QImage &b, Seen seen = Seen::Sharp);

// How far two pictures of one size are apart in tone, as the eye sees areas rather than dots:
// the mean difference of their lightness (0 to 255) after both are blurred over some five
// pixels. A dithered area keeps its tone; one of too few colours without dithering does not.
// 255 for pictures of different sizes, or null ones.
double LumaToneError(const QImage &a, const QImage &b);
