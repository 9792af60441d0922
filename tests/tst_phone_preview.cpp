// The phone preview: the translation of a page's markup for Qt's text engine, by tables, and
// the drawn preview, by pixels where it matters.

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
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

class PhonePreviewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void translation_data();
    void translation();
    void colours();
    void titleReadsReferencesNotTags();
    void drawnPreview();
    void pictureSizes_data();
    void pictureSizes();
    void picturesTheHandsetCannotShow_data();
    void picturesTheHandsetCannotShow();
    void limitCountsPictures_data();
    void limitCountsPictures();
    void linkColour_data();
    void linkColour();
    void blocksEndLines_data();
    void blocksEndLines();
    void charactersInTheirCells_data();
    void charactersInTheirCells();
};

void PhonePreviewTest::translation_data()
{
    QTest::addColumn<QByteArray>("markup");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QString>("has");     // in the rich text
    QTest::addColumn<QString>("hasNot");
    QTest::newRow("line break") << QByteArray("a<BR>b") << "501i" << "a<br/>b" << "";
    QTest::newRow("centred") << QByteArray("<CENTER>a</CENTER>") << "501i" << "<div align=\"center\">"
                             << "";
    QTest::newRow("font colour on 2.0") << QByteArray("<FONT COLOR=\"red\">a</FONT>") << "502i"
                                        << "<font color=\"red\">a</font>" << "";
    QTest::newRow("font colour ignored on 1.0") << QByteArray("<FONT COLOR=\"red\">a</FONT>") << "501i"
                                                << "a" << "<font";
    QTest::newRow("unknown tag ignored") << QByteArray("<CENTRE>a</CENTRE>") << "505i" << "a" << "CENTRE";
    QTest::newRow("blink") << QByteArray("<BLINK>a</BLINK>") << "502i"
                           << "<span style=\"background-color: #00010203\">a</span>" << "";
    QTest::newRow("marquee on 2.0") << QByteArray("<MARQUEE>a</MARQUEE>") << "502i"
                                    << "<img src=\"marquee:0\"" << "";
    QTest::newRow("marquee is text on 1.0") << QByteArray("<MARQUEE>a</MARQUEE>") << "501i" << "a"
                                            << "marquee";
    QTest::newRow("basic pictogram by reference") << QByteArray("&#63647;") << "501i"
                                                  << "<img src=\"pictogram:f89f\">" << "";
    QTest::newRow("basic pictogram by code") << QByteArray("\xF8\x9F") << "501i"
                                             << "<img src=\"pictogram:f89f\">" << "";
    QTest::newRow("extended pictogram on 4.0") << QByteArray("\xF9\xB1") << "504i"
                                               << "<img src=\"pictogram:f9b1\">" << "";
    QTest::newRow("extended pictogram before 4.0") << QByteArray("\xF9\xB1") << "503i" << ""
                                                   << "pictogram";
    QTest::newRow("extended pictogram by reference") << QByteArray("&#63921;") << "505i" << ""
                                                     << "pictogram";
    QTest::newRow("pictogram by Unicode reference") << QByteArray("&#xE63E;") << "504i"
                                                    << "<img src=\"pictogram:f89f\">" << "";
    QTest::newRow("reference read as Shift-JIS") << QByteArray("&#169;") << "505i" << "ｩ" << "&#169;";
    QTest::newRow("text of the source") << QByteArray("a < b & c &amp; d") << "505i"
                                        << "a &lt; b &amp; c &amp; d" << "";
    QTest::newRow("full-width space indents") << QByteArray("\x81\x40x") << "505i" << "&nbsp;&nbsp;x"
                                              << "";
    QTest::newRow("missing picture") << QByteArray("<IMG SRC=\"gone.gif\">") << "505i"
                                     << "<img src=\"picture:0\"" << "";
}

void PhonePreviewTest::translation()
{
    QFETCH(QByteArray, markup);
    QFETCH(QString, handset);
    QFETCH(QString, has);
    QFETCH(QString, hasNot);
    const QString html = translated(markup, handset).html();
    QVERIFY2(html.contains(has), qPrintable(html));
    if (!hasNot.isEmpty())
        QVERIFY2(!html.contains(hasNot), qPrintable(html));
}

