#include "windows/glyphs.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <span>
#include <string_view>

namespace {

// One letter of a pixel map and the colour it stands for; any other letter is transparent.
struct Ink {
    char key;
    QRgb colour;
};

// Pictures this small look sharpest set pixel by pixel, so most are written out as maps.
QImage pixelPicture(std::span<const std::string_view> rows, std::span<const Ink> inks)
{
    const int height = int(rows.size());
    const int width = rows.empty() ? 0 : int(rows.front().size());
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    for (int y = 0; y < height; ++y) {
        const std::string_view row = rows[y];
        for (int x = 0; x < width && x < int(row.size()); ++x) {
            for (const Ink &ink : inks) {
                if (ink.key == row[x]) {
                    picture.setPixel(x, y, ink.colour);
                    break;
                }
            }
        }
    }
    return picture;
}

// Puts `colour` on every transparent pixel touching an opaque one, diagonally too, so light
// lettering keeps an edge on a light toolbar.
QImage outlined(const QImage &picture, QRgb colour)
{
    QImage result = picture;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (qAlpha(picture.pixel(x, y)) != 0)
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx)
                    touches = picture.valid(x + dx, y + dy)
                              && qAlpha(picture.pixel(x + dx, y + dy)) != 0;
            if (touches)
                result.setPixel(x, y, colour);
        }
    }
    return result;
}

const Ink bookInks[] = {
    {'o', qRgb(0x3a, 0x12, 0x5e)}, // outline
    {'S', qRgb(0x5c, 0x22, 0x8e)}, // spine
    {'q', qRgb(0xa8, 0x70, 0xe4)}, // light along the top of the cover
    {'p', qRgb(0x86, 0x44, 0xcc)}, // cover
    {'y', qRgb(0xff, 0xe4, 0x1c)}, // question mark
    {'w', qRgb(0xff, 0xff, 0xff)}, // leaves
    {'r', qRgb(0xc8, 0xc8, 0xd0)}, // leaf edges
};

const std::string_view smallBookRows[] = {
    "................",
    "..oooooooooooo..",
    "..oSSqqqqqqqqo..",
    "..oSSppyyyyppo..",
    "..oSSpyyppyypo..",
    "..oSSpppppyypo..",
    "..oSSppppyyppo..",
    "..oSSpppyypppo..",
    "..oSSpppyypppo..",
    "..oSSppppppppo..",
    "..oSSpppyypppo..",
    "..oSSppppppppo..",
    "..oSSooooooooo..",
    "..oSSwwwwwwwwo..",
    "..oooooooooooo..",
    "................",
};

const std::string_view largeBookRows[] = {
    "....................",
    "..oooooooooooooooo..",
    "..oSSqqqqqqqqqqqqo..",
    "..oSSppppyyyyppppo..",
    "..oSSpppyyyyyypppo..",
    "..oSSppyyppppyyppo..",
    "..oSSppppppppyyppo..",
    "..oSSpppppppyypppo..",
    "..oSSppppppyyppppo..",
    "..oSSpppppyypppppo..",
    "..oSSpppppyypppppo..",
    "..oSSppppppppppppo..",
    "..oSSpppppyypppppo..",
    "..oSSpppppyypppppo..",
    "..oSSppppppppppppo..",
    "..oSSooooooooooooo..",
    "..oSSwwwwwwwwwwwwo..",
    "..oSSrrrrrrrrrrrro..",
    "..oooooooooooooooo..",
    "....................",
};

const Ink ftpInks[] = {
    {'f', qRgb(0x1e, 0x5a, 0xf0)},
    {'t', qRgb(0x18, 0xa8, 0x30)},
    {'p', qRgb(0xff, 0xd8, 0x00)},
};

const QRgb ftpOutline = qRgb(0x20, 0x20, 0x30);

const std::string_view ftpRows[] = {
    "....................",
    "....................",
    "....................",
    "...fff..............",
    "..ffff..tt..........",
    "..ff....tt..........",
    "..ff....tt..........",
    ".fffff.ttttt.ppppp..",
    ".fffff.ttttt.pppppp.",
    "..ff....tt...pp..pp.",
    "..ff....tt...pp..pp.",
    "..ff....tt...pp..pp.",
    "..ff....tt...pp..pp.",
    "..ff....tttt.pppppp.",
    "..ff.....ttt.ppppp..",
    ".............pp.....",
    ".............pp.....",
    "....................",
    "....................",
    "....................",
};

const Ink pageInks[] = {
    {'#', qRgb(0x60, 0x60, 0x68)}, // edge
    {'w', qRgb(0xff, 0xff, 0xff)}, // paper
    {'f', qRgb(0xd4, 0xd4, 0xdc)}, // back of the folded corner
    {'l', qRgb(0x9c, 0x9c, 0xa4)}, // text
};

const std::string_view pageRows[] = {
    "..########......",
    "..#wwwwww##.....",
    "..#wwwwww#f#....",
    "..#wllllw#ff#...",
    "..#wwwwww#####..",
    "..#wwwwwwwwww#..",
    "..#wllllllllw#..",
    "..#wwwwwwwwww#..",
    "..#wllllllllw#..",
    "..#wwwwwwwwww#..",
    "..#wllllllllw#..",
    "..#wwwwwwwwww#..",
    "..#wllllllwww#..",
    "..#wwwwwwwwww#..",
    "..#wwwwwwwwww#..",
    "..############..",
};

