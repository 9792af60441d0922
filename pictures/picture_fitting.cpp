#include "pictures/picture_fitting.h"

#include "pictures/colour_tables.h"
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
// How much a loss of tone (LumaToneError, over 255) counts against a likeness (SSIM) when
// dithering is weighed against none: a gradient or a photo on few colours is dithered, text,
// drawings and flat grounds are not.
constexpr double toneWeight = 2.4;
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


// The picture with its pixels more than half opaque blended over the page's background and made
// opaque: a GIF keeps a pixel either clear or whole, and smoothed edges so keep their
// smoothness on the page. Pixels less opaque stay as they are, to become transparent.
QImage matted(QImage picture, const QColor &matte)
{
    if (!picture.hasAlphaChannel())
        return picture;
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            if (alpha < 128 || alpha == 255)
                continue;
            const auto over = [alpha](int colour, int ground) {
                return (colour * alpha + ground * (255 - alpha) + 127) / 255;
            };
            line[x] = qRgb(over(qRed(line[x]), matte.red()), over(qGreen(line[x]), matte.green()),
                           over(qBlue(line[x]), matte.blue()));
        }
    }
    return picture;
}

// The picture's lightness as a grey screen shows it: Rec. 709 luma of the stored values, whose
// dithered dots come out nearer the source's lightness than those of BT.601's weights.
QImage greyed(QImage picture)
{
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int grey = (2126 * qRed(line[x]) + 7152 * qGreen(line[x]) + 722 * qBlue(line[x]) + 5000) / 10000;
            line[x] = qRgba(grey, grey, grey, qAlpha(line[x]));
        }
    }
    return picture;
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

FittedPicture FitPicture(const QByteArray &source, const Handset &handset, qint64 budget,
                         const QColor &matte)
{
    const Decoded decoded = decode(source, handset);
    if (decoded.picture.isNull())
        return fitted(decoded, {}, {}, {}, 0, decoded.problem);
    if (const QByteArray format = showsAsItIs(source, decoded, handset, budget); !format.isEmpty())
        return fitted(decoded, source, format, decoded.size, format == "gif" ? decoded.colours : 0);
    // Few colours show a blended edge as dots; there the edge stays as sharp as it was.
    const QImage full = handset.colourDepth > 256 ? matted(decoded.picture, matte) : decoded.picture;
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
        // The best-looking of what fits, judged on its lightness against the picture as made,
        // the dots of a dithered screen seen blurred: text, logos, charts and drawings stay
        // GIF, photos become JPEG.
        const Seen seen = handset.colourDepth <= 256 ? Seen::Blurred : Seen::Sharp;
        FittedPicture best;
        double bestScore = -1;
        const auto consider = [&](const QByteArray &bytes, const QByteArray &format,
                                  const QImage &shown, double score) {
            if (score > bestScore) {
                bestScore = score;
                best = fitted(decoded, bytes, format, picture.size(),
                              format == "gif" ? ColoursInGif(shown) : 0);
            }
        };
        for (const QList<QRgb> &table : ColourTablesFor(picture, handset.colourDepth)) {
            struct Made {
                QImage indexed;
                QByteArray gif;
                double score = -1;
            };
            std::array<Made, 2> made;
            for (const Diffusion diffusion : {Diffusion::On, Diffusion::Off}) {
                Made &one = made[diffusion == Diffusion::On ? 0 : 1];
                one.indexed = ReducedPicture(picture, table, transparent, diffusion);
                one.gif = WriteGif(one.indexed);
                if (!one.gif.isEmpty() && one.gif.size() <= budget)
                    one.score = LumaSimilarity(one.indexed, picture, seen);
            }
            const Made &dithered = made[0];
            const Made &plain = made[1];
            // Dithering keeps an area's tone and costs clean edges: of the two, the one whose
            // likeness, less what it loses of the tone, is the higher.
            const auto weighed = [&](const Made &one) {
                return one.score - toneWeight * LumaToneError(one.indexed, picture) / 255;
            };
            const bool plainBetter =
                plain.score >= 0 && (dithered.score < 0 || weighed(plain) > weighed(dithered));
            const Made &chosen = plainBetter ? plain : dithered;
            if (chosen.score >= 0)
                consider(chosen.gif, "gif", chosen.indexed, chosen.score);
        }
        if (jpegAllowed)
            if (const QByteArray jpeg = jpegWithin(picture, budget); !jpeg.isEmpty()) {
                const QImage shown = QImage::fromData(jpeg);
                consider(jpeg, "jpg", shown, LumaSimilarity(shown, picture, seen));
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
                                                                           : FewestColours));
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
