#include "pictures/picture_fitting.h"

#include "pictures/gif_writer.h"
#include "pictures/picture_decoding.h"
#include "pictures/picture_quality.h"
#include "pictures/picture_structure.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLocale>

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace {

// Pictures past this many pixels are refused before they are decoded: no page picture comes
// near it, and a file claiming more is a mistake or a trap.
constexpr qint64 mostSourcePixels = 50'000'000;
constexpr int narrowest = 24;
// A picture is at most this many times as tall as the screen is wide.
constexpr int tallest = 8;
constexpr int fewestColours = 16;
// A screen whose width is not known is taken as the widest of these years' browsers.
constexpr int unknownScreenWidth = 240;
// A source past this many pixels is scaled while it is read; a smaller one is read whole, so
// that its own colours can be counted.
constexpr qint64 mostPixelsReadWhole = 4'000'000;

struct Decoded {
    QImage picture;
    QString note;
    QString problem;
    QByteArray format;
    QSize size;
    int colours = 0;
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

// The colours the picture's pixels use, all transparent pixels one colour as a GIF keeps them;
// 0 for more than 256. A palette's entries no pixel uses are not counted.
int coloursOf(const QImage &picture)
{
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<bool> seen(1 << 24);
    int opaque = 0;
    bool transparent = false;
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) < 128) {
                transparent = true;
                continue;
            }
            const std::size_t colour = line[x] & 0xFFFFFF;
            if (!seen[colour]) {
                seen[colour] = true;
                if (++opaque > 256)
                    return 0;
            }
        }
    }
    const int all = opaque + (transparent ? 1 : 0);
    return all > 256 ? 0 : all;
}

Decoded refused(const QString &problem)
{
    Decoded decoded;
    decoded.problem = problem;
    return decoded;
}

// The source decoded at the size it is shown at; a source small enough is read whole first,
// so that its own colours can be counted.
Decoded decode(const QByteArray &source, const Handset &handset)
{
    // A JPEG decodes straight at the smaller size; it has more colours than anyone counts.
    const auto readWhole = [](const QByteArray &format, QSize size) {
        return format != "JPEG" && qint64(size.width()) * size.height() <= mostPixelsReadWhole;
    };
    PictureDecoding decoding;
    decoding.mostPixels = mostSourcePixels;
    decoding.sizeFor = [&handset, &readWhole](const QByteArray &format, QSize size) {
        return readWhole(format, size) ? size : ShownPictureSize(size, handset);
    };
    DecodedPicture picture = DecodePicture(source, decoding);
    if (picture.picture.isNull())
        return refused(picture.problem);
    Decoded decoded;
    decoded.format = picture.format;
    decoded.size = picture.size;
    if (picture.frames > 1)
        decoded.note = QStringLiteral("動くGIFの最初のコマだけを使いました。");
    if (readWhole(picture.format, picture.size))
        decoded.colours = coloursOf(picture.picture);
    decoded.picture = picture.picture.convertToFormat(QImage::Format_ARGB32);
    // A header may claim another size than the picture has: what was read is what counts.
    const QSize shown = ShownPictureSize(decoded.picture.size(), handset);
    if (shown != decoded.picture.size())
        decoded.picture = decoded.picture.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return decoded;
}

bool hasTransparency(const QImage &picture)
{
    if (!picture.hasAlphaChannel())
        return false;
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(line[x]) < 128)
                return true;
    }
    return false;
}

QList<QRgb> greys(int levels)
{
    QList<QRgb> table;
    for (int level = 0; level < levels; ++level) {
        const int grey = level * 255 / (levels - 1);
        table.append(qRgb(grey, grey, grey));
    }
    return table;
}

