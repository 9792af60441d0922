// The phone preview on the handsets' screens: their colours, by pixels, and pages longer than
// a screen.

#include "check/page_check.h"
#include "drawings/fonts.h"
#include "drawings/pictogram_pictures.h"
#include "imode/handsets.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "preview/phone_preview.h"
#include "preview/preview_markup.h"
#include "preview/screen_colours.h"
#include "support/preview_pages.h"
#include "support/test_files.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTemporaryDir>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

class PhoneScreensTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void screenColours_data();
    void screenColours();
    void drawnInTheScreensColours_data();
    void drawnInTheScreensColours();
    void pictogramsAsMarks_data();
    void pictogramsAsMarks();
    void longPages_data();
    void longPages();
};

// A screen of few colours shows a picture in its own: black and white, 4 grey levels, or the
// 256 colours of 8 red × 8 green × 4 blue levels, spreading every other colour over
// neighbouring pixels so that an area keeps its shade; 65536 colours and more show it as it is.
void PhoneScreensTest::screenColours_data()
{
    QTest::addColumn<int>("depth");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QList<int>>("levels"); // of red and green; empty where the picture stays as it is
    QTest::addColumn<QList<int>>("blueLevels");
    QTest::addColumn<bool>("grey");
    const QList<int> two{0, 255};
    const QList<int> four{0, 85, 170, 255};
    const QList<int> eight{0, 36, 73, 109, 146, 182, 219, 255};
    QList<int> sixteen;
    for (int level = 0; level < 16; ++level)
        sixteen.append(level * 17);
    const QColor grey(128, 128, 128);
    const QColor sky(90, 160, 220);
    QTest::newRow("mid-grey, black and white") << 2 << grey << two << two << true;
    QTest::newRow("sky blue, black and white") << 2 << sky << two << two << true;
    QTest::newRow("mid-grey, 4 grey levels") << 4 << grey << four << four << true;
    QTest::newRow("sky blue, 4 grey levels") << 4 << sky << four << four << true;
    QTest::newRow("mid-grey, 256 colours") << 256 << grey << eight << four << false;
    QTest::newRow("sky blue, 256 colours") << 256 << sky << eight << four << false;
    QTest::newRow("sky blue, 4096 colours") << 4096 << sky << sixteen << sixteen << false;
    QTest::newRow("65536 colours") << 65536 << sky << QList<int>() << QList<int>() << false;
    QTest::newRow("262144 colours") << 262144 << sky << QList<int>() << QList<int>() << false;
    QTest::newRow("colours not known") << 0 << sky << QList<int>() << QList<int>() << false;
}

void PhoneScreensTest::screenColours()
{
    QFETCH(int, depth);
    QFETCH(QColor, colour);
    QFETCH(QList<int>, levels);
    QFETCH(QList<int>, blueLevels);
    QFETCH(bool, grey);
    // An area of the colour on the left, and a photo's smooth shades on the right.
    QImage picture(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture.setPixelColor(x, y, x < 32 ? colour : QColor(4 * x - 1, 7 * y, 255 - 3 * x));
    const QImage shown = ScreenColours(picture, depth).convertToFormat(QImage::Format_RGB32);
    if (levels.isEmpty()) {
        QCOMPARE(shown, picture);
        return;
    }
    std::array<double, 3> sum{};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const QColor pixel = shown.pixelColor(x, y);
            QVERIFY(levels.contains(pixel.red()) && levels.contains(pixel.green()));
            QVERIFY(blueLevels.contains(pixel.blue()));
            QVERIFY(!grey || (pixel.red() == pixel.green() && pixel.green() == pixel.blue()));
            if (x < 32)
                sum = {sum[0] + pixel.red(), sum[1] + pixel.green(), sum[2] + pixel.blue()};
        }
    // The area keeps its shade.
    const std::array<int, 3> wanted = grey ? std::array<int, 3>{qGray(colour.rgb()), qGray(colour.rgb()),
                                                                qGray(colour.rgb())}
                                           : std::array<int, 3>{colour.red(), colour.green(), colour.blue()};
    for (int channel = 0; channel < 3; ++channel)
        QVERIFY2(qAbs(sum[channel] / (32 * 32) - wanted[channel]) <= 9,
                 qPrintable(QString::number(sum[channel] / (32 * 32))));
}

// The screen of the drawn preview, title band, text and pictograms, shows only the colours of
// the handset's screen; the phone around it stays as drawn.
void PhoneScreensTest::drawnInTheScreensColours_data()
{
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QList<int>>("levels");
    QTest::addColumn<QList<int>>("blueLevels");
    QTest::newRow("black and white") << "D501i" << QList<int>{0, 255} << QList<int>{0, 255};
    QTest::newRow("4 grey levels") << "P502i" << QList<int>{0, 85, 170, 255} << QList<int>{0, 85, 170, 255};
    QTest::newRow("256 colours") << "P503i" << QList<int>{0, 36, 73, 109, 146, 182, 219, 255}
                                 << QList<int>{0, 85, 170, 255};
}