// The page's colours show where the handset's HTML knows them; a page past the handset's
// limit is cut there.
void PhonePreviewTest::colours()
{
    const PreviewMarkup coloured = translated("a", "502i");
    QCOMPARE(coloured.background.name() + coloured.text.name(), QStringLiteral("#003300#ffff00"));
    const PreviewMarkup plain = translated("a", "501i");
    QCOMPARE(plain.background.name() + plain.text.name(), QStringLiteral("#ffffff#000000"));
    QVERIFY(!plain.cutShort);
    QVERIFY(translated(QByteArray(6000, 'a'), "501i").cutShort);
}

// The title bar shows the title's pictograms and characters by reference; a tag in it is text.
void PhonePreviewTest::titleReadsReferencesNotTags()
{
    PageProject page;
    page.Title = "Shop&#63647;<B>\xF9\xBF";
    Pattern pattern;
    static PictogramPictures pictograms;
    const PreviewMarkup markup = TranslateForPreview(
        GeneratePageLines(page, pattern, 1, {}),
        {*FindHandset(QStringLiteral("505i")), 120, 12, {}, {}, &pictograms});
    const QString title = markup.title.html();
    QVERIFY2(title.contains(QStringLiteral("Shop<img src=\"pictogram:f89f\"")), qPrintable(title));
    QVERIFY(title.contains(QStringLiteral("&lt;B&gt;<img src=\"pictogram:f9bf\"")));
}

// The drawn screen: the background and text colours, a pictogram in colour at its place, a
// centred line in the middle, a picture wider than the screen cut at its right edge.
void PhonePreviewTest::drawnPreview()
{
    QTemporaryDir folder;
    QImage wide(400, 50, QImage::Format_RGB32);
    wide.fill(QColor(0, 0, 255));
    for (int y = 0; y < 50; ++y)
        for (int x = 300; x < 400; ++x)
            wide.setPixelColor(x, y, Qt::red);
    QVERIFY(wide.save(folder.filePath("wide.jpg"), "JPEG", 100));
    PhonePreview phone;
    const Handset handset = *FindHandset(QStringLiteral("SO505i")); // 256 pixels wide, HTML 5.0
    phone.setPage(pageOf("&#63647;<CENTER>" + sj("中央") + "</CENTER><IMG SRC=\"wide.jpg\">"), handset,
                  folder.path());
    const QImage drawn = phone.draw(0, 0);
    const QRect screen = phone.screenRect();
    QCOMPARE(screen.size(), QSize(256, 240));
    QCOMPARE(colourAt(drawn, screen.right() - 8, screen.bottom() - 4), QStringLiteral("#003300"));

    // The sun, in colour, in the first line.
    int colourful = 0;
    for (int y = screen.top(); y < screen.top() + 18; ++y)
        for (int x = screen.left(); x < screen.left() + 20; ++x) {
            const QColor pixel = drawn.pixelColor(x, y);
            colourful += pixel.red() > 200 && pixel.green() > 100 && pixel.blue() < 80;
        }
    QVERIFY(colourful > 10);

    // The centred line, in the text colour, around the middle of the screen.
    int sum = 0;
    int count = 0;
    for (int y = screen.top() + 18; y < screen.top() + 40; ++y)
        for (int x = screen.left(); x <= screen.right(); ++x)
            if (const QColor pixel = drawn.pixelColor(x, y);
                pixel.red() > 180 && pixel.green() > 180 && pixel.blue() < 90) {
                sum += x;
                ++count;
            }
    QVERIFY(count > 10);
    QVERIFY(qAbs(sum / count - screen.center().x()) <= 4);

    // The picture, 400 pixels wide and red from its 300th column, shows its left 256 columns
    // at its own height across the whole screen.
    const auto blueRow = [&](int y) {
        int blue = 0;
        for (int x = screen.left(); x <= screen.right(); ++x)
            blue += drawn.pixelColor(x, y).blue() > 200 && drawn.pixelColor(x, y).red() < 60;
        return blue;
    };
    int rows = 0;
    for (int y = screen.top(); y <= screen.bottom(); ++y)
        rows += blueRow(y) == screen.width();
    QCOMPARE(rows, 50);
}

