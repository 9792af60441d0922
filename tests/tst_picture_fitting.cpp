// Pictures made for a handset, judged from the facts about its screen and formats: the bytes
// say GIF or JPEG, the width is the screen's at most, the colours are the screen's, the bytes
// are within the budget, and decoded again the picture still looks like its source.

#include "imode/handsets.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "pictures/gif_writer.h"
#include "pictures/picture_fitting.h"
#include "settings/handset_choice.h"
#include "support/picture_fitting_steps.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "windows/picture_fitting_dialog.h"

#include <QBuffer>
#include <QDir>
#include <QImageWriter>
#include <QtEndian>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A drawn logo with a transparent ground.
QImage logo()
{
    QImage picture(120, 60, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(10, 10, 100, 40, QColor(200, 30, 30));
    painter.fillRect(40, 20, 40, 20, QColor(255, 255, 255));
    return picture;
}

// Two frames of one GIF, the second after the first.
QByteArray animatedGif()
{
    QImage frame(40, 20, QImage::Format_Indexed8);
    frame.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    frame.fill(0);
    const QByteArray first = WriteGif(frame);
    frame.fill(1);
    const QByteArray second = WriteGif(frame);
    const int header = 6 + 7 + 2 * 3; // signature, screen and a table of two colours
    return first.chopped(1) + second.mid(header);
}

// A GIF whose header claims a picture of 65,535 × 65,535 pixels.
QByteArray pictureBomb()
{
    QImage dot(1, 1, QImage::Format_Indexed8);
    dot.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    dot.fill(0);
    QByteArray gif = WriteGif(dot);
    for (const int at : {6, 8, 19 + 5, 19 + 7}) // the screen's and the picture's width and height
        gif[at] = gif[at + 1] = char(0xFF);
    return gif;
}

// A progressive JPEG with its first scan header repeated `count` times, each without data: a
// pass over the whole picture each, at next to no cost in bytes.
QByteArray withEmptyScans(const QImage &picture, int count)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(picture);
    const qsizetype scan = bytes.indexOf("\xFF\xDA");
    const int length = qFromBigEndian<quint16>(bytes.constData() + scan + 2);
    return bytes.insert(bytes.size() - 2, bytes.mid(scan, 2 + length).repeated(count));
}

// A GIF of a 1 × 1 frame, its screen or its frame claiming 8191 × 8191 pixels.
QByteArray largeGif(bool largeScreen)
{
    QByteArray gif = pictureBomb();
    for (const int at : {6, 8, 19 + 5, 19 + 7})
        gif[at] = gif[at + 1] = char(0);
    const int at = largeScreen ? 6 : 19 + 5;
    gif[at] = gif[at + 2] = char(0xFF);
    gif[at + 1] = gif[at + 3] = char(0x1F);
    gif[largeScreen ? 19 + 5 : 6] = gif[largeScreen ? 19 + 7 : 8] = char(1);
    return gif;
}

// A BMP of 24-bit pixels whose header claims 7000 × 7000 of them in 2,000 bytes.
QByteArray bmpClaimingMore()
{
    QByteArray bmp = encodedPicture(cameraPhoto({20, 20}), "bmp");
    qToLittleEndian(qint32(7000), bmp.data() + 18);
    qToLittleEndian(qint32(7000), bmp.data() + 22);
    return bmp.leftJustified(2000, '\0', true);
}

