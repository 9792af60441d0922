// The program's picture conversion and its score, for the scripts that compare them with other
// picture tools:
//   picture_tool fit SOURCE HANDSET BUDGET OUT   writes what the program makes; prints its
//                                                format, bytes, width and height
//   picture_tool before SOURCE HANDSET OUT       writes the source as the program scales it for
//                                                the screen (PNG), before its colours are reduced
//   picture_tool score PICTURE SOURCE HANDSET    prints the luma SSIM of PICTURE against the
//                                                source scaled to PICTURE's size, blurred by a
//                                                pixel where the screen is dithered
#include "imode/handsets.h"
#include "pictures/picture_fitting.h"
#include "pictures/picture_quality.h"

#include <QFile>
#include <QCoreApplication>
#include <QImage>

#include <cstdio>
#include <optional>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int usage()
{
    std::fputs("usage: picture_tool fit SOURCE HANDSET BUDGET OUT | before SOURCE HANDSET OUT |"
               " score PICTURE SOURCE HANDSET\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() < 4)
        return usage();
    const QString command = arguments[0];
    const std::optional<Handset> handset =
        FindHandset(command == "score" ? arguments[3] : arguments[2]);
    if (!handset) {
        std::fputs("no such handset\n", stderr);
        return 2;
    }
    if (command == "fit" && arguments.size() == 5) {
        const FittedPicture fitted =
            FitPicture(fileBytes(arguments[1]), *handset, arguments[3].toLongLong());
        QFile out(arguments[4]);
        if (fitted.bytes.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(fitted.bytes) != fitted.bytes.size())
            return 1;
        std::printf("%s %lld %d %d\n", fitted.format.constData(), qint64(fitted.bytes.size()),
                    fitted.size.width(), fitted.size.height());
        return 0;
    }
    if (command == "before" && arguments.size() == 4) {
        const QImage before = PictureBeforeFitting(fileBytes(arguments[1]), *handset);
        return !before.isNull() && before.save(arguments[3], "PNG") ? 0 : 1;
    }
    if (command == "score" && arguments.size() == 4) {
        const QImage picture = QImage::fromData(fileBytes(arguments[1]));
        QImage source = PictureBeforeFitting(fileBytes(arguments[2]), *handset);
        if (picture.isNull() || source.isNull())
            return 1;
        if (source.size() != picture.size())
            source = source.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const Seen seen = handset->colourDepth <= 256 ? Seen::Blurred : Seen::Sharp;
        std::printf("%.4f\n", LumaSimilarity(picture, source, seen));
        return 0;
    }
    return usage();
}
