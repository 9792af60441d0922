#include "model/io_error.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/pattern_preview.h"
#include "model/strip_pictures.h"
#include "model/fonts.h"
#include "model/text_reader.h"
#include "support/test_files.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using Parts = QList<QPair<int, int>>;

namespace {

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

// The darkest pixel of a region and whether anything but white is in it.
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
    void catalogueBadNumberKeepsWhatWasRead();
    void patternFile_data();
    void patternFile();
    void patternBadNumber();
    void loadPatternWithoutFileChangesNothing_data();
    void loadPatternWithoutFileChangesNothing();
    void shippedPatternsLoadAndCoverEverySlot();
    void stripIndexes_data();
    void stripIndexes();
    void stripPictures();
    void preview();
    void previewOfPatternsWithFewParts();
};

void PatternsTest::catalogue_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<QByteArray>>("firstFiles");
    QTest::newRow("two records") << crlfLines({"1", "a.dat", "2", "b.dat"}) << 2
                                 << QList<QByteArray>{"a.dat", "b.dat", ""};
    QTest::newRow("trailing empty line is skipped")
        << crlfLines({"1", "a.dat", ""}) << 1 << QList<QByteArray>{"a.dat", ""};
    QTest::newRow("IDs outside 1 to 50 are skipped")
        << crlfLines({"1", "a.dat", "51", "x.dat", "-3", "y.dat", "0", "z.dat"}) << 1
        << QList<QByteArray>{"a.dat", ""};
    QTest::newRow("count is the last ID") << crlfLines({"3", "c.dat", "2", "b.dat"}) << 2
                                          << QList<QByteArray>{"", "b.dat", "c.dat"};
    QTest::newRow("name with blanks and kanji")
        << crlfLines({"1", sj(" 型 1.dat ")}) << 1 << QList<QByteArray>{sj(" 型 1.dat ")};
    QTest::newRow("empty file") << QByteArray() << 0 << QList<QByteArray>{""};
}

void PatternsTest::catalogue()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, count);
    QFETCH(QList<QByteArray>, firstFiles);
    PatternCatalogue catalogue;
    ReadPatternCatalogue(bytes, catalogue);
    QCOMPARE(int(catalogue.PatternCount), count);
    for (int id = 1; id <= firstFiles.size(); ++id)
        QCOMPARE(catalogue.fileNameFor(id), firstFiles[id - 1]);
}

void PatternsTest::catalogueBadNumberKeepsWhatWasRead()
{
    PatternCatalogue catalogue;
    QVERIFY_THROWS_EXCEPTION(
        IoError, ReadPatternCatalogue(crlfLines({"1", "a.dat", "two", "b.dat"}), catalogue));
    QCOMPARE(int(catalogue.PatternCount), 1);
    QCOMPARE(catalogue.fileNameFor(1), QByteArray("a.dat"));
}

void PatternsTest::patternFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("number");
    QTest::addColumn<Parts>("parts");
    QTest::newRow("three lines, no parts") << patternBytes(4, {}) << 4 << Parts{};
    QTest::newRow("line 2 is the number that stays")
        << patternBytes(4, {{1, 0}}, 9) << 9 << Parts{{1, 0}};
    QTest::newRow("empty line at the end is one more part")
        << patternBytes(1, {{6, 0}}) + "\r\n" << 1 << Parts{{6, 0}, {0, 0}};
    Parts forty;
    for (int k = 0; k < 40; ++k)
        forty << qMakePair(4, k % 10 + 1);
    QTest::newRow("more than 35 parts keeps 35") << patternBytes(2, forty) << 2 << forty.mid(0, 35);
    QTest::newRow("file cut in a part") << patternBytes(1, {{2, 1}}) + "3\r\n" << 1
                                        << Parts{{2, 1}, {3, 0}};
}

void PatternsTest::patternFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, number);
    QFETCH(Parts, parts);
    Pattern pattern = patternOf({{5, 5}, {5, 5}, {5, 5}});
    std::int32_t patternNumber = -1;
    ReadPattern(bytes, pattern, patternNumber);
    QCOMPARE(patternNumber, number);
    QCOMPARE(pattern.Comment, sj("コメント"));
    QCOMPARE(pattern.PartCount, parts.size());
    for (int k = 0; k < parts.size(); ++k) {
        QCOMPARE(pattern.Parts[k].PartCode, parts[k].first);
        QCOMPARE(pattern.Parts[k].PartSlot, parts[k].second);
    }
}

void PatternsTest::patternBadNumber()
{
    Pattern pattern = patternOf({{1, 0}, {6, 0}});
    std::int32_t number = 1;
    QVERIFY_THROWS_EXCEPTION(IoError, ReadPattern(crlfLines({"x", "2", "c"}), pattern, number));
    QCOMPARE(pattern.PartCount, 2); // nothing of the new pattern was read
    QVERIFY_THROWS_EXCEPTION(
        IoError, ReadPattern(crlfLines({"3", "3", "c", "2", "1", "4", "?"}), pattern, number));
    QCOMPARE(number, 3);
    QCOMPARE(pattern.Comment, QByteArray("c"));
    QCOMPARE(pattern.PartCount, 1); // the part cut by the bad number is not kept half-read
    QCOMPARE(pattern.Parts[0].PartCode, 2);
}

