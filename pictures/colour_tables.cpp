#include "pictures/colour_tables.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

// The pixels an adaptive palette is made from, at most.
constexpr qint64 mostColoursSampled = 120'000;
// Past this many colours, k-means works on colours gathered by 5 bits a channel.
constexpr std::size_t mostColoursRefinedExactly = 8192;

struct Bucket {
    std::array<qint64, 3> sum{};
    qint64 count = 0;
};

struct ColourSample {
    std::vector<std::array<int, 3>> pixels;
    std::vector<Bucket> buckets;
};

// The colours of the picture's opaque pixels, in the order first met, when there are at most
// `most`; empty when there are more.
QList<QRgb> opaqueColours(const QImage &picture, int most)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<bool> seen(1 << 24);
    QList<QRgb> colours;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) < 128)
                continue;
            const std::size_t colour = line[x] & 0xFFFFFF;
            if (!seen[colour]) {
                seen[colour] = true;
                if (colours.size() == most)
                    return {};
                colours.append(qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
            }
        }
    }
    return colours;
}


// The fixed palette of the 256-colour screens: 8 levels of red and green, 4 of blue.
QList<QRgb> fixedPalette()
{
    QList<QRgb> table;
    for (int r = 0; r < 8; ++r)
        for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b)
                table.append(qRgb(r * 255 / 7, g * 255 / 7, b * 255 / 3));
    return table;
}

// The entry of a table nearest to a colour, as NearestColour finds it (ties to the lower
// index), found fast: the entries sorted by green, the search goes out from the colour's green
// and stops where green alone lies farther than the best found.
class NearestSearch {
public:
    explicit NearestSearch(const QList<QRgb> &table)
    {
        for (int index = 0; index < int(table.size()); ++index)
            entries.push_back({qRed(table[index]), qGreen(table[index]), qBlue(table[index]), index});
        std::sort(entries.begin(), entries.end(),
                  [](const Entry &a, const Entry &b) { return a.g != b.g ? a.g < b.g : a.index < b.index; });
    }

    int operator()(int r, int g, int b) const
    {
        int best = std::numeric_limits<int>::max();
        int bestIndex = 0;
        const auto consider = [&](const Entry &entry) {
            const int dr = entry.r - r, dg = entry.g - g, db = entry.b - b;
            const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
            if (distance < best || (distance == best && entry.index < bestIndex)) {
                best = distance;
                bestIndex = entry.index;
            }
        };
        const auto start = std::lower_bound(entries.begin(), entries.end(), g,
                                            [](const Entry &entry, int green) { return entry.g < green; });
        for (auto up = start; up != entries.end() && 4 * (up->g - g) * (up->g - g) <= best; ++up)
            consider(*up);
        for (auto down = start; down != entries.begin();) {
            --down;
            if (4 * (down->g - g) * (down->g - g) > best)
                break;
            consider(*down);
        }
        return bestIndex;
    }

private:
    struct Entry {
        int r, g, b, index;
    };
    std::vector<Entry> entries;
};

// The picture's opaque colours as the palettes are made from them: every pixel of a picture of
// a phone's size, of a larger one a sample, and the same gathered by colour for k-means.
ColourSample sampleColours(const QImage &picture)
{
    ColourSample sample;
    std::vector<std::array<int, 3>> &pixels = sample.pixels;
    const qint64 all = qint64(picture.width()) * picture.height();
    // Every pixel of a picture of a phone's size; of a larger one, a sample whose step is odd
    // and so does not keep to the same columns, where thin strokes of text would be missed.
    const qint64 step = all <= mostColoursSampled ? 1 : (all / mostColoursSampled) | 1;
    for (qint64 at = 0; at < all; at += step) {
        const QRgb colour = picture.pixel(int(at % picture.width()), int(at / picture.width()));
        if (qAlpha(colour) >= 128)
            pixels.push_back({qRed(colour), qGreen(colour), qBlue(colour)});
    }
    // Gathered by colour, each with the sum of its pixels: exactly where a picture has few
    // enough colours, else in buckets of 5 bits a channel.
    std::sort(pixels.begin(), pixels.end());
    const std::vector<std::array<int, 3>> &sorted = pixels;
    std::vector<Bucket> &buckets = sample.buckets;
    for (std::size_t at = 0; at < sorted.size();) {
        std::size_t next = at;
        while (next < sorted.size() && sorted[next] == sorted[at])
            ++next;
        Bucket bucket;
        for (std::size_t channel = 0; channel < 3; ++channel)
            bucket.sum[channel] = qint64(sorted[at][channel]) * qint64(next - at);
        bucket.count = qint64(next - at);
        buckets.push_back(bucket);
        at = next;
    }
    if (buckets.size() > mostColoursRefinedExactly) {
        std::vector<Bucket> coarse(32768);
        for (const Bucket &bucket : buckets) {
            const auto mean = [&](std::size_t channel) { return int(bucket.sum[channel] / bucket.count); };
            Bucket &into = coarse[std::size_t((mean(0) >> 3) << 10 | (mean(1) >> 3) << 5 | (mean(2) >> 3))];
            for (std::size_t channel = 0; channel < 3; ++channel)
                into.sum[channel] += bucket.sum[channel];
            into.count += bucket.count;
        }
        std::erase_if(coarse, [](const Bucket &bucket) { return bucket.count == 0; });
        buckets = std::move(coarse);
    }
    return sample;
}

