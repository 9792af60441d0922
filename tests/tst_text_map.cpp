#include "model/fonts.h"
#include "model/page_project.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "textmap/map_drawing.h"
#include "textmap/map_file.h"
#include "textmap/map_window.h"
#include "textmap/text_map.h"
#include "ui/byte_line_edit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QByteArray space = QByteArrayLiteral("\x81\x40");

MapExport justOpened()
{
    MapExport map;
    map.map.cells.fill(space);
    map.linkText = sj("戻る");
    map.linkAddress = "../index.html";
    return map;
}

struct MapFixture {
    MapFixture()
    {
        programFolder = folder.path() + '/';
        QDir(folder.path()).mkdir("map");
        for (int n = 1; n <= 10; ++n) {
            MapData sample;
            sample.title = "sample " + QByteArray::number(n);
            sample.cells.fill(sj("川"));
            writeBytes(programFolder + "map/map" + QString::number(n) + ".imp",
                       WriteMapData(sample));
        }
        window.configure();
    }

    QRgb pixel(int x, int y) const { return window.mapPicture.pixel(x, y); }

    QTemporaryDir folder;
    QString programFolder;
    TextMap map;
    PageProject page;
    RecordingDesktop desktop;
    FileDialog htmlDialog{FileDialog::Mode::Save, "HTML", "html"};
    TForm7 window{map, page, programFolder, htmlDialog, desktop};
};

const QRgb white = qRgb(255, 255, 255);
const QRgb marker = qRgb(255, 150, 150);

} // namespace

class TextMapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void newMapIsSeventyLines();
    void mapDataRoundTrip();
    void shortFileLeavesTheRestEmpty();
    void textExport_data();
    void textExport();
    void htmlOfAJustOpenedMap();
    void htmlLink_data();
    void htmlLink();
    void openingResetsEverything();
    void pickingMovesTheMarker();
    void popupPutsOneCharacter();
    void erasingKeepsTheTexts();
    void sampleMapsCycle();
    void openSaveAndExportThroughDialogs();
};

void TextMapTest::newMapIsSeventyLines()
{
    MapData map;
    map.cells.fill(space);
    QList<QByteArray> lines{""};
    for (int cell = 0; cell < 64; ++cell)
        lines << space;
    lines << "" << "" << "" << "" << "";
    QCOMPARE(WriteMapData(map), crlfLines(lines));
}

void TextMapTest::mapDataRoundTrip()
{
    MapData map;
    map.title = sj("駅前の地図");
    for (int cell = 0; cell < 64; ++cell)
        map.cells[cell] = cell % 3 ? sj("─") : space;
    map.cells[cellIndex(3, 5)] = sj("駅店"); // two characters in one cell
    map.cells[cellIndex(7, 7)] = QByteArray("\x81\xff", 2);
    map.descriptions = {sj("郵便局"), "", sj(" 公園 "), "x", sj("駐車場")};
    const MapData read = ReadMapData(WriteMapData(map));
    QCOMPARE(WriteMapData(read), WriteMapData(map));
    QCOMPARE(read.cells[cellIndex(3, 5)], sj("駅店"));
}

void TextMapTest::shortFileLeavesTheRestEmpty()
{
    QList<QByteArray> lines{sj("題")};
    for (int cell = 0; cell < 9; ++cell)
        lines << sj("○");
    const MapData read = ReadMapData(crlfLines(lines));
    QCOMPARE(read.title, sj("題"));
    QCOMPARE(read.cells[cellIndex(7, 0)], sj("○"));
    QCOMPARE(read.cells[cellIndex(0, 1)], sj("○"));
    QCOMPARE(read.cells[cellIndex(1, 1)], QByteArray());
    QCOMPARE(read.descriptions[4], QByteArray());
}