// How far two pictures of one size lie apart, in levels of 0 to 255 on average over their
// colour channels, after both are averaged over blocks of 4 × 4 pixels: dithering spreads a
// colour over neighbouring pixels, so only the blocks say what the eye sees.
double difference(const QImage &a, const QImage &b)
{
    const QSize blocks(std::max(1, a.width() / 4), std::max(1, a.height() / 4));
    const QImage x = a.convertToFormat(QImage::Format_RGB32).scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage y = b.convertToFormat(QImage::Format_RGB32).scaled(blocks, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                   + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

QImage grey(const QImage &picture)
{
    return picture.convertToFormat(QImage::Format_Grayscale8).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class PictureFittingTest : public QObject {
    Q_OBJECT

private slots:
    void dialog_data();
    void dialog();
    void fitted_data();
    void fitted();
    void refused_data();
    void refused();
    void sharedBudget_data();
    void sharedBudget();
};

// Each kind of screen and format, and budgets of a 5 KB and a 10 KB page.
void PictureFittingTest::fitted_data()
{
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QImage>("source");
    QTest::addColumn<QByteArray>("sourceFormat");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<QByteArray>("format"); // "GIF87a", "GIF89a" or "JPEG"
    QTest::addColumn<int>("mostColours");
    QTest::addColumn<double>("mostDifference");
    const QImage camera = cameraPhoto({400, 300});
    // The bounds: a block of 16 pixels in two levels says its mean to within 8 of 255, in four
    // greys to within 3, and the dithering's pattern at the picture's edges adds as much again;
    // the fixed palette, a palette of the picture's own and JPEG keep a block's mean to a few
    // levels.
    QTest::newRow("black and white 501i") << "D501i" << camera << QByteArray("jpeg") << qint64(3000)
                                          << QByteArray("GIF87a") << 2 << 20.0;
    QTest::newRow("256 colours of the D502i") << "D502i" << camera << QByteArray("jpeg")
                                              << qint64(3000) << QByteArray("GIF87a") << 256 << 8.0;
    QTest::newRow("four greys of the N502i") << "N502i" << camera << QByteArray("png")
                                             << qint64(3000) << QByteArray("GIF87a") << 4 << 16.0;
    QTest::newRow("a 503i without JPEG") << "D503i" << camera << QByteArray("jpeg") << qint64(6000)
                                         << QByteArray("GIF87a") << 256 << 8.0;
    QTest::newRow("a 503i with JPEG") << "N503i" << camera << QByteArray("jpeg") << qint64(6000)
                                      << QByteArray("JPEG") << 0 << 8.0;
    QTest::newRow("a 505i") << "SH505i" << camera << QByteArray("png") << qint64(8000)
                            << QByteArray("JPEG") << 0 << 8.0;
    QTest::newRow("a FOMA") << "N2002" << camera << QByteArray("bmp") << qint64(8000)
                            << QByteArray("JPEG") << 0 << 8.0;
    QTest::newRow("a tall strip") << "SH505i" << cameraPhoto({60, 6000}) << QByteArray("png")
                                  << qint64(20000) << QByteArray("JPEG") << 0 << 8.0;
    QTest::newRow("a transparent logo") << "SH505i" << logo() << QByteArray("png") << qint64(2000)
                                        << QByteArray("GIF89a") << 256 << 8.0;
}

void PictureFittingTest::fitted()
{
    QFETCH(QString, handset);
    QFETCH(QImage, source);
    QFETCH(QByteArray, sourceFormat);
    QFETCH(qint64, budget);
    QFETCH(QByteArray, format);
    QFETCH(int, mostColours);
    QFETCH(double, mostDifference);
    const Handset phone = *FindHandset(handset);
    const FittedPicture fitted = FitPicture(encodedPicture(source, sourceFormat), phone, budget);
    QVERIFY2(fitted.problem.isEmpty(), qPrintable(fitted.problem));
    QVERIFY(fitted.bytes.size() <= budget);
    QCOMPARE(format == "JPEG" ? QByteArray(fitted.bytes.startsWith("\xFF\xD8") ? "JPEG" : "?")
                              : fitted.bytes.left(6),
             format);
    QVERIFY(fitted.size.width() <= std::min(source.width(), phone.screenWidth));
    QVERIFY(fitted.size.height() <= 8 * phone.screenWidth); // whatever the file claims
    // The proportions kept, to the rounding of a side of a few pixels.
    QVERIFY(qAbs(double(fitted.size.height()) * source.width()
                     / (double(fitted.size.width()) * source.height())
                 - 1.0)
            < 0.06);
    QImage back;
    QVERIFY(back.loadFromData(fitted.bytes));
    QCOMPARE(back.size(), fitted.size);
    if (mostColours > 0)
        QVERIFY(back.colorCount() <= mostColours + (format == "GIF89a" ? 1 : 0));
    QImage expected = source.scaled(fitted.size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (format == "GIF89a") {
        // Transparent pixels stay transparent; the rest is compared on white.
        QCOMPARE(qAlpha(back.convertToFormat(QImage::Format_ARGB32).pixel(0, 0)), 0);
        QImage flat(expected.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter(&flat).drawImage(0, 0, expected);
        expected = flat;
        QImage drawn(back.size(), QImage::Format_RGB32);
        drawn.fill(Qt::white);
        QPainter(&drawn).drawImage(0, 0, back);
        back = drawn;
    }
    const bool greyScreen = phone.colourDepth == 2 || phone.colourDepth == 4;
    const double apart = greyScreen ? difference(grey(back), grey(expected)) : difference(back, expected);
    QVERIFY2(apart <= mostDifference, qPrintable(QString::number(apart)));
}

// Nothing is made of a budget no picture worth showing fits, of a file that is no picture, or
// of a picture too large to decode; an animated GIF gives its first frame and says so.
void PictureFittingTest::refused_data()
{
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<qint64>("budget");
    QTest::addColumn<QString>("problem"); // how it begins; empty when a picture is made
    QTest::addColumn<QString>("note");
    QTest::newRow("budget too small") << encodedPicture(cameraPhoto({400, 300}), "jpeg") << qint64(150)
                                      << "150 バイトには、見られる画像になりません" << "";
    QTest::newRow("no picture") << QByteArray("not a picture at all") << qint64(5000)
                                << "画像として読めないファイルです" << "";
    QTest::newRow("picture bomb") << pictureBomb() << qint64(5000) << "画像が大きすぎて読めません"
                                  << "";
    const QByteArray gif = WriteGif(cameraPhoto({200, 150}).convertToFormat(QImage::Format_Indexed8));
    const QByteArray jpeg = encodedPicture(cameraPhoto({400, 300}), "jpeg");
    const QByteArray png = encodedPicture(cameraPhoto({200, 150}), "png");
    const QString endsEarly = QStringLiteral("画像ファイルが途中で終わっています。");
    QTest::newRow("JPEG of sixty scans") << withEmptyScans(cameraPhoto({64, 48}), 60) << qint64(5000)
                                         << "JPEG のスキャンが 70 回もあり、読めません" << "";
    QTest::newRow("GIF of a large screen") << largeGif(true) << qint64(5000)
                                           << "画像が大きすぎて読めません（8191 × 8191" << "";
    QTest::newRow("GIF of a large frame") << largeGif(false) << qint64(5000)
                                          << "GIF の中のコマが大きすぎて読めません" << "";
    QTest::newRow("JPEG cut in half") << jpeg.first(jpeg.size() / 2) << qint64(5000) << endsEarly << "";
    QTest::newRow("GIF cut in half") << gif.first(gif.size() / 2) << qint64(5000) << endsEarly << "";
    QTest::newRow("PNG cut in half") << png.first(png.size() / 2) << qint64(5000) << endsEarly << "";
    QTest::newRow("BMP claiming more") << bmpClaimingMore() << qint64(5000) << endsEarly << "";
    QTest::newRow("JPEG broken inside") << jpeg.left(jpeg.size() / 2) + QByteArray(40, '\xFF')
                                                + jpeg.mid(jpeg.size() / 2 + 40)
                                        << qint64(5000) << "JPEG 画像の中身が壊れていて読めません" << "";
    QByteArray noScreen = gif;
    noScreen.replace(6, 4, QByteArray(4, '\0'));
    QTest::newRow("GIF of no screen size") << noScreen << qint64(5000) << "" << "";
    QTest::newRow("animated GIF") << animatedGif() << qint64(5000) << ""
                                  << "動くGIFの最初のコマだけを使いました。";
}

void PictureFittingTest::refused()
{
    QFETCH(QByteArray, source);
    QFETCH(qint64, budget);
    QFETCH(QString, problem);
    QFETCH(QString, note);
    const FittedPicture fitted = FitPicture(source, *FindHandset("505i"), budget);
    QVERIFY2(problem.isEmpty() ? fitted.problem.isEmpty() : fitted.problem.startsWith(problem),
             qPrintable(fitted.problem));
    QCOMPARE(fitted.bytes.isEmpty(), !problem.isEmpty());
    QCOMPARE(fitted.note, note);
    if (!note.isEmpty()) {
        QImage back;
        QVERIFY(back.loadFromData(fitted.bytes));
        QCOMPARE(QColor(back.pixel(0, 0)), QColor(255, 0, 0)); // the first frame, red
    }
}

// The page's limit, less what is not converted, shared by area, and never more than is left.
void PictureFittingTest::sharedBudget_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<qint64>("page");
    QTest::addColumn<qint64>("others");
    QTest::addColumn<QList<QSize>>("areas");
    QTest::addColumn<QList<qint64>>("shares");
    QTest::newRow("one picture") << qint64(5000) << qint64(1200) << qint64(0)
                                 << QList<QSize>{{96, 72}} << QList<qint64>{3800};
    QTest::newRow("by area") << qint64(10000) << qint64(1000) << qint64(3000)
                             << QList<QSize>{{120, 90}, {60, 45}} << QList<qint64>{4800, 1200};
    QTest::newRow("rounded down") << qint64(5000) << qint64(0) << qint64(0)
                                  << QList<QSize>{{10, 10}, {10, 10}, {10, 10}}
                                  << QList<qint64>{1666, 1666, 1666};
    QTest::newRow("page past its limit") << qint64(5000) << qint64(5200) << qint64(0)
                                         << QList<QSize>{{96, 72}} << QList<qint64>{0};
}

void PictureFittingTest::sharedBudget()
{
    QFETCH(qint64, limit);
    QFETCH(qint64, page);
    QFETCH(qint64, others);
    QFETCH(QList<QSize>, areas);
    QFETCH(QList<qint64>, shares);
    QCOMPARE(SharePictureBudget(limit, page, others, areas), shares);
}

// "携帯向けに変換…" on an item: the picture written beside the page under its new name, and
// the item naming it; a file that is there is written over only with the user's yes.
void PictureFittingTest::dialog_data()
{
    QTest::addColumn<int>("item"); // 1 an image item, 4 a direct input
    QTest::addColumn<QByteArray>("named");
    QTest::addColumn<QByteArray>("oldGif"); // photo.gif before, when there is one
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QByteArray>("namedAfter"); // empty: nothing written
    QTest::newRow("a new name") << 1 << QByteArray("photo.png") << QByteArray() << QList<bool>{}
                                << QByteArray("photo.gif");
    QTest::newRow("a name that is there, no") << 1 << QByteArray("photo.png") << QByteArray("old")
                                              << QList<bool>{false} << QByteArray();
    QTest::newRow("a name that is there, yes") << 1 << QByteArray("photo.png") << QByteArray("old")
                                               << QList<bool>{true} << QByteArray("photo.gif");
    QTest::newRow("in a direct input") << 4 << QByteArray("<IMG SRC=\"photo.png\" ALT=\"x\">")
                                       << QByteArray() << QList<bool>{}
                                       << QByteArray("<IMG SRC=\"photo.gif\" ALT=\"x\">");
    // The item names a picture that is not there: a file dialog asks, and is cancelled, or
    // chooses the photo.
    QTest::newRow("no picture to fit") << 1 << QByteArray("gone.png") << QByteArray()
                                       << QList<bool>{} << QByteArray();
    QTest::newRow("a picture chosen for none") << 1 << QByteArray("gone.jpg") << QByteArray()
                                               << QList<bool>{} << QByteArray("photo.gif");
}

void PictureFittingTest::dialog()
{
    QFETCH(int, item);
    QFETCH(QByteArray, named);
    QFETCH(QByteArray, oldGif);
    QFETCH(QList<bool>, answers);
    QFETCH(QByteArray, namedAfter);
    QTemporaryDir folder;
    writeBytes(folder.filePath(QStringLiteral("photo.png")), encodedPicture(cameraPhoto({400, 300}), "PNG"));
    const QString gif = folder.filePath(QStringLiteral("photo.gif"));
    if (!oldGif.isEmpty())
        writeBytes(gif, oldGif);
    PageProject page;
    PageLocation location;
    location.ProjectFolder = folder.path();
    QByteArray &field = item == 1 ? page.Images[0].ImageUrl : page.Directs[0].DirectMarkup;
    field = named;
    Pattern pattern;
    const QString programFolder = folder.path();
    HandsetChoice handsetChoice(programFolder);
    QVERIFY(handsetChoice.choose(QStringLiteral("D502i")).isEmpty());
    RecordingDesktop desktop;
    desktop.yesAnswers = answers;
    if (named == "gone.jpg")
        desktop.answerWith(folder.filePath(QStringLiteral("photo.png")));
    PictureFittingDialog dialog(page, location, pattern, handsetChoice, desktop);
    QSignalSpy stored(&dialog, &PictureFittingDialog::stored);
    whenMade(dialog);
    const LineOrigin origin{item == 1 ? LineOrigin::Item::Image : LineOrigin::Item::Direct, 1};
    const QString source = item == 1 ? QString::fromLatin1(named) : QStringLiteral("photo.png");
    const std::optional<WrittenPicture> written = dialog.fitFor(origin, source);

    QCOMPARE(desktop.dialogs.size(), QFileInfo::exists(folder.filePath(source)) ? 0 : 1);
    QCOMPARE(desktop.questions.size(), answers.size());
    QCOMPARE(written.has_value(), !namedAfter.isEmpty());
    QCOMPARE(stored.size(), namedAfter.isEmpty() ? 0 : 1);
    QCOMPARE(field, namedAfter.isEmpty() ? named : namedAfter);
    if (namedAfter.isEmpty()) {
        QCOMPARE(QFileInfo::exists(gif), !oldGif.isEmpty());
        if (!oldGif.isEmpty())
            QCOMPARE(readBytes(gif), oldGif);
        return;
    }
    const QByteArray made = readBytes(gif);
    QVERIFY(made.startsWith("GIF8"));
    QCOMPARE(QImage::fromData(made).width(), 96); // D502i's screen
    QVERIFY(made.size() <= 5000);
}

QTEST_MAIN(PictureFittingTest)
#include "tst_picture_fitting.moc"