// Rounds of k-means (Lloyd's): each entry of the table moves to the mean of the sampled colours
// nearest it, by the same weighed distance the pixels are later matched by. The median cut
// splits the colours by their spread; this fits the entries to where the colours lie.
void refineByMeans(QList<QRgb> &table, const std::vector<Bucket> &buckets)
{
    constexpr int rounds = 10;
    for (int round = 0; round < rounds; ++round) {
        std::vector<Bucket> gathered(std::size_t(table.size()));
        const NearestSearch nearest(table);
        for (const Bucket &bucket : buckets) {
            const auto mean = [&](std::size_t channel) { return int(bucket.sum[channel] / bucket.count); };
            Bucket &into = gathered[std::size_t(nearest(mean(0), mean(1), mean(2)))];
            for (std::size_t channel = 0; channel < 3; ++channel)
                into.sum[channel] += bucket.sum[channel];
            into.count += bucket.count;
        }
        bool moved = false;
        for (qsizetype index = 0; index < table.size(); ++index) {
            const Bucket &entry = gathered[std::size_t(index)];
            if (entry.count == 0)
                continue;
            const QRgb mean = qRgb(int((entry.sum[0] + entry.count / 2) / entry.count),
                                   int((entry.sum[1] + entry.count / 2) / entry.count),
                                   int((entry.sum[2] + entry.count / 2) / entry.count));
            moved = moved || mean != table[index];
            table[index] = mean;
        }
        if (!moved)
            break;
    }
}

// At most `count` colours of the picture's own, by median cut over a sample of its pixels,
// refined by k-means.
QList<QRgb> adaptivePalette(const ColourSample &sample, int count)
{
    std::vector<std::array<int, 3>> pixels = sample.pixels;
    if (pixels.empty())
        return {qRgb(0, 0, 0)};
    // Each box is measured by how far its colours lie from their mean along its widest
    // channel, weighed as the eye weighs the channels; the box of the largest such error is
    // cut at its median, so colours many pixels share get entries of their own.
    struct Box {
        std::size_t begin, end;
        double error = 0;
        int channel = 0;
    };
    constexpr std::array<double, 3> weights{3, 4, 2};
    const auto measured = [&pixels, &weights](std::size_t begin, std::size_t end) {
        Box box{begin, end};
        if (end - begin < 2)
            return box;
        for (int channel = 0; channel < 3; ++channel) {
            double sum = 0, squares = 0;
            for (std::size_t at = begin; at < end; ++at) {
                const double value = pixels[at][std::size_t(channel)];
                sum += value;
                squares += value * value;
            }
            const double error = (squares - sum * sum / double(end - begin)) * weights[std::size_t(channel)];
            if (error > box.error) {
                box.error = error;
                box.channel = channel;
            }
        }
        return box;
    };
    std::vector<Box> boxes{measured(0, pixels.size())};
    while (int(boxes.size()) < count) {
        const auto worst = std::max_element(boxes.begin(), boxes.end(),
                                             [](const Box &a, const Box &b) { return a.error < b.error; });
        if (worst->error <= 0)
            break;
        const Box box = *worst;
        const std::size_t middle = box.begin + (box.end - box.begin) / 2;
        const int channel = box.channel;
        std::nth_element(pixels.begin() + std::ptrdiff_t(box.begin),
                         pixels.begin() + std::ptrdiff_t(middle),
                         pixels.begin() + std::ptrdiff_t(box.end),
                         [channel](const auto &a, const auto &b) { return a[channel] < b[channel]; });
        *worst = measured(box.begin, middle);
        boxes.push_back(measured(middle, box.end));
    }
    QList<QRgb> table;
    for (const Box &box : boxes) {
        std::array<qint64, 3> sum{};
        for (std::size_t at = box.begin; at < box.end; ++at)
            for (int channel = 0; channel < 3; ++channel)
                sum[std::size_t(channel)] += pixels[at][std::size_t(channel)];
        const qint64 n = qint64(box.end - box.begin);
        table.append(qRgb(int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)));
    }
    refineByMeans(table, sample.buckets);
    return table;
}

} // namespace

