#include "drawings/fonts.h"
#include "drawings/pattern_preview.h"
#include "drawings/strip_pictures.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "support/test_files.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using Parts = QList<QPair<int, int>>;

namespace {

const QString notANumber = QStringLiteral("入力値が数値ではありません");

QByteArray patternBytes(int number, const Parts &parts, int secondLine = -1)
{
    QList<QByteArray> lines{QByteArray::number(number),
                            QByteArray::number(secondLine < 0 ? number : secondLine),
                            sj("コメント")};
    for (const auto &[code, slot] : parts)
        lines << QByteArray::number(code) << QByteArray::number(slot);
    return crlfLines(lines);
}

Pattern patternOf(const Parts &parts)
{
    Pattern pattern;
    for (const auto &[code, slot] : parts)
        pattern.Parts[static_cast<std::size_t>(pattern.PartCount++)] = {code, slot};
    return pattern;
}

// The darkest pixel of a region, by the sum of its components.
QRgb darkestPixel(const QImage &image, const QRect &region)
{
    QRgb darkest = qRgb(255, 255, 255);
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) + qGreen(pixel) + qBlue(pixel)
                < qRed(darkest) + qGreen(darkest) + qBlue(darkest))
                darkest = pixel;
        }
    return darkest;
}

bool isWhite(const QImage &image, const QRect &region)
{
    return darkestPixel(image, region) == qRgb(255, 255, 255);
}

} // namespace

class PatternsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void catalogue_data();
    void catalogue();
    void patternFile_data();
    void patternFile();
    void loadPatternWithoutFileChangesNothing_data();
    void loadPatternWithoutFileChangesNothing();
    void shippedPatternsLoadAndCoverEverySlot();
    void stripPictures();
    void preview();
};

void PatternsTest::catalogue_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<QByteArray>>("firstFiles");
    QTest::addColumn<bool>("fails");
    QTest::newRow("two records") << crlfLines({"1", "a.dat", "2", "b.dat"}) << 2
                                 << QList<QByteArray>{"a.dat", "b.dat", ""} << false;
    QTest::newRow("trailing empty line is skipped")
        << crlfLines({"1", "a.dat", ""}) << 1 << QList<QByteArray>{"a.dat", ""} << false;
    QTest::newRow("IDs outside 1 to 50 are skipped")
        << crlfLines({"1", "a.dat", "51", "x.dat", "-3", "y.dat", "0", "z.dat"}) << 1
        << QList<QByteArray>{"a.dat", ""} << false;
    QTest::newRow("count is the last ID") << crlfLines({"3", "c.dat", "2", "b.dat"}) << 2
                                          << QList<QByteArray>{"", "b.dat", "c.dat"} << false;
    QTest::newRow("name with blanks and kanji") << crlfLines({"1", sj(" 型 1.dat ")}) << 1
                                                << QList<QByteArray>{sj(" 型 1.dat ")} << false;
    QTest::newRow("bad number keeps what was read")
        << crlfLines({"1", "a.dat", "two", "b.dat"}) << 1 << QList<QByteArray>{"a.dat", ""} << true;
}

void PatternsTest::catalogue()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QList<QByteArray>, firstFiles);
    QFETCH(bool, fails);
    PatternCatalogue catalogue;
    QCOMPARE(messageOf([&] { ReadPatternCatalogue(bytes, catalogue); }),
             fails ? notANumber : QString());
    QCOMPARE(int(catalogue.PatternCount), count);
    for (int id = 1; id <= firstFiles.size(); ++id)
        QCOMPARE(catalogue.fileNameFor(id), firstFiles[id - 1]);
}

