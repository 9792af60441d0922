#include "drawings/fonts.h"
#include "page/page_project.h"
#include "support/test_files.h"
#include "windows/summary_panel.h"

#include <QTest>

namespace {

const QRgb grey = qRgb(230, 230, 230);
const QRgb black = qRgb(0, 0, 0);
const QRgb blue = qRgb(0, 0, 255);

// The colours found in a region, besides the panel grey.
QSet<QRgb> inkIn(const QImage &image, const QRect &region)
{
    QSet<QRgb> colours;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            if (image.pixel(x, y) != grey)
                colours.insert(image.pixel(x, y));
    return colours;
}

PageProject everythingUsed()
{
    PageProject page;
    for (LinkSlot &link : page.Links)
        link = {"caption", "target", ToggleOn, ToggleOn, ToggleOn, ToggleOn};
    for (TextSlot &text : page.Texts)
        text = {"text", ToggleOn};
    for (ImageSlot &image : page.Images)
        image = {"top.gif", "", ToggleOn, ToggleOff, ToggleOff};
    page.BodyUsed = ToggleOn;
    page.BodyFile = {"body.txt", {}};
    return page;
}

} // namespace

class SummaryPanelTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void linesAndUsedMarks_data();
    void linesAndUsedMarks();
    void linkRows_data();
    void linkRows();
    void longCaptionIsCutAtTheEdge();
    void pictogramsDrawnInBothForms();
};

void SummaryPanelTest::linesAndUsedMarks_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<QPoint>>("lines");  // black pixels
    QTest::addColumn<QList<QPoint>>("spaces"); // grey pixels
    QTest::addColumn<QList<QRect>>("marks");   // where "○" shows for a used item
    QTest::addColumn<QRgb>("colour");          // of the marks
    const QList<QPoint> header{{0, 18}, {456, 18}};
    QTest::newRow("links") << 1
                           << header + QList<QPoint>{{60, 36}, {456, 36}, {0, 54}, {456, 198},
                                                     {60, 19}, {80, 100}, {100, 197}}
                           << QList<QPoint>{{457 - 1, 35}, {100, 199}, {300, 100}, {30, 36}}
                           << QList<QRect>{{64, 20, 15, 15}} << black;
    QTest::newRow("links 6 to 10") << 2 << header + QList<QPoint>{{60, 180}, {0, 162}, {100, 25}}
                                   << QList<QPoint>{{457 - 1, 17}}
                                   << QList<QRect>{{64, 164, 15, 15}} << black;
    QTest::newRow("texts") << 3 << header + QList<QPoint>{{0, 54}, {456, 198}, {60, 30}, {80, 197}}
                           << QList<QPoint>{{300, 36}, {100, 100}, {60, 199}}
                           << QList<QRect>{{64, 100, 15, 15}} << blue;
    QTest::newRow("images and body")
        << 4 << header + QList<QPoint>{{0, 54}, {456, 90}, {0, 126}, {60, 125}, {80, 20}}
        << QList<QPoint>{{60, 130}, {80, 197}, {0, 162}, {300, 140}}
        << QList<QRect>{{64, 64, 15, 15}, {64, 100, 15, 15}} << blue;
}

void SummaryPanelTest::linesAndUsedMarks()
{
    QFETCH(int, page);
    QFETCH(QList<QPoint>, lines);
    QFETCH(QList<QPoint>, spaces);
    QFETCH(QList<QRect>, marks);
    QFETCH(QRgb, colour);
    const QImage image = DrawSummaryPage(PageProject(), page);
    for (const QPoint &point : lines)
        QVERIFY2(image.pixel(point) == black, qPrintable(QString("%1,%2").arg(point.x()).arg(point.y())));
    for (const QPoint &point : spaces)
        QVERIFY2(image.pixel(point) == grey, qPrintable(QString("%1,%2").arg(point.x()).arg(point.y())));
    const QImage used = DrawSummaryPage(everythingUsed(), page);
    for (const QRect &mark : marks) {
        QVERIFY(inkIn(image, mark).isEmpty());
        QCOMPARE(inkIn(used, mark), QSet<QRgb>{colour});
    }
    // The legend is black, after blue marks too.
    QCOMPARE(inkIn(used, QRect(0, 205, 200, 14)), QSet<QRgb>{black});
}