// Sizes written in the page are drawn as a handset would, within the screen's width and a few
// screens' height, never taken as sizes to allocate.
void PhonePreviewTest::pictureSizes_data()
{
    QTest::addColumn<QByteArray>("size");
    QTest::addColumn<QSize>("shown"); // on a screen of 120 × 130
    QTest::newRow("as written") << QByteArray("WIDTH=\"40\" HEIGHT=\"20\"") << QSize(40, 20);
    QTest::newRow("wider than any screen") << QByteArray("WIDTH=\"2147483647\" HEIGHT=\"2\"")
                                           << QSize(120, 2);
    QTest::newRow("a billion tall") << QByteArray("WIDTH=\"1\" HEIGHT=\"1000000000\"") << QSize(1, 520);
    QTest::newRow("ten million tall") << QByteArray("WIDTH=\"100\" HEIGHT=\"10000000\"") << QSize(100, 520);
    QTest::newRow("a million tall") << QByteArray("WIDTH=\"100\" HEIGHT=\"1000000\"") << QSize(100, 520);
    QTest::newRow("past 64 bits") << QByteArray("WIDTH=\"99999999999999999999\" HEIGHT=\"5\"")
                                  << QSize(20, 10);
    QTest::newRow("below zero") << QByteArray("WIDTH=\"-5\" HEIGHT=\"-5\"") << QSize(20, 10);
}

void PhonePreviewTest::pictureSizes()
{
    QFETCH(QByteArray, size);
    QFETCH(QSize, shown);
    QTemporaryDir folder;
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(folder.filePath("ok.jpg"), "JPEG"));
    const PreviewMarkup markup = translated("<IMG SRC=\"ok.jpg\" " + size + ">", "505i", folder.path());
    QCOMPARE(markup.pictures.value(QStringLiteral("picture:0")).size(), shown);
}

// A picture in a format the handset does not show is its ALT text, or else a small mark.
void PhonePreviewTest::picturesTheHandsetCannotShow_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QByteArray>("alt");
    QTest::addColumn<QString>("shown"); // "picture", "mark" or "alt"
    QTest::newRow("GIF on a 501i") << redGif() << "D501i" << QByteArray() << "picture";
    QTest::newRow("JPEG before the 503i") << redPicture("JPEG") << "D502i" << QByteArray() << "mark";
    QTest::newRow("JPEG on the F503i") << redPicture("JPEG") << "F503i" << QByteArray() << "mark";
    QTest::newRow("JPEG on the N503i") << redPicture("JPEG") << "N503i" << QByteArray() << "picture";
    QTest::newRow("JPEG with ALT on the D211i") << redPicture("JPEG") << "D211i" << sj("地図") << "alt";
    QTest::newRow("PNG on the last handsets") << redPicture("PNG") << "SO906i" << QByteArray() << "mark";
    QTest::newRow("PNG with ALT") << redPicture("PNG") << "505i" << QByteArray("map") << "alt";
    QTest::newRow("BMP") << redPicture("BMP") << "505i" << QByteArray() << "mark";
    QTest::newRow("not a picture") << QByteArray("GIF87") << "505i" << QByteArray() << "mark";
    QTest::newRow("GIF cut short") << redGif().chopped(6) << "505i" << QByteArray() << "mark";
    QTest::newRow("JPEG cut short") << redPicture("JPEG").chopped(40) << "505i" << QByteArray() << "mark";
}

void PhonePreviewTest::picturesTheHandsetCannotShow()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, handset);
    QFETCH(QByteArray, alt);
    QFETCH(QString, shown);
    QTemporaryDir folder;
    writeBytes(folder.filePath("p.gif"), file);
    const QByteArray altAttribute = alt.isEmpty() ? QByteArray() : " ALT=\"" + alt + "\"";
    const PreviewMarkup markup = translated("<IMG SRC=\"p.gif\"" + altAttribute + ">", handset, folder.path());
    const QString html = markup.html();
    const QImage picture = markup.pictures.value(QStringLiteral("picture:0"));
    QCOMPARE(!picture.isNull() && picture.pixelColor(0, 0).red() > 200, shown == "picture");
    QCOMPARE(html.contains(QStringLiteral("picture:broken")), shown == "mark");
    if (shown == "alt")
        QVERIFY2(html.contains(QString::fromUtf8("地図")) || html.contains(QStringLiteral("map")), qPrintable(html));
}

// A handset reads a page and its pictures together up to its limit (5,000 bytes on a 501i):
// the page ends where a picture takes it past, each picture file counted once.
void PhonePreviewTest::limitCountsPictures_data()
{
    QTest::addColumn<QByteArray>("markup");
    QTest::addColumn<int>("pictures"); // shown
    QTest::addColumn<bool>("cut");
    QTest::newRow("within the limit") << QByteArray("a<IMG SRC=\"a.gif\">b") << 1 << false;
    QTest::newRow("the same picture twice") << QByteArray("a<IMG SRC=\"a.gif\"><IMG SRC=\"a.gif\">b") << 2
                                            << false;
    QTest::newRow("two pictures past the limit") << QByteArray("a<IMG SRC=\"a.gif\"><IMG SRC=\"b.gif\">b") << 1
                                                 << true;
}

