// Fitting pictures to a phone, as the conversion's before and after follows a change of handset:
// a camera's 4,000 × 3,000 photo for a 240-pixel screen of 256 colours, and the two pictures of
// a page for a 5 KB handset.
#include "imode/handsets.h"
#include "pictures/picture_fitting.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTest>

namespace {

QByteArray photoJpeg(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator grain(3);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(grain.bounded(16));
            line[x] = qRgb(40 + 200 * x / size.width() + noise, 220 - 160 * y / size.height() + noise,
                           80 + noise);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "jpeg", 85);
    return bytes;
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

    void twoPicturesFor5Kb()
    {
        const QByteArray first = photoJpeg({400, 300});
        const QByteArray second = photoJpeg({640, 480});
        const Handset phone = *FindHandset(QStringLiteral("D502i"));
        QBENCHMARK {
            QVERIFY(!FitPicture(first, phone, 2000).bytes.isEmpty());
            QVERIFY(!FitPicture(second, phone, 2000).bytes.isEmpty());
        }
    }
};

QTEST_MAIN(FitBenchmark)
#include "bench_fit.moc"
