// A picture's format and size from its first bytes, as Qt's own decoder finds them.

#include "check/image_facts.h"

#include <QBuffer>
#include <QImageWriter>
#include <QTest>

#include <tuple>

namespace {

QByteArray saved(const char *format, bool progressive = false)
{
    QImage image(37, 21, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

// Qt writes no GIF: a two-colour one by hand, its pixels only a clear and an end code.
const QByteArray gif = QByteArray::fromHex("474946383961" "25001500" "800000" "000000ffffff"
                                           "2c00000000" "25001500" "00" "02012c00" "3b");

// The oldest header keeps both sides in 16 bits, where the newer ones have the width in 32.
const QByteArray oldestBmp = QByteArray::fromHex("424d00000000000000001a000000" "0c000000"
                                                 "2500" "1500" "01001800")
    + QByteArray(112 * 21, '\0');

// An EXIF segment whose thumbnail has a frame header of its own, then a fill byte.
const QByteArray exif = QByteArray::fromHex("ffe10014" "457869660000" "ffd8" "ffc0000b08"
                                            "0008" "0008" "01" "ff");

QByteArray patched(QByteArray bytes, qsizetype offset, const char *hex)
{
    return bytes.replace(offset, 4, QByteArray::fromHex(hex));
}

} // namespace

class ImageFactsTest : public QObject {
    Q_OBJECT
private slots:
    void facts_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<ImageFormat>("format");
        QTest::addColumn<QSize>("size");
        const QSize size(37, 21), none(0, 0);
        const QByteArray jpeg = saved("jpeg"), progressive = saved("jpeg", true);
        const QByteArray png = saved("png"), bmp = saved("bmp");
        // Each picture, and each cut one byte before the end of its size.
        const QList<std::tuple<const char *, ImageFormat, QByteArray, qsizetype>> pictures = {
            {"GIF", ImageFormat::Gif, gif, 10},
            {"PNG", ImageFormat::Png, png, 24},
            {"JPEG", ImageFormat::Jpeg, jpeg, jpeg.indexOf("\xFF\xC0") + 9},
            {"progressive", ImageFormat::Jpeg, progressive, progressive.indexOf("\xFF\xC2") + 9},
            {"BMP", ImageFormat::Bmp, bmp, 26},
            {"oldest BMP", ImageFormat::Bmp, oldestBmp, 22},
        };
        for (const auto &[name, format, bytes, end] : pictures) {
            QTest::addRow("%s", name) << bytes << format << size;
            QTest::addRow("%s cut short", name) << bytes.first(end - 1) << format << none;
        }
        QTest::newRow("JPEG with EXIF")
            << jpeg.first(2) + exif + jpeg.sliced(2) << ImageFormat::Jpeg << size;
        QTest::newRow("top-down BMP") << patched(bmp, 22, "ebffffff") << ImageFormat::Bmp << size;
        QTest::newRow("BMP of the lowest height")
            << patched(bmp, 22, "00000080") << ImageFormat::Bmp << QSize(37, 0);
        QTest::newRow("PNG wider than an int")
            << patched(png, 16, "80000000") << ImageFormat::Png << QSize(0, 21);
        QTest::newRow("empty") << QByteArray() << ImageFormat::Unknown << none;
        QTest::newRow("three bytes") << QByteArray("\xFF\xD8\xFF") << ImageFormat::Jpeg << none;
        QTest::newRow("text") << QByteArray("<p>no picture</p>") << ImageFormat::Unknown << none;
    }

    void facts()
    {
        QFETCH(QByteArray, head);
        QFETCH(ImageFormat, format);
        QFETCH(QSize, size);
        const ImageFacts facts = ReadImageFacts(head);
        QCOMPARE(facts.format, format);
        QCOMPARE(QSize(facts.width, facts.height), size);
        if (!size.isEmpty())
            QCOMPARE(QImage::fromData(head).size(), size);
    }
};

QTEST_MAIN(ImageFactsTest)
#include "tst_image_facts.moc"
