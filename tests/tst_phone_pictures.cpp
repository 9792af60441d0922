// The files made for a phone: a GIF holds the colours its pixels use and no more, a JPEG the
// picture alone at the quality its budget allows, a picture the handset already shows stays as
// it is, and one of few colours keeps them exactly.

#include "imode/handsets.h"
#include "pictures/gif_writer.h"
#include "pictures/picture_fitting.h"
#include "pictures/picture_quality.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

class PhonePicturesTest : public QObject {
    Q_OBJECT

private slots:
    void gifHoldsTheColoursUsed_data();
    void gifHoldsTheColoursUsed();
    void pictureThatShowsStaysAsItIs_data();
    void pictureThatShowsStaysAsItIs();
    void coloursSaidAreTheColoursUsed_data();
    void coloursSaidAreTheColoursUsed();
    void halfOpaqueEdgesBlendOverThePage();
    void jpegFillsItsBudgetWithThePictureAlone();
    void drawingOfFewColoursKeepsThemExactly();
    void lumaSimilarity();
    void formatFollowsThePicture_data();
    void formatFollowsThePicture();
};

// A GIF carries the colours its pixels use and no more, in a table of the next power of two,
// and is transparent only where a transparent colour is used; the pixels read back the same.
void PhonePicturesTest::gifHoldsTheColoursUsed_data()
{
    QTest::addColumn<int>("used");        // colours of a 256-colour table the pixels use
    QTest::addColumn<bool>("transparent"); // whether the last of them is transparent
    QTest::addColumn<int>("tableEntries");
    QTest::addColumn<QByteArray>("version");
    QTest::newRow("one colour") << 1 << false << 2 << QByteArray("GIF87a");
    QTest::newRow("eleven colours") << 11 << false << 16 << QByteArray("GIF87a");
    QTest::newRow("eleven, one transparent") << 11 << true << 16 << QByteArray("GIF89a");
    QTest::newRow("all 256") << 256 << false << 256 << QByteArray("GIF87a");
}

void PhonePicturesTest::gifHoldsTheColoursUsed()
{
    QFETCH(int, used);
    QFETCH(bool, transparent);
    QFETCH(int, tableEntries);
    QFETCH(QByteArray, version);
    QList<QRgb> table;
    for (int index = 0; index < 256; ++index)
        table << qRgb(index, 255 - index, (index * 7) % 256);
    // The colours used lie apart in the table, and the transparent one is not the first; an
    // unused transparent entry makes no transparency.
    const int step = 256 / used;
    if (transparent)
        table[(used - 1) * step] = qRgba(0, 0, 0, 0);
    else if (used < 256)
        table[255] = qRgba(0, 0, 0, 0);
    QImage picture(64, 16, QImage::Format_Indexed8);
    picture.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, uint((x + y * picture.width()) % used * step));
    const QByteArray gif = WriteGif(picture);
    QCOMPARE(gif.left(6), version);
    QCOMPARE(1 << ((quint8(gif[10]) & 7) + 1), tableEntries);
    QCOMPARE(ColoursInGif(picture), used);
    const QImage read = QImage::fromData(gif).convertToFormat(QImage::Format_ARGB32);
    const QImage expected = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb want = expected.pixel(x, y);
            const QRgb got = read.pixel(x, y);
            QCOMPARE(qAlpha(got), qAlpha(want));
            if (qAlpha(want) != 0)
                QCOMPARE(got, want);
        }
}

// A picture the handset shows as it is, within the budget and the screen, is not made again;
// one the handset cannot show as it is, or that does not fit, is.
void PhonePicturesTest::pictureThatShowsStaysAsItIs_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<bool>("kept");
    const QByteArray jpeg = encodedPicture(cameraPhoto({80, 60}), "jpeg");
    QByteArray progressive;
    QBuffer buffer(&progressive);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(cameraPhoto({80, 60}));
    QImage drawing(96, 64, QImage::Format_Indexed8);
    drawing.setColorTable({qRgb(255, 255, 255), qRgb(200, 0, 0)});
    drawing.fill(0);
    for (int x = 20; x < 76; ++x)
        for (int y = 16; y < 48; ++y)
            drawing.setPixel(x, y, 1);
    const QByteArray gif = WriteGif(drawing);
    QTest::newRow("JPEG on a 505i") << jpeg << "SH505i" << qint64(5000) << true;
    QTest::newRow("JPEG past the budget") << jpeg << "SH505i" << qint64(jpeg.size() - 1) << false;
    QTest::newRow("JPEG without JPEG") << jpeg << "D502i" << qint64(5000) << false;
    QTest::newRow("progressive JPEG") << progressive << "SH505i" << qint64(5000) << false;
    QTest::newRow("wider than the screen") << encodedPicture(cameraPhoto({400, 300}), "jpeg") << "SH505i"
                                           << qint64(50000) << false;
    QTest::newRow("GIF on 256 colours") << gif << "D502i" << qint64(5000) << true;
    QTest::newRow("GIF on black and white") << gif << "D501i" << qint64(5000) << false;
}