QList<QRgb> GreyLevels(int levels)
{
    QList<QRgb> table;
    for (int level = 0; level < levels; ++level) {
        const int grey = level * 255 / (levels - 1);
        table.append(qRgb(grey, grey, grey));
    }
    return table;
}

// The entry of `table` nearest to a colour.
int NearestColour(const QList<QRgb> &table, int r, int g, int b)
{
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int index = 0; index < int(table.size()); ++index) {
        const int dr = qRed(table[index]) - r, dg = qGreen(table[index]) - g, db = qBlue(table[index]) - b;
        const int distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = index;
        }
    }
    return best;
}

// The picture in the colours of `table`, each pixel the nearest entry; with diffusion, each
// pixel's error is spread over its neighbours (Floyd and Steinberg) so that an area keeps its
// shade. Transparent pixels take a colour of their own, the last of the table.
QImage ReducedPicture(const QImage &picture, QList<QRgb> table, bool transparent, Diffusion diffusion)
{
    if (transparent) {
        if (table.size() >= 256)
            table.removeAt(table.size() - 2); // room for it: one colour of the fixed palette goes
        table.append(qRgba(0, 0, 0, 0));
    }
    const int colours = int(table.size()) - (transparent ? 1 : 0);
    const QList<QRgb> shown = table.mid(0, colours);
    const NearestSearch nearest(shown);
    QImage indexed(picture.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    const int width = picture.width();
    std::vector<std::array<int, 3>> error(std::size_t(width + 2)), below(std::size_t(width + 2));
    // The nearest entry of the colours met lately, by a hash of the colour: exact, and most
    // colours of a picture come again and again.
    struct Found {
        quint32 colour = 0xFFFFFFFF;
        short index = -1;
    };
    std::vector<Found> found(65536);
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        uchar *out = indexed.scanLine(y);
        std::fill(below.begin(), below.end(), std::array<int, 3>{});
        for (int x = 0; x < width; ++x) {
            if (transparent && qAlpha(line[x]) < 128) {
                out[x] = uchar(table.size() - 1);
                continue;
            }
            const std::array<int, 3> &carried = error[std::size_t(x + 1)];
            const int r = std::clamp(qRed(line[x]) + carried[0] / 16, 0, 255);
            const int g = std::clamp(qGreen(line[x]) + carried[1] / 16, 0, 255);
            const int b = std::clamp(qBlue(line[x]) + carried[2] / 16, 0, 255);
            const quint32 colour = quint32(r << 16 | g << 8 | b);
            Found &slot = found[(colour * 2654435761u) >> 16];
            if (slot.colour != colour)
                slot = {colour, short(nearest(r, g, b))};
            const int index = slot.index;
            out[x] = uchar(index);
            if (diffusion == Diffusion::Off)
                continue;
            const int left[3] = {r - qRed(shown[index]), g - qGreen(shown[index]), b - qBlue(shown[index])};
            for (int channel = 0; channel < 3; ++channel) {
                error[std::size_t(x + 2)][std::size_t(channel)] += left[channel] * 7;
                below[std::size_t(x)][std::size_t(channel)] += left[channel] * 3;
                below[std::size_t(x + 1)][std::size_t(channel)] += left[channel] * 5;
                below[std::size_t(x + 2)][std::size_t(channel)] += left[channel];
            }
        }
        std::swap(error, below);
    }
    return indexed;
}

// The colour tables tried for the screen, from the most colours down.
QList<QList<QRgb>> ColourTablesFor(const QImage &picture, int depth)
{
    if (depth == 2)
        return {GreyLevels(2)};
    if (depth == 4)
        return {GreyLevels(4)};
    if (depth == 256) {
        // Fewer colours are the fixed palette's nearest to the picture's own.
        const QList<QRgb> fixed = fixedPalette();
        const ColourSample sample = sampleColours(picture);
        QList<QList<QRgb>> tables{fixed};
        for (const int count : {64, 32, FewestColours}) {
            QList<QRgb> subset;
            for (const QRgb colour : adaptivePalette(sample, count)) {
                const QRgb entry = fixed[NearestColour(fixed, qRed(colour), qGreen(colour), qBlue(colour))];
                if (!subset.contains(entry))
                    subset.append(entry);
            }
            tables.append(subset);
        }
        return tables;
    }
    const ColourSample sample = sampleColours(picture);
    QList<QList<QRgb>> tables;
    for (const int count : {255, 128, 64, 32, FewestColours})
        tables.append(adaptivePalette(sample, count));
    // A picture of no more colours than a table holds keeps them exactly, where they fit.
    if (const QList<QRgb> own = opaqueColours(picture, 255); !own.isEmpty())
        tables.prepend(own);
    return tables;
}
