#include "preview/screen_colours.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

// The levels of each channel a screen shows, evenly spaced from 0 to 255.
struct Levels {
    std::array<int, 3> counts; // red, green, blue; grey screens use the first
    bool grey = false;
    bool spread = false; // whether a colour the screen lacks is spread over its neighbours
};

std::optional<Levels> levelsOf(int depth)
{
    if (depth <= 0 || depth >= 65536)
        return std::nullopt;
    if (depth < 256)
        return Levels{{std::max(2, depth), 0, 0}, true, true};
    if (depth < 4096)
        return Levels{{8, 8, 4}, false, true};
    return Levels{{16, 16, 16}, false, false};
}

// The level of `count` nearest to `value`.
int nearestLevel(int value, int count)
{
    const int index = (std::clamp(value, 0, 255) * (count - 1) + 127) / 255;
    return (index * 255 + (count - 1) / 2) / (count - 1);
}

// The channels of a pixel as the screen takes them: its grey, or its red, green and blue.
std::array<int, 3> channelsOf(QRgb pixel, bool grey)
{
    if (grey)
        return {qGray(pixel), 0, 0};
    return {qRed(pixel), qGreen(pixel), qBlue(pixel)};
}

QRgb pixelOf(const std::array<int, 3> &channels, bool grey)
{
    return grey ? qRgb(channels[0], channels[0], channels[0])
                : qRgb(channels[0], channels[1], channels[2]);
}

} // namespace

bool ShowsEveryColour(int depth)
{
    return !levelsOf(depth);
}

QColor NearestScreenColour(QColor colour, int depth)
{
    const std::optional<Levels> levels = levelsOf(depth);
    if (!levels)
        return colour;
    std::array<int, 3> channels = channelsOf(colour.rgb(), levels->grey);
    for (int c = 0; c < (levels->grey ? 1 : 3); ++c)
        channels[c] = nearestLevel(channels[c], levels->counts[c]);
    return QColor(pixelOf(channels, levels->grey));
}

// Floyd and Steinberg's error diffusion: what a pixel lacks of its colour goes to the pixels
// right of it and below it, in sixteenths.
QImage ScreenColours(QImage picture, int depth)
{
    const std::optional<Levels> levels = levelsOf(depth);
    if (!levels || picture.isNull())
        return picture;
    // A picture handed over is changed where it lies.
    if (picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    const int channelCount = levels->grey ? 1 : 3;
    const std::size_t rowLength = std::size_t(picture.width() + 2) * channelCount;
    // The error still to be spread in this row and the next, with a pixel to spare at each side.
    std::vector<int> thisRow(rowLength);
    std::vector<int> nextRow(rowLength);
    for (int y = 0; y < picture.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(picture.scanLine(y));
        std::fill(nextRow.begin(), nextRow.end(), 0);
        for (int x = 0; x < picture.width(); ++x) {
            std::array<int, 3> channels = channelsOf(row[x], levels->grey);
            for (int c = 0; c < channelCount; ++c) {
                const auto at = [&](int column) { return std::size_t(column * channelCount + c); };
                const int wanted = channels[c] + thisRow[at(x + 1)] / 16;
                channels[c] = nearestLevel(wanted, levels->counts[c]);
                if (!levels->spread)
                    continue;
                const int error = wanted - channels[c];
                thisRow[at(x + 2)] += 7 * error;
                nextRow[at(x)] += 3 * error;
                nextRow[at(x + 1)] += 5 * error;
                nextRow[at(x + 2)] += error;
            }
            row[x] = pixelOf(channels, levels->grey);
        }
        std::swap(thisRow, nextRow);
    }
    return picture;
}