void PhoneScreensTest::drawnInTheScreensColours()
{
    QFETCH(QString, handset);
    QFETCH(QList<int>, levels);
    QFETCH(QList<int>, blueLevels);
    PhonePreview phone;
    phone.setPage(pageOf("&#63647;&#63648;<FONT COLOR=\"#8040C0\">" + sj("色") + "</FONT>"), *FindHandset(handset),
                  {});
    const QImage drawn = phone.draw(0, 0);
    const QRect screen = phone.screenRect();
    for (int y = screen.top() - 20; y <= screen.bottom(); ++y)
        for (int x = screen.left(); x <= screen.right(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            if (y >= screen.top() - 2 && y < screen.top())
                continue; // the phone between the title band and the screen
            QVERIFY2(levels.contains(pixel.red()) && levels.contains(pixel.green())
                         && blueLevels.contains(pixel.blue()),
                     qPrintable(QStringLiteral("%1, %2: %3").arg(x).arg(y).arg(pixel.name())));
        }
    QCOMPARE(drawn.pixelColor(screen.left() / 2, screen.center().y()), QColor(70, 72, 84));
}

// A black-and-white or grey screen shows a pictogram as a sign of one colour, the text's: in its
// cell only that colour and the ground, and a mark that neither vanishes nor fills the cell.
void PhoneScreensTest::pictogramsAsMarks_data()
{
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QByteArray>("pictogram");
    QTest::addColumn<QColor>("text"); // the page's text colour, where the handset shows it
    for (const char *handset : {"D501i", "N502i"})
        for (const char *pictogram : {"&#63647;", "&#63879;", "&#63880;", "&#63863;", "&#63697;", "&#63726;"})
            QTest::addRow("%s %s", handset, pictogram)
                << QString::fromLatin1(handset) << QByteArray(pictogram)
                << (QByteArray(handset) == "D501i" ? QColor(Qt::black) : QColor(0xff, 0xff, 0x00));
}

void PhoneScreensTest::pictogramsAsMarks()
{
    QFETCH(QString, handset);
    QFETCH(QByteArray, pictogram);
    QFETCH(QColor, text);
    const Handset phoneOf = *FindHandset(handset);
    PhonePreview phone;
    phone.setPage(pageOf(pictogram), phoneOf, {});
    const QImage drawn = phone.draw(0, 0);
    const QRect screen = phone.screenRect();
    const QColor ink = NearestScreenColour(text, phoneOf.colourDepth);
    // The ground as its last line shows it: a grey screen mixes a dark green of its levels.
    QSet<QRgb> ground;
    for (int x = screen.left(); x <= screen.right(); ++x)
        ground.insert(drawn.pixel(x, screen.bottom()));
    QVERIFY(!ground.contains(ink.rgb()));
    int marked = 0;
    QRect cell;
    for (int y = screen.top(); y <= screen.bottom(); ++y)
        for (int x = screen.left(); x <= screen.right(); ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            if (ground.contains(pixel.rgb()))
                continue;
            QVERIFY2(pixel == ink, qPrintable(QStringLiteral("%1, %2: %3").arg(x).arg(y).arg(pixel.name())));
            ++marked;
            cell |= QRect(x, y, 1, 1);
        }
    // The mark stands in a cell of the screen's characters.
    const int side = phone.characterCell();
    QVERIFY2(cell.width() <= side && cell.height() <= side, qPrintable(QString::number(side)));
    const int area = side * side;
    QVERIFY2(marked * 10 >= area && marked * 3 <= area,
             qPrintable(QStringLiteral("%1 of %2").arg(marked).arg(area)));
}

// Pages of many pictures in one line, of many marquees or of many paragraphs are laid out
// whole, and a picture of the whole page stays within its bounds, ending with a note where
// the page is longer.
void PhoneScreensTest::longPages_data()
{
    QTest::addColumn<QByteArray>("markup");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<int>("shortest"); // the page is at least this long
    QTest::newRow("9,000 pictograms in a line") << QByteArray(9000, 'x').replace("x", "\xF8\x9F")
                                                << "505i" << 9000 / 20 * 12;
    QTest::newRow("4,500 marquees") << QByteArray("<MARQUEE>ab</MARQUEE>").repeated(4500) << "SH2101V"
                                    << 4500 * 12;
    QTest::newRow("23,000 paragraphs") << QByteArray("<P>a").repeated(23000) << "900i" << 23000 * 12;
    QTest::newRow("pictures a million tall") << QByteArray("<IMG SRC=\"x.gif\" WIDTH=\"9\" HEIGHT=\"1000000\">")
                                                    .repeated(2000)
                                             << "900i" << 2000 * 300;
}

void PhoneScreensTest::longPages()
{
    QFETCH(QByteArray, markup);
    QFETCH(QString, handset);
    QFETCH(int, shortest);
    PhonePreview phone;
    phone.setPage(pageOf(markup), *FindHandset(handset), {});
    QVERIFY(phone.draw(0, 3).height() < 1000);
    const QImage whole = phone.draw(0, 0, PhonePreview::Extent::WholePage);
    const QRect page = phone.screenRect(PhonePreview::Extent::WholePage);
    QVERIFY(phone.maximumScroll() + phone.screenSize().height() >= std::min(shortest, phone.longestWholePage()));
    QVERIFY(qint64(whole.width()) * whole.height() <= 17 * 1024 * 1024);
    if (shortest > phone.longestWholePage()) {
        QCOMPARE(page.height(), phone.longestWholePage());
        QCOMPARE(whole.pixelColor(page.left() + 1, page.bottom() - 1), QColor(255, 240, 240));
    }
}

QTEST_MAIN(PhoneScreensTest)
#include "tst_phone_screens.moc"