void TextMapTest::textExport_data()
{
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QList<QByteArray>>("description");
    QTest::addColumn<QList<QByteArray>>("tail"); // the lines after the eight rows
    QTest::newRow("nothing ticked, no description") << QList<bool>{} << QList<QByteArray>{}
                                                    << QList<QByteArray>{"", ""};
    QTest::newRow("ticked entries and a description")
        << QList<bool>{true, false, false, true, false} << QList<QByteArray>{"a", "", "b"}
        << QList<QByteArray>{"", sj("○郵便局"), sj("☆公園"), "", "a", "", "b", ""};
}

void TextMapTest::textExport()
{
    QFETCH(QList<bool>, ticked);
    QFETCH(QList<QByteArray>, description);
    QFETCH(QList<QByteArray>, tail);
    MapExport map = justOpened();
    map.map.title = "T";
    map.map.descriptions = {sj("郵便局"), sj("川"), sj("店"), sj("公園"), sj("駅")};
    for (int entry = 0; entry < ticked.size(); ++entry)
        map.ticked[entry] = ticked[entry];
    map.descriptionLines = description;
    const QList<QByteArray> lines = splitCrlf(WriteMapText(map));
    QCOMPARE(lines.mid(0, 3), (QList<QByteArray>{"T", "", space.repeated(8)}));
    QCOMPARE(lines.mid(10), tail);
}

void TextMapTest::htmlOfAJustOpenedMap()
{
    PageProject page;
    QList<QByteArray> lines{"<HTML><HEAD><TITLE></TITLE></HEAD>", "<BODY>", "<BR>", "<HR>"};
    for (int row = 0; row < 8; ++row)
        lines << space.repeated(8) + "<BR>";
    lines << "<HR>" << "<HR>" << "<A href=\"../index.html\">" + sj("戻る") + "</A>"
          << "</BODY></HTML>";
    QCOMPARE(WriteMapHtml(justOpened(), page), crlfLines(lines));

    page.ColorSupport = ToggleOn;
    MapExport described = justOpened();
    described.ticked[2] = true;
    described.map.descriptions[2] = sj("駐車場");
    described.descriptionLines = {"one", "two"};
    const QList<QByteArray> coloured = splitCrlf(WriteMapHtml(described, page));
    QCOMPARE(coloured[1], QByteArray("<BODY BGCOLOR=\"#FFFFFF\"LINK=\"#0000FF\"TEXT=\"#000000\" >"));
    QCOMPARE(coloured.mid(12, 6), (QList<QByteArray>{"<HR>", sj("□駐車場") + "<BR>", "<HR>",
                                                     "one", "two", "<HR>"}));
}

void TextMapTest::htmlLink_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<bool>("written");
    QTest::newRow("half-width blanks") << QByteArray("  \t") << QByteArray("a.html") << false;
    QTest::newRow("empty address") << sj("戻る") << QByteArray() << false;
    QTest::newRow("full-width spaces") << sj("　　") << QByteArray(" a.html ") << true;
}

void TextMapTest::htmlLink()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, address);
    QFETCH(bool, written);
    MapExport map = justOpened();
    map.linkText = text;
    map.linkAddress = address;
    const QList<QByteArray> lines = splitCrlf(WriteMapHtml(map, PageProject()));
    QCOMPARE(lines.size(), written ? 16 : 15);
    if (written)
        QCOMPARE(lines[14], "<A href=\"" + address + "\">" + text + "</A>");
}

void TextMapTest::openingResetsEverything()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    window.Edit6->setText("old");
    window.Edit2->setText("old");
    window.CheckBox4->setChecked(true);
    window.Memo1->setPlainText("old");
    window.Image1MouseDown(Qt::LeftButton, QPoint(100, 100));
    window.putCharacter(sj("駅"));
    window.configure();
    for (const QByteArray &cell : fixture.map.Cells)
        QCOMPARE(cell, space);
    QCOMPARE(window.Edit6->text(), QString());
    QCOMPARE(window.Edit2->text(), QString());
    QCOMPARE(window.Edit7->text(), QStringLiteral("戻る"));
    QCOMPARE(window.Edit8->text(), QStringLiteral("../index.html"));
    QVERIFY(!window.CheckBox4->isChecked());
    QCOMPARE(window.Memo1->toPlainText(), QString());
    QCOMPARE(fixture.map.CurrentColumn, 7);
    QCOMPARE(fixture.map.CurrentRow, 7);
    QCOMPARE(fixture.pixel(212, 212), white); // no marker
}

