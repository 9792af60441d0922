#include "drawings/fonts.h"
#include "drawings/pattern_preview.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "windows/pattern_selection.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Twelve patterns: pattern n has n separator parts, so each preview differs; pattern 7's file
// calls itself 70.
struct SelectionFixture {
    explicit SelectionFixture(int patternCount = 12)
    {
        programFolder = folder.path() + '/';
        QList<QByteArray> catalogueLines;
        for (int n = 1; n <= patternCount; ++n) {
            const QByteArray name = "p" + QByteArray::number(n) + ".dat";
            catalogueLines << QByteArray::number(n) << name;
            QList<QByteArray> lines{QByteArray::number(n), QByteArray::number(n == 7 ? 70 : n),
                                    sj("型") + QByteArray::number(n)};
            for (int part = 0; part < n; ++part)
                lines << "6" << "0";
            writeBytes(programFolder + name, crlfLines(lines));
        }
        writeBytes(programFolder + "trd.dat", crlfLines(catalogueLines));
        ReadPatternCatalogueFile(programFolder, catalogue);
        LoadPattern(3, catalogue, programFolder, pattern, page.PatternNumber);
    }

    QImage shown() const { return dialog.Image1->pixmap().toImage(); }
    // The ID, the position and the comment shown.
    QString labels() const
    {
        return dialog.Label5->text() + ' ' + dialog.Label7->text() + ' ' + dialog.Label6->text();
    }
    QImage previewOf(int number)
    {
        Pattern loaded;
        std::int32_t ignored = 0;
        LoadPattern(number, catalogue, programFolder, loaded, ignored);
        return DrawPatternPreview(loaded, strips);
    }

    QTemporaryDir folder;
    QString programFolder;
    PageProject page;
    PatternCatalogue catalogue;
    Pattern pattern;
    StripPictures strips = makeStripPictures();
    RecordingDesktop desktop;
    TForm4 dialog{page, catalogue, pattern, programFolder, strips, desktop};
};

void click(QPushButton *button, int times = 1)
{
    for (int press = 0; press < times; ++press)
        QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class PatternSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void opening_data();
    void opening();
    void browsingAndClosing_data();
    void browsingAndClosing();
};

void PatternSelectionTest::opening_data()
{
    QTest::addColumn<int>("patterns");
    QTest::addColumn<int>("number"); // the page's pattern
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("afterNext"); // the position after "次へ"
    QTest::newRow("page pattern") << 12 << 3 << "3 3/12 型3" << "4/12";
    // From a project file: browsing starts at 1, shown as such.
    QTest::newRow("number outside the catalogue") << 12 << 300 << "1 1/12 型1" << "2/12";
    QTest::newRow("empty catalogue") << 0 << 5 << "1 5/0 " << "5/0";
}

// Browsing from the opening and cancelling gives the page its own number and parts back.
void PatternSelectionTest::opening()
{
    QFETCH(int, patterns);
    QFETCH(int, number);
    QFETCH(QString, shown);
    QFETCH(QString, afterNext);
    SelectionFixture fixture(patterns);
    TForm4 &dialog = fixture.dialog;
    fixture.page.PatternNumber = number;
    const Pattern before = fixture.pattern;
    dialog.configure();
    QCOMPARE(dialog.Label2->text(), QString::number(patterns));
    QCOMPARE(fixture.labels(), shown);
    if (patterns > 0)
        QVERIFY(sameImage(fixture.shown(), fixture.previewOf(dialog.Label5->text().toInt())));
    QCOMPARE(dialog.Button1->isEnabled(), patterns > 0);
    QCOMPARE(dialog.Button2->isEnabled(), patterns > 0);
    click(dialog.Button1);
    QCOMPARE(dialog.Label7->text(), afterNext);
    dialog.Button4Click();
    QCOMPARE(fixture.page.PatternNumber, number);
    // The parts come back too, also for a number the catalogue has no file for.
    QCOMPARE(fixture.pattern.PartCount, before.PartCount);
    QCOMPARE(fixture.pattern.Comment, before.Comment);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void PatternSelectionTest::browsingAndClosing_data()
{
    QTest::addColumn<int>("how"); // 0 "キャンセル", 1 the close box, 2 "決定"
    QTest::addColumn<int>("pageNumber");
    QTest::addColumn<int>("parts");
    QTest::newRow("キャンセル") << 0 << 3 << 3;
    QTest::newRow("close box") << 1 << 3 << 3;
    QTest::newRow("決定") << 2 << 70 << 7;
}

// Browsing wraps round both ways and makes each pattern current at once. Only "決定" keeps
// the one browsed to; the main window is told to show the page's pattern either way.
void PatternSelectionTest::browsingAndClosing()
{
    QFETCH(int, how);
    QFETCH(int, pageNumber);
    QFETCH(int, parts);
    SelectionFixture fixture;
    TForm4 &dialog = fixture.dialog;
    QSignalSpy mainPreview(&dialog, &TForm4::pagePatternChanged);
    dialog.configure();
    dialog.show();
    click(dialog.Button1, 9);
    QCOMPARE(dialog.Label7->text(), QStringLiteral("12/12"));
    click(dialog.Button1);
    QCOMPARE(fixture.labels(), QStringLiteral("1 1/12 型1"));
    QCOMPARE(fixture.page.PatternNumber, 1);
    click(dialog.Button2);
    QCOMPARE(dialog.Label7->text(), QStringLiteral("12/12"));
    QVERIFY(sameImage(fixture.shown(), fixture.previewOf(12)));
    // The ID is the number browsed; the page takes the one inside the file.
    click(dialog.Button2, 5);
    QCOMPARE(dialog.Label5->text(), QStringLiteral("7"));
    QCOMPARE(fixture.page.PatternNumber, 70);
    if (how == 1)
        dialog.close();
    else
        click(how == 0 ? dialog.Button4 : dialog.Button3);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fixture.page.PatternNumber, pageNumber);
    QCOMPARE(fixture.pattern.PartCount, parts);
    QVERIFY(mainPreview.size() >= 1);
}

QTEST_MAIN(PatternSelectionTest)
#include "tst_pattern_selection.moc"