// The pattern read over one of three parts with the comment "before"; a bad number keeps
// what was read whole before it.
void PatternsTest::patternFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("comment");
    QTest::addColumn<Parts>("parts");
    QTest::addColumn<bool>("fails");
    const QByteArray comment = sj("コメント");
    QTest::newRow("three lines, no parts") << patternBytes(4, {}) << 4 << comment << Parts{}
                                           << false;
    QTest::newRow("line 2 is the number that stays")
        << patternBytes(4, {{1, 0}}, 9) << 9 << comment << Parts{{1, 0}} << false;
    QTest::newRow("empty line at the end is one more part")
        << patternBytes(1, {{6, 0}}) + "\r\n" << 1 << comment << Parts{{6, 0}, {0, 0}} << false;
    Parts forty;
    for (int k = 0; k < 40; ++k)
        forty << qMakePair(4, k % 10 + 1);
    QTest::newRow("more than 35 parts keeps 35")
        << patternBytes(2, forty) << 2 << comment << forty.mid(0, 35) << false;
    QTest::newRow("file cut in a part") << patternBytes(1, {{2, 1}}) + "3\r\n" << 1 << comment
                                        << Parts{{2, 1}, {3, 0}} << false;
    QTest::newRow("bad first number") << crlfLines({"x", "2", "c"}) << -1 << QByteArray("before")
                                      << Parts{{5, 5}, {5, 5}, {5, 5}} << true;
    QTest::newRow("bad number in a part")
        << crlfLines({"3", "3", "c", "2", "1", "4", "?"}) << 3 << QByteArray("c")
        << Parts{{2, 1}} << true;
}

void PatternsTest::patternFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, number);
    QFETCH(QByteArray, comment);
    QFETCH(Parts, parts);
    QFETCH(bool, fails);
    Pattern pattern = patternOf({{5, 5}, {5, 5}, {5, 5}});
    pattern.Comment = "before";
    std::int32_t patternNumber = -1;
    QCOMPARE(messageOf([&] { ReadPattern(bytes, pattern, patternNumber); }),
             fails ? notANumber : QString());
    QCOMPARE(patternNumber, number);
    QCOMPARE(pattern.Comment, comment);
    QCOMPARE(pattern.PartCount, parts.size());
    for (int k = 0; k < parts.size(); ++k) {
        QCOMPARE(pattern.Parts[k].PartCode, parts[k].first);
        QCOMPARE(pattern.Parts[k].PartSlot, parts[k].second);
    }
}

void PatternsTest::loadPatternWithoutFileChangesNothing_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("no entry") << 3;
    QTest::newRow("entry without file") << 2;
    QTest::newRow("zero") << 0;
    QTest::newRow("above 50") << 51;
}

void PatternsTest::loadPatternWithoutFileChangesNothing()
{
    QFETCH(int, number);
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    writeBytes(programFolder + "p1.dat", patternBytes(1, {{1, 0}, {6, 0}}));
    PatternCatalogue catalogue;
    ReadPatternCatalogue(crlfLines({"1", "p1.dat", "2", "gone.dat"}), catalogue);
    Pattern pattern;
    std::int32_t patternNumber = 0;
    QVERIFY(LoadPattern(1, catalogue, programFolder, pattern, patternNumber));
    QCOMPARE(pattern.PartCount, 2);
    patternNumber = number;
    QVERIFY(!LoadPattern(number, catalogue, programFolder, pattern, patternNumber));
    QCOMPARE(patternNumber, number);
    QCOMPARE(pattern.PartCount, 2);
    QCOMPARE(pattern.Parts[1].PartCode, 6);
}

void PatternsTest::shippedPatternsLoadAndCoverEverySlot()
{
    PatternCatalogue catalogue;
    ReadPatternCatalogueFile(dataFolder(), catalogue);
    QVERIFY(catalogue.PatternCount >= 12);
    QSet<QPair<int, int>> used;
    for (int id = 1; id <= catalogue.PatternCount; ++id) {
        Pattern pattern;
        std::int32_t number = 0;
        QVERIFY2(LoadPattern(id, catalogue, dataFolder(), pattern, number),
                 qPrintable(QString::number(id)));
        QCOMPARE(number, id);
        QVERIFY(!pattern.Comment.isEmpty());
        QVERIFY(pattern.PartCount >= 1);
        QVERIFY(pattern.PartCount <= PreviewHeight / StripHeight); // every part in sight
        for (int k = 0; k < pattern.PartCount; ++k) {
            const PatternPart &part = pattern.Parts[k];
            QVERIFY(stripIndexFor(part) >= 0);
            const bool slotless = part.PartCode == BodyPart || part.PartCode == SeparatorPart;
            used.insert({part.PartCode, slotless ? 0 : part.PartSlot});
        }
    }
    const Parts counts{{1, 0}, {2, 2}, {3, 5}, {4, 10}, {5, 3}, {6, 0}};
    for (const auto &[code, slotCount] : counts)
        for (int slot = slotCount == 0 ? 0 : 1; slot <= slotCount; ++slot)
            QVERIFY2(used.contains(qMakePair(code, slot)),
                     qPrintable(QString("%1,%2").arg(code).arg(slot)));
}