void PhonePicturesTest::pictureThatShowsStaysAsItIs()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, handset);
    QFETCH(qint64, budget);
    QFETCH(bool, kept);
    const FittedPicture fitted = FitPicture(source, *FindHandset(handset), budget);
    QVERIFY(!fitted.bytes.isEmpty());
    QCOMPARE(fitted.bytes == source, kept);
}

// The colours said of a source and of its result are those the pixels use, every transparent
// pixel one colour as the GIF keeps it; a blank picture costs a blank picture's bytes.
void PhonePicturesTest::coloursSaidAreTheColoursUsed_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<int>("sourceColours");
    QTest::addColumn<QString>("resultFacts");
    QImage twoOfEleven(96, 64, QImage::Format_Indexed8);
    QList<QRgb> eleven;
    for (int index = 0; index < 11; ++index)
        eleven << qRgb(index * 20, 255 - index * 20, 90);
    twoOfEleven.setColorTable(eleven);
    twoOfEleven.fill(0);
    for (int x = 0; x < 40; ++x)
        twoOfEleven.setPixel(x, 10, 7);
    QImage clear(96, 64, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    QImage blank(96, 64, QImage::Format_RGB32);
    blank.fill(Qt::white);
    QTest::newRow("two of a palette of eleven") << encodedPicture(twoOfEleven, "PNG") << "SH505i" << 2
                                                << "GIF 96×64 2色";
    QTest::newRow("all transparent") << encodedPicture(clear, "PNG") << "SH505i" << 1 << "GIF 96×64 1色";
    QTest::newRow("blank on 256 colours") << encodedPicture(blank, "PNG") << "D502i" << 1
                                          << "GIF 96×64 1色";
}

void PhonePicturesTest::coloursSaidAreTheColoursUsed()
{
    QFETCH(QByteArray, source);
    QFETCH(QString, handset);
    QFETCH(int, sourceColours);
    QFETCH(QString, resultFacts);
    const FittedPicture fitted = FitPicture(source, *FindHandset(handset), 5000);
    QCOMPARE(fitted.sourceColours, sourceColours);
    const QString facts = PictureFactsText(fitted.format, fitted.size, fitted.colours, fitted.bytes.size());
    QVERIFY2(facts.startsWith(resultFacts), qPrintable(facts));
    // LZW codes a run of one colour in some hundred bytes for these pixels.
    QVERIFY2(fitted.bytes.size() < 160, qPrintable(facts));
}

// On a deep screen a pixel more than half opaque takes the colour it shows on the page's ground;
// one less opaque becomes clear; on a screen of few colours the edge stays as sharp as it was.
void PhonePicturesTest::halfOpaqueEdgesBlendOverThePage()
{
    QImage edge(48, 32, QImage::Format_ARGB32);
    edge.fill(Qt::transparent);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            edge.setPixel(x, y, x < 16 ? qRgba(255, 0, 0, 255) : x < 32 ? qRgba(255, 0, 0, 200) : qRgba(255, 0, 0, 60));
    const QByteArray png = encodedPicture(edge, "PNG");
    const QImage deep = QImage::fromData(FitPicture(png, *FindHandset("SH505i"), 5000, Qt::black).bytes)
                            .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(QColor(deep.pixel(5, 5)), QColor(255, 0, 0));
    QCOMPARE(QColor(deep.pixel(20, 5)), QColor(200, 0, 0));
    QCOMPARE(qAlpha(deep.pixel(40, 5)), 0);
    const QImage few = QImage::fromData(FitPicture(png, *FindHandset("D502i"), 5000, Qt::black).bytes)
                           .convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(QColor(few.pixel(20, 5)), QColor(255, 0, 0));
}

