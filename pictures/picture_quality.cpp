#include "pictures/picture_quality.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::vector<double> lumaOf(const QImage &picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<double> luma;
    luma.reserve(std::size_t(argb.width()) * std::size_t(argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const double alpha = qAlpha(line[x]) / 255.0;
            const double over = 255.0 * (1 - alpha);
            luma.push_back(0.299 * (qRed(line[x]) * alpha + over) + 0.587 * (qGreen(line[x]) * alpha + over)
                           + 0.114 * (qBlue(line[x]) * alpha + over));
        }
    }
    return luma;
}

// Each value the mean of its 3 × 3 neighbours (fewer at the edges): the rows' sums of three
// first, then the columns' of those.
std::vector<double> blurred(const std::vector<double> &luma, int width, int height)
{
    const auto at = [width](int x, int y) { return std::size_t(y) * std::size_t(width) + std::size_t(x); };
    std::vector<double> across(luma.size());
    std::vector<int> countAcross(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        countAcross[std::size_t(x)] = 1 + (x > 0) + (x + 1 < width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            across[at(x, y)] = luma[at(x, y)] + (x > 0 ? luma[at(x - 1, y)] : 0)
                               + (x + 1 < width ? luma[at(x + 1, y)] : 0);
    std::vector<double> out(luma.size());
    for (int y = 0; y < height; ++y) {
        const int rows = 1 + (y > 0) + (y + 1 < height);
        for (int x = 0; x < width; ++x)
            out[at(x, y)] = (across[at(x, y)] + (y > 0 ? across[at(x, y - 1)] : 0)
                             + (y + 1 < height ? across[at(x, y + 1)] : 0))
                            / (rows * countAcross[std::size_t(x)]);
    }
    return out;
}

double similarity(const std::vector<double> &first, const std::vector<double> &second, int width,
                  int height)
{
    const int window = std::min({8, width, height});
    constexpr double c1 = (0.01 * 255) * (0.01 * 255);
    constexpr double c2 = (0.03 * 255) * (0.03 * 255);
    double total = 0;
    int windows = 0;
    // The last window of a row or column ends at the picture's edge.
    const auto starts = [window](int length) {
        std::vector<int> at;
        for (int start = 0; start + window < length; start += 4)
            at.push_back(start);
        at.push_back(length - window);
        return at;
    };
    const std::vector<int> columns = starts(width);
    for (const int top : starts(height))
        for (const int left : columns) {
            double sumA = 0, sumB = 0, sumAA = 0, sumBB = 0, sumAB = 0;
            for (int y = top; y < top + window; ++y)
                for (int x = left; x < left + window; ++x) {
                    const double p = first[std::size_t(y) * std::size_t(width) + std::size_t(x)];
                    const double q = second[std::size_t(y) * std::size_t(width) + std::size_t(x)];
                    sumA += p;
                    sumB += q;
                    sumAA += p * p;
                    sumBB += q * q;
                    sumAB += p * q;
                }
            const double n = double(window) * window;
            const double meanA = sumA / n;
            const double meanB = sumB / n;
            const double varA = sumAA / n - meanA * meanA;
            const double varB = sumBB / n - meanB * meanB;
            const double covariance = sumAB / n - meanA * meanB;
            total += ((2 * meanA * meanB + c1) * (2 * covariance + c2))
                     / ((meanA * meanA + meanB * meanB + c1) * (varA + varB + c2));
            ++windows;
        }
    return total / windows;
}

} // namespace

double LumaSimilarity(const QImage &a, const QImage &b, Seen seen)
{
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return 0;
    std::vector<double> first = lumaOf(a);
    std::vector<double> second = lumaOf(b);
    if (seen == Seen::Blurred) {
        first = blurred(first, a.width(), a.height());
        second = blurred(second, a.width(), a.height());
    }
    return similarity(first, second, a.width(), a.height());
}

double LumaToneError(const QImage &a, const QImage &b)
{
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return 255;
    const int width = a.width(), height = a.height();
    const std::vector<double> first = blurred(blurred(lumaOf(a), width, height), width, height);
    const std::vector<double> second = blurred(blurred(lumaOf(b), width, height), width, height);
    double total = 0;
    for (std::size_t at = 0; at < first.size(); ++at)
        total += std::abs(first[at] - second[at]);
    return first.empty() ? 0 : total / double(first.size());
}