const Ink landscapeInks[] = {
    {'d', qRgb(0x5a, 0x36, 0x14)}, // frame edge
    {'b', qRgb(0xc4, 0x8a, 0x44)}, // frame wood
    {'s', qRgb(0x7c, 0xbc, 0xf4)}, // sky
    {'y', qRgb(0xff, 0xd8, 0x20)}, // sun
    {'g', qRgb(0x4c, 0xb0, 0x3c)}, // near hill
    {'G', qRgb(0x2c, 0x80, 0x2c)}, // far hill
};

const std::string_view landscapeRows[] = {
    "................",
    "dddddddddddddddd",
    "dbbbbbbbbbbbbbbd",
    "dbssssssssssssbd",
    "dbssssssssyyssbd",
    "dbsssssssyyyysbd",
    "dbsssssssyyyysbd",
    "dbssssssssyyssbd",
    "dbsssggsssssssbd",
    "dbsggggggssGGsbd",
    "dbggggggggGGGGbd",
    "dbggggggggggGGbd",
    "dbggggggggggggbd",
    "dbbbbbbbbbbbbbbd",
    "dddddddddddddddd",
    "................",
};

const Ink globeInks[] = {
    {'o', qRgb(0x18, 0x3c, 0x8c)}, // rim
    {'c', qRgb(0x62, 0x9c, 0xf0)}, // sea in the light
    {'b', qRgb(0x3a, 0x7c, 0xe0)}, // sea
    {'B', qRgb(0x2a, 0x60, 0xc0)}, // sea in the shade
    {'g', qRgb(0x3c, 0xa8, 0x3c)}, // land
    {'l', qRgb(0x80, 0xb4, 0xf4)}, // grid line over the sea
    {'h', qRgb(0x88, 0xcc, 0x7c)}, // grid line over land
};

const std::string_view globeRows[] = {
    ".....ooooo......",
    "...oocclbboo....",
    "..ochgglbghbo...",
    ".ocghgglgghbbo..",
    ".oghggglggghbo..",
    "obbhggblggblbbo.",
    "obblggblggghbbo.",
    "ollllhllhhhhllo.",
    "obblbgglbgghbBo.",
    "obblggglbgghBBo.",
    ".oblggblbgglBo..",
    ".obbhgblBBhBBo..",
    "..oblgblBBlBo...",
    "...oobblBBoo....",
    ".....ooooo......",
    "................",
};

const Ink faceInks[] = {
    {'k', qRgb(0x96, 0x64, 0x00)}, // rim
    {'y', qRgb(0xff, 0xc8, 0x28)}, // face
    {'e', qRgb(0x5a, 0x3c, 0x00)}, // eyes and mouth
};

const std::string_view faceRows[] = {
    "....kkkkkkk.....",
    "..kkyyyyyyykk...",
    ".kyyyyyyyyyyyk..",
    ".kyyyyyyyyyyyk..",
    "kyyyeyyyyyeyyyk.",
    "kyyyeyyyyyeyyyk.",
    "kyyyeyyyyyeyyyk.",
    "kyyyyyyyyyyyyyk.",
    "kyyyyyyyyyyyyyk.",
    "kyyeyyyyyyyeyyk.",
    "kyyyeyyyyyeyyyk.",
    ".kyyyeeeeeyyyk..",
    ".kyyyyyyyyyyyk..",
    "..kkyyyyyyykk...",
    "....kkkkkkk.....",
    "................",
};

} // namespace

QImage helpBookGlyph(int size)
{
    if (size <= 0)
        return QImage();
    if (size == 16)
        return pixelPicture(smallBookRows, bookInks);
    if (size == 20)
        return pixelPicture(largeBookRows, bookInks);
    const QImage nearer = helpBookGlyph(size < 18 ? 16 : 20);
    return nearer.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage ftpGlyph()
{
    return outlined(pixelPicture(ftpRows, ftpInks), ftpOutline);
}

QImage textPageGlyph()
{
    return pixelPicture(pageRows, pageInks);
}

QImage landscapePictureGlyph()
{
    return pixelPicture(landscapeRows, landscapeInks);
}

QImage globeGlyph()
{
    return pixelPicture(globeRows, globeInks);
}

QImage smilingFaceGlyph()
{
    return pixelPicture(faceRows, faceInks);
}

QImage nextTriangleGlyph()
{
    // Smoothed, since stepped slopes this short look ragged; the upright edge lies on pixel
    // boundaries and stays sharp.
    QImage picture(20, 20, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath triangle;
    triangle.moveTo(5, 4);
    triangle.lineTo(15, 10);
    triangle.lineTo(5, 16);
    triangle.closeSubpath();
    QLinearGradient shade(0, 4, 0, 16);
    shade.setColorAt(0, QColor(0x5c, 0x9e, 0xff));
    shade.setColorAt(1, QColor(0x16, 0x4c, 0xc4));
    painter.fillPath(triangle, shade);
    return picture;
}

QImage titleBandPicture(int width, int height, const QString &caption, const QFont &font)
{
    if (width <= 0 || height <= 0)
        return QImage();
    QImage band(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&band);
    QLinearGradient shade(0, 0, width, 0);
    shade.setColorAt(0, QColor(0x2c, 0x1c, 0x98));
    shade.setColorAt(1, QColor(0xb4, 0xa4, 0xf0));
    painter.fillRect(band.rect(), shade);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(6, 0, width - 6, height),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
    return band;
}