QImage greyed(QImage picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grey = qGray(line[x]);
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return picture;
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

// At most `count` colours of the picture's own, by median cut over a sample of its pixels.
QList<QRgb> adaptivePalette(const QImage &picture, int count)
{
    std::vector<std::array<int, 3>> pixels;
    const qint64 all = qint64(picture.width()) * picture.height();
    const int step = int(std::max<qint64>(1, all / 20000));
    for (qint64 at = 0; at < all; at += step) {
        const QRgb colour = picture.pixel(int(at % picture.width()), int(at / picture.width()));
        if (qAlpha(colour) >= 128)
            pixels.push_back({qRed(colour), qGreen(colour), qBlue(colour)});
    }
    if (pixels.empty())
        return {qRgb(0, 0, 0)};
    struct Box {
        std::size_t begin, end;
    };
    std::vector<Box> boxes{{0, pixels.size()}};
    const auto range = [&pixels](const Box &box, int channel) {
        const auto [low, high] = std::minmax_element(
            pixels.begin() + std::ptrdiff_t(box.begin), pixels.begin() + std::ptrdiff_t(box.end),
            [channel](const auto &a, const auto &b) { return a[channel] < b[channel]; });
        return (*high)[channel] - (*low)[channel];
    };
    while (int(boxes.size()) < count) {
        // The box with the widest spread of one channel is cut at its median.
        int widest = -1, channelOfWidest = 0, spread = 0;
        for (int index = 0; index < int(boxes.size()); ++index)
            for (int channel = 0; channel < 3; ++channel)
                if (boxes[index].end - boxes[index].begin > 1 && range(boxes[index], channel) > spread) {
                    spread = range(boxes[index], channel);
                    widest = index;
                    channelOfWidest = channel;
                }
        if (widest < 0)
            break;
        const Box box = boxes[std::size_t(widest)];
        const std::size_t middle = box.begin + (box.end - box.begin) / 2;
        std::nth_element(pixels.begin() + std::ptrdiff_t(box.begin),
                         pixels.begin() + std::ptrdiff_t(middle),
                         pixels.begin() + std::ptrdiff_t(box.end),
                         [channelOfWidest](const auto &a, const auto &b) {
                             return a[channelOfWidest] < b[channelOfWidest];
                         });
        boxes[std::size_t(widest)] = {box.begin, middle};
        boxes.push_back({middle, box.end});
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
    return table;
}

// The entry of `table` nearest to a colour.
int nearest(const QList<QRgb> &table, int r, int g, int b)
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

// The picture in the colours of `table`, each pixel's error spread over its neighbours (Floyd
// and Steinberg) so that an area keeps its shade; transparent pixels take a colour of their
// own, the last of the table.
QImage reduced(const QImage &picture, QList<QRgb> table, bool transparent)
{
    if (transparent) {
        if (table.size() >= 256)
            table.removeAt(table.size() - 2); // room for it: one colour of the fixed palette goes
        table.append(qRgba(0, 0, 0, 0));
    }
    const int colours = int(table.size()) - (transparent ? 1 : 0);
    const QList<QRgb> shown = table.mid(0, colours);
    QImage indexed(picture.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    const int width = picture.width();
    std::vector<std::array<int, 3>> error(std::size_t(width + 2)), below(std::size_t(width + 2));
    std::vector<short> found(32768, -1); // the nearest entry by colour, at 5 bits a channel
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
            short &index = found[std::size_t((r >> 3) << 10 | (g >> 3) << 5 | (b >> 3))];
            if (index < 0)
                index = short(nearest(shown, r, g, b));
            out[x] = uchar(index);
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

// A baseline JPEG with Huffman tables made for its own pixels, and nothing but the picture: a
// source's colour profile and comments are no use to a phone.
QByteArray jpegBytes(const QImage &picture, int quality)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QImage bare =
        QImage(rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(), rgb.format()).copy();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(true);
    return writer.write(bare) ? bytes : QByteArray();
}

// The JPEG of the highest quality up to 90 that fits the budget, found on the encoder itself;
// empty when not even quality 30 fits.
QByteArray jpegWithin(const QImage &picture, qint64 budget)
{
    QByteArray best = jpegBytes(picture, 30);
    if (best.isEmpty() || best.size() > budget)
        return {};
    int fits = 30;
    int tooLarge = 91;
    while (tooLarge - fits > 1) {
        const int quality = (fits + tooLarge) / 2;
        QByteArray jpeg = jpegBytes(picture, quality);
        if (!jpeg.isEmpty() && jpeg.size() <= budget) {
            fits = quality;
            best = std::move(jpeg);
        } else {
            tooLarge = quality;
        }
    }
    return best;
}

// The colour tables tried for the screen, from the most colours down.
QList<QList<QRgb>> tablesFor(const QImage &picture, int depth)
{
    if (depth == 2)
        return {greys(2)};
    if (depth == 4)
        return {greys(4)};
    if (depth == 256) {
        // Fewer colours are the fixed palette's nearest to the picture's own.
        const QList<QRgb> fixed = fixedPalette();
        QList<QList<QRgb>> tables{fixed};
        for (const int count : {64, 32, fewestColours}) {
            QList<QRgb> subset;
            for (const QRgb colour : adaptivePalette(picture, count)) {
                const QRgb entry = fixed[nearest(fixed, qRed(colour), qGreen(colour), qBlue(colour))];
                if (!subset.contains(entry))
                    subset.append(entry);
            }
            tables.append(subset);
        }
        return tables;
    }
    QList<QList<QRgb>> tables{adaptivePalette(picture, 255), adaptivePalette(picture, 64),
                              adaptivePalette(picture, 32), adaptivePalette(picture, fewestColours)};
    // A picture of no more colours than a table holds keeps them exactly, where they fit.
    if (const QList<QRgb> own = opaqueColours(picture, 255); !own.isEmpty())
        tables.prepend(own);
    return tables;
}

// What was made of the decoded source, with what the source was.
FittedPicture fitted(const Decoded &decoded, const QByteArray &bytes, const QByteArray &format,
                     QSize size, int colours, const QString &problem = {})
{
    return {bytes, format, size, colours, decoded.note, problem,
            decoded.format, decoded.size, decoded.colours};
}

// A picture the handset already shows as it is, at a size its colour screen takes and within the
// budget, is best left alone: converting it could only lose detail or add bytes. A GIF of one
// frame, or a JPEG of one scan (not progressive) where the handset has JPEG; its extension, or
// empty when it must be converted.
QByteArray showsAsItIs(const QByteArray &source, const Decoded &decoded, const Handset &handset,
                       qint64 budget)
{
    if (handset.colourDepth < 256 || source.size() > budget
        || ShownPictureSize(decoded.size, handset) != decoded.size)
        return {};
    const PictureStructure structure = ReadPictureStructure(source);
    if (structure.format == "GIF" && structure.frames == 1 && !structure.endsEarly)
        return "gif";
    if (structure.format == "JPEG" && handset.showsJpeg() && structure.scans == 1)
        return "jpg";
    return {};
}

} // namespace

QSize ShownPictureSize(QSize source, const Handset &handset)
{
    // A tall strip is narrowed with its height, so what is made stays small whatever the file
    // claims.
    const int screenWidth = handset.screenWidth > 0 ? handset.screenWidth : unknownScreenWidth;
    const QSize most(screenWidth, tallest * screenWidth);
    if (source.width() <= most.width() && source.height() <= most.height())
        return source;
    return source.scaled(most, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage PictureBeforeFitting(const QByteArray &source, const Handset &handset)
{
    return decode(source, handset).picture;
}

QString BytesText(qint64 bytes)
{
    return QStringLiteral("%1 バイト").arg(QLocale(QLocale::Japanese).toString(bytes));
}

QString PictureFactsText(const QByteArray &format, QSize size, int colours, qint64 bytes)
{
    const QByteArray name = format.toUpper();
    return QStringLiteral("%1 %2×%3 %4 %5")
        .arg(name == "JPG" ? QStringLiteral("JPEG") : QString::fromLatin1(name))
        .arg(size.width())
        .arg(size.height())
        .arg(colours > 0 ? QStringLiteral("%1色").arg(colours) : QStringLiteral("フルカラー"),
             BytesText(bytes));
}

FittedPicture FitPicture(const QByteArray &source, const Handset &handset, qint64 budget)
{
    const Decoded decoded = decode(source, handset);
    if (decoded.picture.isNull())
        return fitted(decoded, {}, {}, {}, 0, decoded.problem);
    if (const QByteArray format = showsAsItIs(source, decoded, handset, budget); !format.isEmpty())
        return fitted(decoded, source, format, decoded.size, format == "gif" ? decoded.colours : 0);
    const QImage &full = decoded.picture;
    const bool transparent = hasTransparency(full);
    // JPEG keeps no transparency, and a drawing is smaller as a GIF anyway.
    const bool jpegAllowed = handset.showsJpeg() && !transparent;
    for (const double scale : {1.0, 0.75, 0.5, 0.35}) {
        const int width = int(full.width() * scale);
        if (width < narrowest && scale < 1.0)
            break;
        const QImage scaled = scale == 1.0 ? full
                                           : full.scaledToWidth(width, Qt::SmoothTransformation);
        // A screen of greys shows the picture's lightness; its colours would only lead the
        // dithering astray.
        const QImage picture = handset.colourDepth == 2 || handset.colourDepth == 4 ? greyed(scaled)
                                                                                    : scaled;
        FittedPicture best;
        const QList<QList<QRgb>> tables = tablesFor(picture, handset.colourDepth);
        const auto tryGif = [&] {
            for (const QList<QRgb> &table : tables) {
                const QImage indexed = reduced(picture, table, transparent);
                const QByteArray gif = WriteGif(indexed);
                if (!gif.isEmpty() && gif.size() <= budget) {
                    best = fitted(decoded, gif, "gif", picture.size(), ColoursInGif(indexed));
                    return;
                }
            }
        };
        tryGif();
        // The better-looking of the GIF of most colours and the JPEG of best quality that fit,
        // judged on their lightness against the picture as made, the dots of a dithered screen
        // seen blurred: text, logos, charts and drawings stay GIF, photos become JPEG.
        if (jpegAllowed) {
            const QByteArray jpeg = jpegWithin(picture, budget);
            const Seen seen = handset.colourDepth <= 256 ? Seen::Blurred : Seen::Sharp;
            if (!jpeg.isEmpty()
                && (best.bytes.isEmpty()
                    || LumaSimilarity(QImage::fromData(jpeg), picture, seen)
                           > LumaSimilarity(QImage::fromData(best.bytes), picture, seen)))
                best = fitted(decoded, jpeg, "jpg", picture.size(), 0);
        }
        if (!best.bytes.isEmpty())
            return best;
    }
    return fitted(decoded, {}, {}, {}, 0,
            QStringLiteral("%1 バイトには、見られる画像になりません（幅 %2 ピクセル、%3 色まで"
                           "減らしても入りません）。ページのほかの内容を減らしてください。")
                .arg(budget)
                .arg(narrowest)
                .arg(handset.colourDepth == 2 || handset.colourDepth == 4 ? handset.colourDepth
                                                                           : fewestColours));
}

QList<qint64> SharePictureBudget(qint64 limitBytes, qint64 pageBytes, qint64 otherPictureBytes,
                                 const QList<QSize> &areas)
{
    const qint64 left = std::max<qint64>(0, limitBytes - pageBytes - otherPictureBytes);
    qint64 allArea = 0;
    for (const QSize &area : areas)
        allArea += qint64(std::max(0, area.width())) * std::max(0, area.height());
    QList<qint64> shares;
    for (const QSize &area : areas) {
        const qint64 pixels = qint64(std::max(0, area.width())) * std::max(0, area.height());
        // Rounded down, so the shares together never pass what is left.
        shares.append(allArea > 0 ? qint64((long double)(left) * pixels / allArea)
                                  : left / std::max<qsizetype>(1, areas.size()));
    }
    return shares;
}