void PatternsTest::stripPictures()
{
    const StripPictures strips = makeStripPictures();
    const QList<QPair<int, QRgb>> colours{{0, qRgb(0, 0, 0)},       {1, qRgb(255, 144, 144)},
                                          {5, qRgb(0, 0, 0)},       {12, qRgb(128, 128, 255)},
                                          {19, qRgb(255, 160, 255)}};
    for (const auto &[index, colour] : colours) {
        const QImage &strip = strips[index];
        QCOMPARE(strip.size(), QSize(170, 20));
        QCOMPARE(darkestPixel(strip, strip.rect()), colour);
        QVERIFY(isWhite(strip, QRect(0, 0, 170, 2)));
        QVERIFY(isWhite(strip, QRect(0, 18, 170, 2)));
        QVERIFY(!isWhite(strip, QRect(0, 2, 170, 4)));   // the lettering reaches up
        QVERIFY(!isWhite(strip, QRect(0, 13, 170, 5)));  // and down
        QVERIFY(isWhite(strip, QRect(0, 0, 20, 20)));     // and is centred
        QVERIFY(isWhite(strip, QRect(150, 0, 20, 20)));
    }
    // The separator: a grey bar from (9, 8) to (160, 10) on white.
    const QRect bar(QPoint(9, 8), QPoint(160, 10));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 170; ++x)
            QCOMPARE(strips[21].pixel(x, y),
                     bar.contains(x, y) ? qRgb(128, 128, 128) : qRgb(255, 255, 255));
}

// Part k shows its strip in row k at the strip's offset, with strips told apart by colour here;
// a part without a strip leaves its row white, and parts past the 25th are cut off.
void PatternsTest::preview()
{
    StripPictures strips;
    for (int index = 0; index < StripCount; ++index) {
        strips[index] = QImage(170, 20, QImage::Format_RGB32);
        strips[index].fill(qRgb(index, 0, 0));
    }
    // Each part with its strip, -1 for none: the slots of each kind run from 1 to their count.
    const QList<QPair<PatternPart, int>> parts{
        {{2, 1}, 1},  {{3, 1}, 3},   {{4, 11}, -1}, {{1, 77}, 0}, {{2, 3}, -1},
        {{3, 5}, 7},  {{4, 1}, 8},   {{4, 10}, 17}, {{5, 1}, 18}, {{5, 0}, -1},
        {{5, 3}, 20}, {{6, -4}, 21}, {{7, 1}, -1},  {{2, 2}, 2},  {{2, 0}, -1}};
    Pattern pattern;
    for (const auto &[part, strip] : parts)
        pattern.Parts[pattern.PartCount++] = part;
    while (pattern.PartCount < 30)
        pattern.Parts[pattern.PartCount++] = {SeparatorPart, 0};
    const QImage preview = DrawPatternPreview(pattern, strips);
    QCOMPARE(preview.size(), QSize(170, 500));
    for (int k = 0; k < parts.size(); ++k) {
        const int strip = parts[k].second;
        if (strip < 0)
            QVERIFY(isWhite(preview, QRect(0, k * 20, 170, 20)));
        else
            QCOMPARE(preview.pixel(85, k * 20 + 10), qRgb(strip, 0, 0));
    }
    // Image 1 at +2: two white columns on the left, the strip to the right edge.
    QCOMPARE(preview.pixel(1, 5), qRgb(255, 255, 255));
    QCOMPARE(preview.pixel(2, 5), qRgb(1, 0, 0));
    QCOMPARE(preview.pixel(169, 19), qRgb(1, 0, 0));
    // Text 1 at −2: two white columns on the right.
    QCOMPARE(preview.pixel(167, 25), qRgb(3, 0, 0));
    QCOMPARE(preview.pixel(168, 25), qRgb(255, 255, 255));
    QCOMPARE(preview.pixel(0, 60), qRgb(0, 0, 0));
    QCOMPARE(preview.pixel(100, 499), qRgb(21, 0, 0));
    QVERIFY(isWhite(DrawPatternPreview(Pattern(), strips), QRect(0, 0, 170, 500)));
}

QTEST_MAIN(PatternsTest)
#include "tst_patterns.moc"