void PhonePreviewTest::limitCountsPictures()
{
    QFETCH(QByteArray, markup);
    QFETCH(int, pictures);
    QFETCH(bool, cut);
    QTemporaryDir folder;
    writeBytes(folder.filePath("a.gif"), redGif(2500));
    writeBytes(folder.filePath("b.gif"), redGif(2500));
    const PreviewMarkup preview = translated(markup, "D501i", folder.path());
    QCOMPARE(preview.cutShort, cut);
    const QString html = preview.html();
    QCOMPARE(html.count(QStringLiteral("src=\"picture:")), pictures);
    QCOMPARE(html.contains(QStringLiteral("b\n")), !cut);
}

// Links are drawn in the page's LINK colour from HTML 2.0 on; a 1.0 handset knows no page
// colours.
void PhonePreviewTest::linkColour_data()
{
    QTest::addColumn<QString>("handset");
    QTest::addColumn<bool>("inLinkColour");
    QTest::newRow("HTML 1.0") << "D501i" << false;
    QTest::newRow("HTML 2.0") << "D502i" << true;
    QTest::newRow("HTML 3.0") << "P503i" << true;
}

void PhonePreviewTest::linkColour()
{
    QFETCH(QString, handset);
    QFETCH(bool, inLinkColour);
    PhonePreview phone;
    phone.setPage(pageOf("<A HREF=\"x.html\">" + sj("■■■■■■") + "</A>"), *FindHandset(handset), {});
    const QImage drawn = phone.draw(0, 0);
    const QRect screen = phone.screenRect();
    int red = 0;
    for (int y = screen.top(); y < screen.top() + 12; ++y)
        for (int x = screen.left(); x < screen.left() + 72; ++x)
            red += drawn.pixelColor(x, y) == QColor(Qt::red);
    QCOMPARE(red > 100, inLinkColour);
}

// A separator, a paragraph, a block and the end of a centred block each end the line, and
// the alignment ends with its block; inline tags go on in the line. On a 900i.
void PhonePreviewTest::blocksEndLines_data()
{
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QString>("text");   // the first character of `text`, after the last of `before`
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("newLine");   // or it goes on in the paragraph
    QTest::addColumn<bool>("left");      // at the left margin
    const QByteArray centredRule = "<CENTER><HR WIDTH=\"50%\"></CENTER>";
    QTest::newRow("link after a centred separator")
        << QByteArrayList{"x" + centredRule + "<A HREF=\"a.html\">link</A>"} << "link" << "x" << true << true;
    QTest::newRow("text after a centred separator, next line")
        << QByteArrayList{"x" + centredRule, "y"} << "y" << "x" << true << true;
    QTest::newRow("text after </CENTER>") << QByteArrayList{"<CENTER>x</CENTER>y"} << "y" << "x" << true << true;
    QTest::newRow("link after </CENTER>") << QByteArrayList{"<CENTER>x</CENTER>", "<A HREF=\"a\">y</A>"}
                                          << "y" << "x" << true << true;
    QTest::newRow("after <HR>") << QByteArrayList{"x<HR>y"} << "y" << "x" << true << true;
    QTest::newRow("after <P>") << QByteArrayList{"x<P>y"} << "y" << "x" << true << true;
    QTest::newRow("into <DIV>") << QByteArrayList{"x<DIV>y</DIV>z"} << "y" << "x" << true << true;
    QTest::newRow("after </DIV>") << QByteArrayList{"x<DIV ALIGN=\"right\">y</DIV>z"} << "z" << "y" << true << true;
    QTest::newRow("after a centred paragraph") << QByteArrayList{"<P ALIGN=\"center\">x<P>y"} << "y" << "x" << true
                                               << true;
    QTest::newRow("line break in a centred block") << QByteArrayList{"<CENTER>x<BR>y</CENTER>"} << "y" << "x"
                                                   << true << false;
    QTest::newRow("font goes on in the line") << QByteArrayList{"x<FONT COLOR=\"red\">y</FONT>"} << "y" << "x"
                                              << false << false;
    QTest::newRow("the next line of the page goes on") << QByteArrayList{"x", "y"} << "y" << "x" << false << false;
    // Long enough for the engine to be given the page in pieces.
    const QByteArray longText = QByteArray("x").repeated(6000);
    QTest::newRow("after a long centred block") << QByteArrayList{"<CENTER>" + longText + "</CENTER>", "y"}
                                                << "y" << "x" << true << true;
    QTest::newRow("after a long line") << QByteArrayList{longText, "y"} << "y" << "x" << false << false;
}

