// Fits one of two pictures made to exhaust a decoder, for measuring its time and peak memory
// from outside (/usr/bin/time -v):
//   fit_bomb scans    a progressive JPEG claiming 7000 × 7000 pixels, of 10,000 empty scans (141 KB)
//   fit_bomb screen   a 798-byte GIF whose 8191 × 8191 screen holds one 1 × 1 frame
#include "imode/handsets.h"
#include "pictures/picture_fitting.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTextStream>
#include <QtEndian>

namespace {

QByteArray scanBomb()
{
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    // A frame header of 7000 × 7000 pixels, within the pixel limit: each scan, even one of no
    // data, is a pass over all of its blocks.
    const qsizetype frame = bytes.indexOf("\xFF\xC2");
    qToBigEndian(quint16(7000), bytes.data() + frame + 5);
    qToBigEndian(quint16(7000), bytes.data() + frame + 7);
    // The first scan's header again and again before the end, each with no data.
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    const int length = qFromBigEndian<quint16>(bytes.constData() + scan + 2);
    return bytes.insert(bytes.size() - 2, bytes.mid(scan, 2 + length).repeated(10'000));
}

QByteArray screenBomb()
{
    QByteArray gif("GIF89a");
    gif += QByteArray::fromHex("ff1fff1f" "f7" "0000"); // 8191 × 8191, a table of 256 colours
    gif += QByteArray(768, '\0');
    gif += QByteArray::fromHex("2c" "00000000" "01000100" "00"); // a 1 × 1 frame at the corner
    gif += QByteArray::fromHex("08" "03" "00010400" "3b");
    return gif;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication application(argc, argv);
    QTextStream out(stdout);
    const QStringList arguments = application.arguments();
    const QString which = arguments.value(1);
    if (which != QLatin1String("scans") && which != QLatin1String("screen")) {
        out << "usage: fit_bomb scans|screen\n";
        return 2;
    }
    const QByteArray bomb = which == QLatin1String("scans") ? scanBomb() : screenBomb();
    QElapsedTimer clock;
    clock.start();
    const FittedPicture fitted = FitPicture(bomb, *FindHandset("SH505i"), 10'000);
    out << bomb.size() << " bytes, " << clock.elapsed() << " ms: "
        << (fitted.problem.isEmpty() ? PictureFactsText(fitted.sourceFormat, fitted.sourceSize,
                                                        fitted.sourceColours, bomb.size())
                                     : fitted.problem)
        << '\n';
    return 0;
}
