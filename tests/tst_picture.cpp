// The background picture: only the corner the window shows is decoded, pixel for pixel as a full
// decode shows it, and a picture that would cost too much gives no background at all. Any
// picture's decoding stops at its deadline.

#include "pictures/gif_writer.h"
#include "pictures/picture_decoding.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>
#include <QtEndian>

#include <algorithm>

namespace {

enum class Coding { Baseline, Progressive };

// Noise, which shows any column a crop gets wrong, with a flat red corner whose colour survives
// the compression.
QByteArray jpeg(QSize size, Coding coding = Coding::Baseline,
                QImage::Format format = QImage::Format_RGB32)
{
    QImage image(size, QImage::Format_RGB32);
    const qsizetype words = image.sizeInBytes() / 4;
    QRandomGenerator(1).fillRange(reinterpret_cast<quint32 *>(image.bits()), words);
    QPainter(&image).fillRect(0, 0, 16, 16, QColor(200, 30, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(coding == Coding::Progressive);
    writer.write(image.convertToFormat(format));
    return bytes;
}

// The same picture with another size in its frame header.
QByteArray declaring(QByteArray bytes, int width, int height)
{
    const qsizetype frame = std::max(bytes.indexOf("\xFF\xC0"), bytes.indexOf("\xFF\xC2"));
    qToBigEndian(quint16(height), bytes.data() + frame + 5);
    qToBigEndian(quint16(width), bytes.data() + frame + 7);
    return bytes;
}

// The picture's colour kept at full resolution in every component (4:4:4), as a camera may
// write it: three times the luminance's memory to decode.
QByteArray withFullColour(QByteArray bytes)
{
    const qsizetype frame = std::max(bytes.indexOf("\xFF\xC0"), bytes.indexOf("\xFF\xC2"));
    for (int component = 0; component < bytes.at(frame + 9); ++component)
        bytes[frame + 11 + 3 * component] = 0x11;
    return bytes;
}

// A progressive picture with its first scan header repeated `count` times, each without data.
QByteArray withEmptyScans(QByteArray bytes, int count)
{
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    const int length = qFromBigEndian<quint16>(bytes.constData() + scan + 2);
    return bytes.insert(bytes.size() - 2, bytes.mid(scan, 2 + length).repeated(count));
}

const QSize window(680, 475);

// What the window shows of the background: the picture's top-left corner.
QImage shownCorner(const QByteArray &bytes, QSize visible)
{
    PictureDecoding decoding;
    decoding.corner = visible;
    return DecodePicture(bytes, decoding).picture;
}

} // namespace

class PictureTest : public QObject {
    Q_OBJECT
private slots:
    void visibleCorner_data()
    {
        const QByteArray large = jpeg(QSize(700, 500));
        const QByteArray grey = jpeg(QSize(90, 70), Coding::Baseline, QImage::Format_Grayscale8);
        const QColor red(200, 30, 30); // the corner; Qt turns it into grey 104
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("visible");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("corner");
        QTest::newRow("small, whole") << jpeg(QSize(30, 20)) << window << QSize(30, 20) << red;
        QTest::newRow("larger") << large << window << window << red;
        QTest::newRow("cut inside a block") << large << QSize(37, 29) << QSize(37, 29) << red;
        QTest::newRow("grey") << grey << QSize(50, 80) << QSize(50, 70) << QColor(104, 104, 104);
        QTest::newRow("progressive")
            << jpeg(QSize(700, 500), Coding::Progressive) << window << window << red;
    }

    // Every pixel as Qt's own reader shows the whole picture in that corner.
    void visibleCorner()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, visible);
        QFETCH(QSize, size);
        QFETCH(QColor, corner);
        const QImage shown = shownCorner(bytes, visible);
        QCOMPARE(shown.size(), size);
        QCOMPARE(shown, QImage::fromData(bytes).convertToFormat(shown.format()).copy(shown.rect()));
        const QColor shownCorner = shown.pixelColor(0, 0);
        QVERIFY(qAbs(shownCorner.red() - corner.red()) + qAbs(shownCorner.green() - corner.green())
                    + qAbs(shownCorner.blue() - corner.blue()) < 16);
    }

    void refused_data()
    {
        const QByteArray progressive = jpeg(QSize(16, 16), Coding::Progressive);
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("visible");
        QTest::newRow("empty") << QByteArray() << window;
        QTest::newRow("not a JPEG") << QByteArray("not a JPEG at all") << window;
        QTest::newRow("cut short") << jpeg(QSize(700, 500)).first(20000) << window;
        QTest::newRow("16384 x 16384") << declaring(jpeg(QSize(16, 16)), 16384, 16384) << window;
        QTest::newRow("progressive past the memory cap")
            << withFullColour(declaring(progressive, 7000, 7000)) << window;
        QTest::newRow("sixty empty scans") << withEmptyScans(progressive, 60) << window;
    }

    void refused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, visible);
        QVERIFY(shownCorner(bytes, visible).isNull());
        if (QByteArray(QTest::currentDataTag()).contains("memory"))
            QVERIFY2(DecodePicture(bytes).problem.contains(QStringLiteral("大きすぎ")),
                     qPrintable(DecodePicture(bytes).problem));
    }

    void deadline_data()
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("JPEG") << jpeg(QSize(64, 48));
        QTest::newRow("progressive JPEG") << jpeg(QSize(64, 48), Coding::Progressive);
        for (const char *format : {"png", "bmp"}) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QVERIFY(picture.save(&buffer, format));
            QTest::newRow(format) << bytes;
        }
        QTest::newRow("gif") << WriteGif(picture.convertToFormat(QImage::Format_Indexed8));
    }

    // A decoder given no time stops with a message rather than a picture.
    void deadline()
    {
        QFETCH(QByteArray, bytes);
        PictureDecoding decoding;
        QVERIFY(!DecodePicture(bytes, decoding).picture.isNull());
        decoding.time = std::chrono::milliseconds(0);
        const DecodedPicture decoded = DecodePicture(bytes, decoding);
        QVERIFY(decoded.picture.isNull());
        QCOMPARE(decoded.problem,
                 QStringLiteral("画像を読むのに時間がかかりすぎるので、読むのをやめました。"));
    }
};

QTEST_MAIN(PictureTest)
#include "tst_picture.moc"