void PhonePreviewTest::blocksEndLines()
{
    QFETCH(QByteArrayList, lines);
    QFETCH(QString, text);
    QFETCH(QString, before);
    QFETCH(bool, newLine);
    QFETCH(bool, left);
    PhonePreview phone;
    phone.setPage(pageOf(lines), *FindHandset(QStringLiteral("900i")), {});
    phone.draw(0, 0, PhonePreview::Extent::WholePage);
    const QTextDocument &document = phone.document();
    const QTextCursor found = document.find(text);
    const QTextCursor previous = document.find(before, found.selectionStart(), QTextDocument::FindBackward);
    QVERIFY(!found.isNull() && !previous.isNull());
    if (!newLine) {
        // The text goes on in the paragraph of the text before it.
        QCOMPARE(document.findBlock(found.selectionStart()), document.findBlock(previous.selectionEnd() - 1));
        return;
    }
    const QPointF at = placeOf(document, found.selectionStart());
    QVERIFY(at.y() > placeOf(document, previous.selectionEnd() - 1).y());
    QCOMPARE(at.x() == document.documentMargin(), left);
}

// The handsets of HTML 1.0 to 3.0 draw a 12-dot font: a full-width character 12 pixels wide, a
// half-width one 6, 12 pixels a line; a 96 × 72 screen shows 8 full-width characters by 6
// lines, or 16 half-width ones a line.
void PhonePreviewTest::charactersInTheirCells_data()
{
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QByteArray>("markup");
    QTest::addColumn<int>("lines");
    const QByteArray full = sj("全");
    const QByteArray halfKana = sj("ｱ");
    QTest::newRow("16 half-width, 96 pixels") << "D501i" << QByteArray(16, 'a') << 1;
    QTest::newRow("17 half-width, 96 pixels") << "D501i" << QByteArray(17, 'a') << 2;
    QTest::newRow("16 half-width kana, 96 pixels") << "D501i" << halfKana.repeated(16) << 1;
    QTest::newRow("17 half-width kana, 96 pixels") << "D501i" << halfKana.repeated(17) << 2;
    QTest::newRow("8 full-width, 96 pixels") << "D501i" << full.repeated(8) << 1;
    QTest::newRow("9 full-width, 96 pixels") << "D501i" << full.repeated(9) << 2;
    QTest::newRow("4 full-width and 8 half-width") << "D501i" << full.repeated(4) + QByteArray(8, 'a') << 1;
    QTest::newRow("words break at the edge") << "D501i" << QByteArray("aaaaaaaaa bbbbbbbbb ccccccccc") << 2;
    QTest::newRow("8 by 6 lines") << "D501i" << (full.repeated(8) + "<BR>").repeated(5) + full.repeated(8) << 6;
    // A pictogram is a full-width character of the handset's font.
    const QByteArray pictograms = QByteArray("\xF8\x9F").repeated(8);
    QTest::newRow("8 pictograms by 6 lines") << "D501i" << (pictograms + "<BR>").repeated(5) + pictograms << 6;
    QTest::newRow("9 pictograms") << "D501i" << pictograms + "\xF8\x9F" << 2;
    QTest::newRow("20 half-width, 120 pixels, HTML 3.0") << "P503i" << QByteArray(20, 'a') << 1;
    QTest::newRow("11 full-width, 120 pixels, HTML 3.0") << "P503i" << full.repeated(11) << 2;
}

void PhonePreviewTest::charactersInTheirCells()
{
    QFETCH(QString, handset);
    QFETCH(QByteArray, markup);
    QFETCH(int, lines);
    PhonePreview phone;
    phone.setPage(pageOf(markup), *FindHandset(handset), {});
    phone.draw(0, 0);
    const QTextDocument &document = phone.document();
    QCOMPARE(lineCount(document), lines);
    QCOMPARE(document.size().height(), 12.0 * lines);
}

QTEST_MAIN(PhonePreviewTest)
#include "tst_phone_preview.moc"
