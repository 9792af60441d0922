// Fitting pictures to a phone, as the conversion's before and after follows a change of handset:
// a camera's 4,000 × 3,000 photo for a 240-pixel screen of 256 colours, the two photos and the
// logo of a page for a 5 KB handset, and each kind of picture on each kind of screen, with the
// bytes made and how alike they look to the picture as shown (luma SSIM) beside the time.
#include "imode/handsets.h"
#include "pictures/picture_fitting.h"
#include "pictures/picture_quality.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <utility>

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

QByteArray encoded(const QImage &picture, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, format);
    return bytes;
}

// A screen's picture: smoothed text on a shaded ground.
QImage screenshot()
{
    QImage picture(200, 150, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient ground(0, 0, 0, 150);
    ground.setColorAt(0, QColor(250, 250, 255));
    ground.setColorAt(1, QColor(205, 215, 240));
    painter.fillRect(picture.rect(), ground);
    painter.setPen(QColor(20, 20, 40));
    QFont font;
    font.setPixelSize(13);
    painter.setFont(font);
    for (int line = 0; line < 10; ++line)
        painter.drawText(6, 16 + line * 14, QStringLiteral("Open 9:00-18:00, closed Monday %1").arg(line));
    return picture;
}

// A flat logo on a transparent ground.
QImage logo()
{
    QImage picture(160, 60, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(5, 5, 50, 50);
    painter.setBrush(QColor(30, 60, 150));
    painter.drawRoundedRect(65, 15, 90, 30, 8, 8);
    return picture;
}

// A line drawing: black strokes on white.
QImage drawing()
{
    QImage picture(200, 150, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 2));
    for (int step = 0; step < 12; ++step)
        painter.drawLine(10 + step * 15, 140, 100, 10 + step * 5);
    return picture;
}

QImage gradient()
{
    QImage picture(200, 150, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient colours(0, 0, 200, 150);
    colours.setColorAt(0, QColor(255, 200, 0));
    colours.setColorAt(1, QColor(0, 80, 200));
    painter.fillRect(picture.rect(), colours);
    return picture;
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

    // Two photos and a logo sharing what a 5 KB page leaves them.
    void wholePageFor5Kb()
    {
        const QList<std::pair<QByteArray, qint64>> pictures{
            {photoJpeg({400, 300}), 1800}, {photoJpeg({640, 480}), 1800}, {encoded(logo(), "png"), 900}};
        const Handset phone = *FindHandset(QStringLiteral("D502i"));
        qint64 bytes = 0;
        QBENCHMARK {
            bytes = 0;
            for (const auto &[source, budget] : pictures) {
                const FittedPicture fitted = FitPicture(source, phone, budget);
                QVERIFY(!fitted.bytes.isEmpty());
                bytes += fitted.bytes.size();
            }
        }
        static bool said = false;
        if (!std::exchange(said, true))
            qInfo("whole page on the D502i: %lld bytes of pictures", bytes);
    }

    void eachKindOfPicture_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QString>("handset");
        const QList<std::pair<const char *, QByteArray>> kinds{
            {"photo", photoJpeg({640, 480})},
            {"screenshot", encoded(screenshot(), "png")},
            {"logo", encoded(logo(), "png")},
            {"drawing", encoded(drawing(), "png")},
            {"gradient", encoded(gradient(), "png")}};
        // Two levels, four greys, the fixed 256 colours, JPEG on a 503i, a 505i.
        for (const auto &[kind, source] : kinds)
            for (const char *handset : {"D501i", "N502i", "D502i", "N503i", "SH505i"})
                QTest::newRow(QByteArray(kind).append(' ').append(handset).constData())
                    << source << QString::fromLatin1(handset);
    }

    void eachKindOfPicture()
    {
        QFETCH(QByteArray, source);
        QFETCH(QString, handset);
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