void TextMapTest::pickingMovesTheMarker()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    // Grid lines light grey, cell frames white after opening.
    QCOMPARE(fixture.pixel(30, 10), qRgb(200, 200, 200));
    QCOMPARE(fixture.pixel(92, 92), white);
    window.Image1MouseDown(Qt::LeftButton, QPoint(30, 61)); // a grid line belongs to the right
    QCOMPARE(fixture.map.CurrentColumn, 1);
    QCOMPARE(fixture.map.CurrentRow, 2);
    QCOMPARE(fixture.pixel(32, 62), marker);
    QCOMPARE(fixture.pixel(57, 87), marker);
    QCOMPARE(fixture.pixel(58, 88), white);
    QCOMPARE(fixture.map.Cells[cellIndex(1, 2)], space); // picking writes nothing
    window.Image1MouseDown(Qt::MiddleButton, QPoint(239, 0));
    QCOMPARE(fixture.pixel(32, 62), white);
    QCOMPARE(fixture.pixel(212, 2), marker);
    window.Image1MouseDown(Qt::LeftButton, QPoint(240, 5)); // outside: the marker stays
    QCOMPARE(fixture.map.CurrentColumn, 7);
    QCOMPARE(fixture.pixel(212, 2), marker);
}

void TextMapTest::popupPutsOneCharacter()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    QTest::mouseClick(window.Image1, Qt::RightButton, {}, QPoint(95, 155));
    QVERIFY(window.PopupMenu1->isVisible());
    window.PopupMenu1->close();
    auto *station = window.findChild<QAction *>("N16");
    QVERIFY(station);
    station->trigger();
    QCOMPARE(fixture.map.Cells[cellIndex(3, 5)], sj("駅"));
    int changed = 0;
    for (const QByteArray &cell : fixture.map.Cells)
        changed += cell != space;
    QCOMPARE(changed, 1);
    QCOMPARE(fixture.pixel(92, 152), marker); // the marker stays round the new character
    // The character is drawn from 3 pixels inside the cell: nothing black left of or above it.
    bool inked = false;
    for (int y = 150; y < 180; ++y)
        for (int x = 90; x < 120; ++x) {
            const bool black = qGray(fixture.pixel(x, y)) < 128;
            QVERIFY(!black || (x >= 93 && y >= 153));
            inked |= black;
        }
    QVERIFY(inked);
    const QStringList menu{"縦横線", "罫線", "模様", "記号", "文字", "削除"};
    QStringList shown;
    for (QAction *action : window.PopupMenu1->actions())
        shown << action->text();
    QCOMPARE(shown, menu);
    window.Delete1->trigger();
    QCOMPARE(fixture.map.Cells[cellIndex(3, 5)], space);
}

void TextMapTest::erasingKeepsTheTexts()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    window.Image1MouseDown(Qt::LeftButton, QPoint(10, 10));
    window.putCharacter(sj("川"));
    window.Edit6->setText("title");
    window.CheckBox1->setChecked(true);
    window.Memo1->setPlainText("text");
    QTest::mouseClick(window.Button8, Qt::LeftButton);
    QCOMPARE(fixture.map.Cells[0], space);
    QCOMPARE(fixture.pixel(2, 2), white);
    QCOMPARE(window.Edit6->text(), QStringLiteral("title"));
    QVERIFY(window.CheckBox1->isChecked());
    QCOMPARE(window.Memo1->toPlainText(), QStringLiteral("text"));
    QCOMPARE(fixture.map.CurrentColumn, 7);
}

