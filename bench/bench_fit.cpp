// Fitting pictures to a phone, as the conversion's before and after follows a change of handset:
// a camera's 4,000 × 3,000 photo for a 240-pixel screen of 256 colours, a photo of some 18 MB
// as the dialog makes it (its result and its source at the phone's size), two camera photos
// and a logo sharing a 5 KB page, and each kind of sample picture on each kind of screen, with
// the bytes made and how alike they look to the picture as shown (luma SSIM) beside the time.
#include "imode/handsets.h"
#include "pictures/page_pictures.h"
#include "pictures/picture_fitting.h"
#include "pictures/picture_quality.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <utility>

namespace {

// A camera's photo: a shaded scene under the grain of its sensor, the more `grainLevels` the more
// bytes it takes.
QByteArray photoJpeg(QSize size, int quality = 85, int grainLevels = 16)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator grain(3);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(grain.bounded(grainLevels));
            line[x] = qRgb(40 + 200 * x / size.width() + noise, 220 - 160 * y / size.height() + noise,
                           80 + noise);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.write(picture);
    return bytes;
}

// One of the sample pictures the conversion is tested on.
QByteArray sample(const char *name)
{
    QFile file(QStringLiteral(SAMPLE_PICTURES "/") + QString::fromLatin1(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// How alike the made picture looks to the source as the phone is given it; the dots of a
// dithered screen are seen blurred.
double similarity(const QByteArray &source, const FittedPicture &fitted, const Handset &phone)
{
    const QImage made = QImage::fromData(fitted.bytes);
    const QImage shown = PictureBeforeFitting(source, phone)
                             .scaled(made.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return LumaSimilarity(made, shown, phone.colourDepth <= 256 ? Seen::Blurred : Seen::Sharp);
}

} // namespace

class FitBenchmark : public QObject {
    Q_OBJECT

private slots:
    void cameraPhotoFor256Colours()
    {
        const QByteArray photo = photoJpeg({4000, 3000});
        Handset phone = *FindHandset(QStringLiteral("505i"));
        phone.colourDepth = 256; // a 240-pixel screen of 256 colours
        phone.screenWidth = 240;
        QBENCHMARK {
            const FittedPicture fitted = FitPicture(photo, phone, 20000);
            QVERIFY(!fitted.bytes.isEmpty());
        }
    }

    // What the dialog makes of a large photo, off its window's thread: the picture and its
    // source at the phone's size.
    void largePhotoInTheDialog()
    {
        const QByteArray photo = photoJpeg({5640, 3172}, 100, 40);
        const Handset phone = *FindHandset(QStringLiteral("SH505i"));
        QBENCHMARK {
            const PicturesFitted made = FitPicturesTogether({{photo, true, 0}}, 20000, 1500, phone, Qt::white);
            QVERIFY(!made.fitted[0].bytes.isEmpty());
            QVERIFY(!PictureBeforeFitting(photo, phone).isNull());
        }
        static bool said = false;
        if (!std::exchange(said, true))
            qInfo("a photo of %lld bytes", qint64(photo.size()));
    }

    // Two camera photos and a logo sharing what a 5 KB page leaves them.
    void wholePageFor5Kb()
    {
        const QList<PictureToFit> pictures{
            {photoJpeg({2560, 1600}), true, 0}, {sample("photo.jpg"), true, 0}, {sample("logo.png"), true, 0}};
        const Handset phone = *FindHandset(QStringLiteral("D502i"));
        PicturesFitted made;
        QBENCHMARK {
            made = FitPicturesTogether(pictures, phone.pageLimitBytes(), 600, phone, Qt::white);
        }
        qint64 bytes = 0;
        for (const FittedPicture &fitted : made.fitted) {
            QVERIFY(!fitted.bytes.isEmpty());
            bytes += fitted.bytes.size();
        }
        static bool said = false;
        if (!std::exchange(said, true))
            qInfo("whole page on the D502i: %lld bytes of pictures beside 600 of text", bytes);
    }

    void eachKindOfPicture_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("handset");
        // Two levels, four greys, the fixed 256 colours, JPEG on a 503i, a 505i.
        for (const char *kind : {"photo.jpg", "screenshot.png", "logo.png", "drawing.png", "gradient.png"})
            for (const char *handset : {"D501i", "N502i", "D502i", "N503i", "SH505i"})
                QTest::newRow(QByteArray(kind).append(' ').append(handset).constData())
                    << sample(kind) << QString::fromLatin1(handset);
    }

    void eachKindOfPicture()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, handset);
        QVERIFY(!source.isEmpty());
        const Handset phone = *FindHandset(handset);
        FittedPicture fitted;
        QBENCHMARK {
            fitted = FitPicture(source, phone, 3000);
        }
        QVERIFY(!fitted.bytes.isEmpty());
        // The benchmark runs the function again for each measuring: the result is said once.
        static QSet<QString> said;
        if (!said.contains(QString::fromLatin1(QTest::currentDataTag()))) {
            said.insert(QString::fromLatin1(QTest::currentDataTag()));
            qInfo("%s: %s, %lld bytes, luma SSIM %.3f", QTest::currentDataTag(),
                  fitted.format.constData(), qint64(fitted.bytes.size()), similarity(source, fitted, phone));
        }
    }
};

QTEST_MAIN(FitBenchmark)
#include "bench_fit.moc"