void PatternsTest::loadPatternWithoutFileChangesNothing_data()
{
    QTest::addColumn<int>("number");
    QTest::newRow("no entry") << 3;
    QTest::newRow("entry without file") << 2;
    QTest::newRow("zero") << 0;
    QTest::newRow("above 50") << 51;
    QTest::newRow("negative") << -7;
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
            QVERIFY2(used.contains(qMakePair(code, slot)), qPrintable(QString("%1,%2").arg(code).arg(slot)));
}

void PatternsTest::stripIndexes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("slot");
    QTest::addColumn<int>("strip");
    QTest::addColumn<int>("offset");
    QTest::newRow("body, any slot") << 1 << 77 << 0 << 0;
    QTest::newRow("image 1") << 2 << 1 << 1 << 2;
    QTest::newRow("image 3") << 2 << 3 << -1 << 0;
    QTest::newRow("text 1") << 3 << 1 << 3 << -2;
    QTest::newRow("text 5") << 3 << 5 << 7 << 0;
    QTest::newRow("link 1") << 4 << 1 << 8 << -1;
    QTest::newRow("link 7") << 4 << 7 << 14 << 2;
    QTest::newRow("link 10") << 4 << 10 << 17 << 0;
    QTest::newRow("link 11") << 4 << 11 << -1 << 0;
    QTest::newRow("direct 1") << 5 << 1 << 18 << -1;
    QTest::newRow("direct 0") << 5 << 0 << -1 << 0;
    QTest::newRow("separator, any slot") << 6 << -4 << 21 << 0;
    QTest::newRow("code 7") << 7 << 1 << -1 << 0;
}

void PatternsTest::stripIndexes()
{
    QFETCH(int, code);
    QFETCH(int, slot);
    QFETCH(int, strip);
    QFETCH(int, offset);
    QCOMPARE(stripIndexFor({code, slot}), strip);
    if (strip >= 0)
        QCOMPARE(stripOffset(strip), offset);
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
    const QImage &bar = strips[21];
    QCOMPARE(bar.pixel(9, 8), qRgb(128, 128, 128));
    QCOMPARE(bar.pixel(160, 10), qRgb(128, 128, 128));
    QVERIFY(isWhite(bar, QRect(0, 0, 9, 20)));
    QVERIFY(isWhite(bar, QRect(161, 0, 9, 20)));
    QVERIFY(isWhite(bar, QRect(0, 0, 170, 8)));
    QVERIFY(isWhite(bar, QRect(0, 11, 170, 9)));
}

void PatternsTest::preview()
{
    StripPictures strips;
    for (int index = 0; index < StripCount; ++index) {
        strips[index] = QImage(170, 20, QImage::Format_RGB32);
        strips[index].fill(qRgb(index, 0, 0));
    }
    Parts parts{{2, 1}, {3, 1}, {4, 11}, {1, 0}};
    while (parts.size() < 30)
        parts << qMakePair(6, 0);
    const QImage preview = DrawPatternPreview(patternOf(parts), strips);
    QCOMPARE(preview.size(), QSize(170, 500));
    // Image 1 at +2: two white columns on the left, the strip to the right edge.
    QCOMPARE(preview.pixel(1, 5), qRgb(255, 255, 255));
    QCOMPARE(preview.pixel(2, 5), qRgb(1, 0, 0));
    QCOMPARE(preview.pixel(169, 19), qRgb(1, 0, 0));
    // Text 1 at −2: two white columns on the right.
    QCOMPARE(preview.pixel(167, 25), qRgb(3, 0, 0));
    QCOMPARE(preview.pixel(168, 25), qRgb(255, 255, 255));
    // Link 11 has no strip and its row stays blank.
    QVERIFY(isWhite(preview, QRect(0, 40, 170, 20)));
    QCOMPARE(preview.pixel(0, 60), qRgb(0, 0, 0));
    // Parts past the 25th are cut off at the bottom.
    QCOMPARE(preview.pixel(100, 499), qRgb(21, 0, 0));
}

void PatternsTest::previewOfPatternsWithFewParts()
{
    const StripPictures strips = makeStripPictures();
    const QImage empty = DrawPatternPreview(patternOf({}), strips);
    QCOMPARE(empty.size(), QSize(170, 500));
    QVERIFY(isWhite(empty, empty.rect()));
    const QImage one = DrawPatternPreview(patternOf({{6, 0}}), strips);
    QCOMPARE(one.pixel(50, 9), qRgb(128, 128, 128));
    QVERIFY(isWhite(one, QRect(0, 20, 170, 480)));
    const QImage two = DrawPatternPreview(patternOf({{6, 0}, {6, 0}}), strips);
    QCOMPARE(two.pixel(50, 29), qRgb(128, 128, 128));
    QVERIFY(isWhite(two, QRect(0, 40, 170, 460)));
}

QTEST_MAIN(PatternsTest)
#include "tst_patterns.moc"