void SummaryPanelTest::linkRows_data()
{
    QTest::addColumn<QList<int>>("keyed");  // slots with an access key
    QTest::addColumn<QList<int>>("unused"); // of those, the slots not used, with mail and centre
    QTest::addColumn<QList<int>>("numbers");
    QTest::newRow("new page") << QList<int>{} << QList<int>{} << QList<int>(10, -1);
    QTest::newRow("all ten") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << QList<int>{}
                             << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
    QTest::newRow("unused link takes no number")
        << QList<int>{2, 3, 4, 7} << QList<int>{3}
        << QList<int>{-1, 1, -1, 2, -1, -1, 3, -1, -1, -1};
}

// Each link row names its slot and shows "○" when used and the access key numbered across both
// pages; "M" and "C" show even when the link is unused.
void SummaryPanelTest::linkRows()
{
    QFETCH(QList<int>, keyed);
    QFETCH(QList<int>, unused);
    QFETCH(QList<int>, numbers);
    PageProject page;
    for (int slot : keyed) {
        const Toggle used = unused.contains(slot) ? ToggleOff : ToggleOn;
        const Toggle marks = unused.contains(slot) ? ToggleOn : ToggleOff;
        page.Links[slot - 1] = {"", "", used, marks, marks, ToggleOn};
    }
    const std::array<int, 10> shown = summaryAccessKeys(page);
    QCOMPARE(QList<int>(shown.begin(), shown.end()), numbers);
    for (int slot = 1; slot <= 10; ++slot) {
        const QImage image = DrawSummaryPage(page, slot <= 5 ? 1 : 2);
        const int row = 36 * ((slot - 1) % 5 + 1);
        const bool used = isOn(page.Links[slot - 1].LinkUsed);
        QCOMPARE(inkIn(image, QRect(61, row - 17, 19, 17)).isEmpty(), !used);
        QCOMPARE(inkIn(image, QRect(81, row - 17, 19, 17)).isEmpty(), numbers[slot - 1] < 0);
        QCOMPARE(inkIn(image, QRect(61, row + 1, 19, 17)).isEmpty(), !unused.contains(slot));
        QCOMPARE(inkIn(image, QRect(81, row + 1, 19, 17)).isEmpty(), !unused.contains(slot));
        QVERIFY(!inkIn(image, QRect(8, row - 8, 50, 15)).isEmpty());
    }
}

void SummaryPanelTest::longCaptionIsCutAtTheEdge()
{
    PageProject page;
    page.Links[0].LinkCaption = QByteArray(300, 'W');
    const QImage image = DrawSummaryPage(page, 1);
    QVERIFY(!inkIn(image, QRect(440, 20, 17, 15)).isEmpty());
    QVERIFY(inkIn(image, QRect(105, 38, 352, 16)).isEmpty()); // nothing wrapped below
}

// A caption's and a text's pictograms show as their coloured pictures, the same in either form;
// an extended one's decimal reference, which handsets show as text, stays text.
void SummaryPanelTest::pictogramsDrawnInBothForms()
{
    const auto drawn = [](const QByteArray &caption, const QByteArray &text) {
        PageProject page;
        page.Links[0].LinkCaption = caption;
        page.Texts[0].TextContent = text;
        return std::pair{DrawSummaryPage(page, 1).copy(105, 20, 200, 16),
                         DrawSummaryPage(page, 3).copy(88, 28, 200, 14)};
    };
    const auto coloured = [](const QImage &image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qRed(image.pixel(x, y)) > qBlue(image.pixel(x, y)) + 80)
                    return true;
        return false;
    };
    const auto [rawCaption, rawText] = drawn("\xF8\x9F" + sj("晴れ"), "\xF8\x9F");
    const auto [decimalCaption, decimalText] = drawn("&#63647;" + sj("晴れ"), "&#63647;");
    QCOMPARE(rawCaption, decimalCaption);
    QCOMPARE(rawText, decimalText);
    QVERIFY(coloured(rawCaption) && coloured(rawText));
    const auto [extendedCaption, extendedText] = drawn("&#63935;", "&#63935;");
    QVERIFY(!coloured(extendedCaption) && !coloured(extendedText));
}

QTEST_MAIN(SummaryPanelTest)
#include "tst_summary_panel.moc"
