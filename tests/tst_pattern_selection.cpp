#include "model/fonts.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/pattern_preview.h"
#include "model/sjis.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "ui/pattern_selection.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class PatternSelectionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void openingShowsThePagePattern();
    void browsingWrapsRound();
    void closingKeepsOrRestores_data();
    void closingKeepsOrRestores();
    void emptyCatalogueAndNumbersOutside();
    void isModal();
};

void PatternSelectionTest::openingShowsThePagePattern()
{
    SelectionFixture fixture;
    TForm4 &dialog = fixture.dialog;
    QCOMPARE(dialog.Label6->text(), QStringLiteral("コメント"));
    dialog.configure();
    QCOMPARE(dialog.Label2->text(), QStringLiteral("12"));
    QCOMPARE(dialog.Label7->text(), QStringLiteral("3/12"));
    QCOMPARE(dialog.Label5->text(), QStringLiteral("3"));
    QCOMPARE(dialog.Label6->text(), QStringLiteral("型3"));
    QVERIFY(sameImage(fixture.shown(), fixture.previewOf(3)));
}

void PatternSelectionTest::browsingWrapsRound()
{
    SelectionFixture fixture;
    TForm4 &dialog = fixture.dialog;
    dialog.configure();
    for (int press = 0; press < 9; ++press)
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(dialog.Label7->text(), QStringLiteral("12/12"));
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(dialog.Label7->text(), QStringLiteral("1/12"));
    QCOMPARE(dialog.Label6->text(), QStringLiteral("型1"));
    QCOMPARE(fixture.page.PatternNumber, 1); // the browsed pattern is the current one
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    QCOMPARE(dialog.Label7->text(), QStringLiteral("12/12"));
    QVERIFY(sameImage(fixture.shown(), fixture.previewOf(12)));
    // The ID is the number browsed, not the one inside the file.
    for (int press = 0; press < 5; ++press)
        QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    QCOMPARE(dialog.Label5->text(), QStringLiteral("7"));
    QCOMPARE(fixture.page.PatternNumber, 70);
}

void PatternSelectionTest::closingKeepsOrRestores_data()
{
    QTest::addColumn<int>("how"); // 0 "キャンセル", 1 the close box, 2 "決定"
    QTest::addColumn<int>("pagePattern");
    QTest::newRow("キャンセル") << 0 << 3;
    QTest::newRow("close box") << 1 << 3;
    QTest::newRow("決定") << 2 << 5;
}

// Two patterns on from pattern 3, then the dialog closes: only "決定" keeps pattern 5, and the
// main window is told to show the page's pattern either way.
void PatternSelectionTest::closingKeepsOrRestores()
{
    QFETCH(int, how);
    QFETCH(int, pagePattern);
    SelectionFixture fixture;
    TForm4 &dialog = fixture.dialog;
    QSignalSpy mainPreview(&dialog, &TForm4::pagePatternChanged);
    dialog.configure();
    dialog.show();
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(fixture.pattern.PartCount, 5);
    if (how == 0)
        QTest::mouseClick(dialog.Button4, Qt::LeftButton);
    else if (how == 1)
        dialog.close();
    else
        QTest::mouseClick(dialog.Button3, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(fixture.page.PatternNumber, pagePattern);
    QCOMPARE(fixture.pattern.PartCount, pagePattern);
    QVERIFY(mainPreview.size() >= 1);
}

void PatternSelectionTest::emptyCatalogueAndNumbersOutside()
{
    SelectionFixture empty(0);
    empty.dialog.configure();
    QVERIFY(!empty.dialog.Button1->isEnabled());
    QVERIFY(!empty.dialog.Button2->isEnabled());
    QCOMPARE(empty.dialog.Label7->text(), QStringLiteral("1/0"));

    SelectionFixture fixture;
    fixture.page.PatternNumber = 300; // from a project file: browsing starts at 1, shown
    fixture.dialog.configure();
    QCOMPARE(fixture.dialog.Label5->text(), QStringLiteral("1"));
    QCOMPARE(fixture.dialog.Label7->text(), QStringLiteral("1/12"));
    QCOMPARE(fixture.dialog.Label6->text(), QStringLiteral("型1"));
    QVERIFY(sameImage(fixture.shown(), fixture.previewOf(1)));
    QTest::mouseClick(fixture.dialog.Button1, Qt::LeftButton);
    QCOMPARE(fixture.dialog.Label7->text(), QStringLiteral("2/12"));
    fixture.dialog.Button4Click();
    QCOMPARE(fixture.page.PatternNumber, 300);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void PatternSelectionTest::isModal()
{
    SelectionFixture fixture;
    fixture.dialog.configure();
    QWidget *modal = nullptr;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        fixture.dialog.Button4Click();
    });
    fixture.dialog.exec();
    QCOMPARE(modal, &fixture.dialog);
}

QTEST_MAIN(PatternSelectionTest)
#include "tst_pattern_selection.moc"