// A JPEG made for a phone holds the picture alone (no colour profile, no comment), is baseline,
// and takes as much of its budget as its quality can use.
void PhonePicturesTest::jpegFillsItsBudgetWithThePictureAlone()
{
    QImage source = cameraPhoto({400, 300});
    source.setColorSpace(QColorSpace::SRgb);
    source.setText(QStringLiteral("Description"), QStringLiteral("taken on holiday"));
    const QByteArray png = encodedPicture(source, "png");
    QVERIFY(png.contains("iCCP") && png.contains("taken on holiday"));
    qint64 previous = 0;
    for (const qint64 budget : {3000, 5000, 8000}) {
        const FittedPicture fitted = FitPicture(png, *FindHandset("SH505i"), budget);
        QCOMPARE(fitted.format, QByteArray("jpg"));
        QVERIFY(fitted.bytes.size() <= budget);
        QVERIFY(fitted.bytes.size() > previous);
        previous = fitted.bytes.size();
        QStringList markers;
        for (qsizetype at = 2; at + 4 <= fitted.bytes.size() && quint8(fitted.bytes[at + 1]) != 0xDA;
             at += 2 + (quint8(fitted.bytes[at + 2]) << 8 | quint8(fitted.bytes[at + 3])))
            markers << QString::number(quint8(fitted.bytes[at + 1]), 16);
        QCOMPARE(markers.filter(QRegularExpression(QStringLiteral("^(e[1-9a-f]|fe|c[1-35-9a-f])$"))),
                 QStringList());
    }
}

// A drawing of 150 colours on a screen of thousands keeps each pixel's colour exactly, where
// the median cut would have merged them.
void PhonePicturesTest::drawingOfFewColoursKeepsThemExactly()
{
    QImage drawing(120, 80, QImage::Format_RGB32);
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x) {
            const int colour = (x / 8 + (y / 8) * 15) % 150;
            drawing.setPixel(x, y, qRgb(colour * 37 % 256, colour * 11 % 256, colour * 5 % 256));
        }
    const FittedPicture fitted = FitPicture(encodedPicture(drawing, "png"), *FindHandset("D503i"), 20000);
    QCOMPARE(fitted.format, QByteArray("gif"));
    QCOMPARE(fitted.colours, 150);
    QCOMPARE(QImage::fromData(fitted.bytes).convertToFormat(QImage::Format_RGB32), drawing);
}

void PhonePicturesTest::lumaSimilarity()
{
    const QImage camera = cameraPhoto({120, 90});
    QCOMPARE(LumaSimilarity(camera, camera), 1.0);
    QImage blank(camera.size(), QImage::Format_RGB32);
    blank.fill(Qt::white);
    QVERIFY(LumaSimilarity(camera, blank) < 0.6);
    QVERIFY(LumaSimilarity(camera, QImage::fromData(encodedPicture(camera, "jpeg"))) > 0.8);
    // Colour alone is no difference in lightness; another size is no comparison.
    QImage grey = camera.convertToFormat(QImage::Format_Grayscale8);
    QVERIFY(LumaSimilarity(camera, grey) > 0.99);
    QCOMPARE(LumaSimilarity(camera, camera.scaled(60, 45)), 0.0);
}

// On a handset with JPEG, a picture of text or flat colours stays a GIF and a photo becomes a
// JPEG, whichever looks more like the picture within the same budget.
void PhonePicturesTest::formatFollowsThePicture_data()
{
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QByteArray>("format");
    // A screen's picture: text smoothed at its edges on a shaded ground, the kind of picture a
    // JPEG rings around.
    QImage screenshot(200, 120, QImage::Format_RGB32);
    {
        QPainter painter(&screenshot);
        QLinearGradient ground(0, 0, 0, 120);
        ground.setColorAt(0, QColor(250, 250, 255));
        ground.setColorAt(1, QColor(205, 215, 240));
        painter.fillRect(screenshot.rect(), ground);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setPen(QColor(20, 20, 40));
        QFont font;
        font.setPixelSize(13);
        painter.setFont(font);
        for (int line = 0; line < 8; ++line)
            painter.drawText(6, 16 + line * 14, QStringLiteral("Open 9:00-18:00, closed Monday %1").arg(line));
    }
    QTest::newRow("screenshot with text") << screenshot << QByteArray("gif");
    QTest::newRow("camera photo")
        << QImage(qEnvironmentVariable("SAMPLE_PICTURES") + QStringLiteral("/photo.jpg")) << QByteArray("jpg");
}

void PhonePicturesTest::formatFollowsThePicture()
{
    QFETCH(QImage, picture);
    QFETCH(QByteArray, format);
    const FittedPicture fitted = FitPicture(encodedPicture(picture, "png"), *FindHandset("N503i"), 6000);
    QCOMPARE(fitted.format, format);
}

QTEST_MAIN(PhonePicturesTest)
#include "tst_phone_pictures.moc"