void TextMapTest::sampleMapsCycle()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    QFile::remove(fixture.programFolder + "map/map3.imp");
    QStringList titles;
    for (int press = 0; press < 11; ++press) {
        QTest::mouseClick(window.Button5, Qt::LeftButton);
        titles << window.Edit6->text();
    }
    QCOMPARE(titles, (QStringList{"sample 1", "sample 2", "sample 2", "sample 4", "sample 5",
                                  "sample 6", "sample 7", "sample 8", "sample 9", "sample 10",
                                  "sample 1"}));
    QCOMPARE(fixture.desktop.messages, QStringList{"ファイルが見つかりません"});
    QCOMPARE(fixture.map.Cells[cellIndex(4, 4)], sj("川"));
    window.configure();
    QTest::mouseClick(window.Button5, Qt::LeftButton);
    QCOMPARE(window.Edit6->text(), QStringLiteral("sample 1"));
}

void TextMapTest::openSaveAndExportThroughDialogs()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    RecordingDesktop &desktop = fixture.desktop;
    const QString saved = fixture.folder.filePath("mine.imp");
    window.Image1MouseDown(Qt::LeftButton, QPoint(10, 10));
    window.putCharacter(sj("☆"));
    window.Edit6->setText(QStringLiteral("待ち合わせ"));
    window.Edit4->setText(QStringLiteral("ここ"));
    desktop.answerWith(saved);
    QTest::mouseClick(window.Button3, Qt::LeftButton);
    QCOMPARE(splitCrlf(readBytes(saved)).size(), 70);

    window.configure();
    window.Memo1->setPlainText("kept");
    desktop.answerWith(saved);
    QTest::mouseClick(window.Button4, Qt::LeftButton);
    QCOMPARE(fixture.map.Cells[0], sj("☆"));
    QCOMPARE(window.Edit6->text(), QStringLiteral("待ち合わせ"));
    QCOMPARE(window.Edit4->text(), QStringLiteral("ここ"));
    QCOMPARE(window.Memo1->toPlainText(), QStringLiteral("kept"));

    // A file that cannot be read leaves the map as it was.
    desktop.answerWith(fixture.folder.filePath("gone.imp"));
    QTest::mouseClick(window.Button4, Qt::LeftButton);
    QCOMPARE(desktop.messages, QStringList{"ファイルが見つかりません"});
    QCOMPARE(fixture.map.Cells[0], sj("☆"));

    // The page export goes through the main window's dialog and offers its last name.
    fixture.htmlDialog.FileName = fixture.folder.filePath("index.html");
    const QString page = fixture.folder.filePath("map.html");
    desktop.answerWith(page);
    QTest::mouseClick(window.Button1, Qt::LeftButton);
    QCOMPARE(desktop.dialogs.last().offeredName, fixture.folder.filePath("index.html"));
    QCOMPARE(fixture.htmlDialog.FileName, page);
    QVERIFY(readBytes(page).startsWith("<HTML><HEAD><TITLE>" + sj("待ち合わせ")));
    const QString text = fixture.folder.filePath("map.txt");
    desktop.answerWith(text);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QCOMPARE(splitCrlf(readBytes(text)).value(2), sj("☆") + space.repeated(7));
    // A description of one empty line is one line: it and the line closing it are written.
    window.Memo1->setPlainText("\n");
    desktop.answerWith(text);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QCOMPARE(splitCrlf(readBytes(text)).mid(11), (QList<QByteArray>{"", "", ""}));
    QTest::mouseClick(window.Button6, Qt::LeftButton);
    QCOMPARE(desktop.opened, QStringList{fixture.programFolder + "help/help16.html"});

    QWidget *modal = nullptr;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        QTest::mouseClick(window.Button7, Qt::LeftButton);
    });
    window.exec();
    QCOMPARE(modal, &window);
}

QTEST_MAIN(TextMapTest)
#include "tst_text_map.moc"
