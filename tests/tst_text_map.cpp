#include "drawings/fonts.h"
#include "page/page_project.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "textmap/map_drawing.h"
#include "textmap/map_file.h"
#include "textmap/map_window.h"
#include "textmap/text_map.h"
#include "widgets/byte_line_edit.h"

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

    // The box round the black pixels of a cell; empty when nothing is written in it.
    QRect ink(int column, int row) const
    {
        QRect box;
        for (int y = row * MapCellPixels; y < (row + 1) * MapCellPixels; ++y)
            for (int x = column * MapCellPixels; x < (column + 1) * MapCellPixels; ++x)
                if (qGray(pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    QTemporaryDir folder;
    QString programFolder;
    TextMap map;
    PageProject page;
    RecordingDesktop desktop;
    PageLocation location;
    TForm7 window{map, page, location, programFolder, desktop};
};

const QRgb white = qRgb(255, 255, 255);
const QRgb marker = qRgb(255, 150, 150);

} // namespace

class TextMapTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void mapData();
    void exports_data();
    void exports();
    void drawing();
    void sampleMapsCycle();
    void openSaveAndExportThroughDialogs();
};

// A new map is 70 lines: the empty title, 64 full-width spaces and five empty descriptions.
// Every cell and description is read back byte for byte; a file cut short leaves the rest
// empty, not blank.
void TextMapTest::mapData()
{
    MapData map;
    map.cells.fill(space);
    const QList<QByteArray> newMap = QList<QByteArray>{""} + QList<QByteArray>(64, space);
    QCOMPARE(WriteMapData(map), crlfLines(newMap + QList<QByteArray>(5)));

    map.title = sj("駅前の地図");
    for (int cell = 0; cell < 64; ++cell)
        map.cells[cell] = cell % 3 ? sj("─") : space;
    map.cells[cellIndex(3, 5)] = sj("駅店"); // two characters in one cell
    map.cells[cellIndex(7, 7)] = QByteArray("\x81\xff", 2);
    map.descriptions = {sj("郵便局"), "", sj(" 公園 "), "x", sj("駐車場")};
    QCOMPARE(WriteMapData(ReadMapData(WriteMapData(map))), WriteMapData(map));

    const QList<QByteArray> lines = QList<QByteArray>{sj("題")} + QList<QByteArray>(9, sj("○"));
    QCOMPARE(WriteMapData(ReadMapData(crlfLines(lines))), crlfLines(lines + QList<QByteArray>(60)));
}

// Both exports of one map, with the legend, description and link of each row; the rows of the
// map and the lines after them are compared whole.
void TextMapTest::exports_data()
{
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QList<QByteArray>>("description");
    QTest::addColumn<QByteArray>("linkText");
    QTest::addColumn<QByteArray>("linkAddress");
    QTest::addColumn<bool>("colour");
    QTest::addColumn<QList<QByteArray>>("textTail");
    QTest::addColumn<QList<QByteArray>>("htmlTail");
    const QByteArray back = sj("戻る");
    const QByteArray backLink = "<A href=\"../index.html\">" + back + "</A>";
    const QByteArray close = "</BODY></HTML>";
    QTest::newRow("ticked entries and a description, in colour")
        << QList<bool>{true, false, false, true, false} << QList<QByteArray>{"a", "", "b"} << back
        << QByteArray("../index.html") << true
        << QList<QByteArray>{"", sj("○郵便局"), sj("☆公園"), "", "a", "", "b", ""}
        << QList<QByteArray>{"<HR>", sj("○郵便局") + "<BR>", sj("☆公園") + "<BR>", "<HR>", "a",
                             "", "b", "<HR>", backLink, close};
    // The link is left out when its text or its address holds only half-width blanks.
    const auto link = [&](const char *name, const QByteArray &text, const QByteArray &address,
                          const QList<QByteArray> &line) {
        QTest::newRow(name) << QList<bool>{} << QList<QByteArray>{} << text << address << false
                            << QList<QByteArray>{"", ""}
                            << QList<QByteArray>{"<HR>", "<HR>"} + line + QList<QByteArray>{close};
    };
    link("just opened", back, "../index.html", {backLink});
    link("link text of half-width blanks", "  \t", "a.html", {});
    link("no link address", back, "", {});
    link("link text of full-width spaces", sj("　　"), " a.html ",
         {"<A href=\" a.html \">" + sj("　　") + "</A>"});
}

void TextMapTest::exports()
{
    QFETCH(QList<bool>, ticked);
    QFETCH(QList<QByteArray>, description);
    QFETCH(QByteArray, linkText);
    QFETCH(QByteArray, linkAddress);
    QFETCH(bool, colour);
    QFETCH(QList<QByteArray>, textTail);
    QFETCH(QList<QByteArray>, htmlTail);
    MapExport map = justOpened();
    map.map.title = "T";
    map.map.cells[cellIndex(1, 0)] = sj("駅");
    map.map.descriptions = {sj("郵便局"), sj("川"), sj("店"), sj("公園"), sj("駅")};
    for (int entry = 0; entry < ticked.size(); ++entry)
        map.ticked[entry] = ticked[entry];
    map.descriptionLines = description;
    map.linkText = linkText;
    map.linkAddress = linkAddress;
    PageProject page;
    page.ColorSupport = colour ? ToggleOn : ToggleOff;
    QList<QByteArray> rows(MapSize, space.repeated(MapSize));
    rows[0] = space + sj("駅") + space.repeated(6);

    const QList<QByteArray> text = splitCrlf(WriteMapText(map));
    QCOMPARE(text.mid(0, 2), (QList<QByteArray>{"T", ""}));
    QCOMPARE(text.mid(2, 8), rows);
    QCOMPARE(text.mid(10), textTail);

    const QList<QByteArray> html = splitCrlf(WriteMapHtml(map, page));
    const QByteArray body = colour ? "<BODY BGCOLOR=\"#FFFFFF\"LINK=\"#0000FF\"TEXT=\"#000000\" >"
                                   : "<BODY>";
    QCOMPARE(html.mid(0, 4),
             (QList<QByteArray>{"<HTML><HEAD><TITLE>T</TITLE></HEAD>", body, "T<BR>", "<HR>"}));
    for (QByteArray &row : rows)
        row += "<BR>";
    QCOMPARE(html.mid(4, 8), rows);
    QCOMPARE(html.mid(12), htmlTail);
}

// Picking moves the marker, the menu writes the one cell picked, erasing clears the cells
// only, and opening the window again clears everything and hides the marker.
void TextMapTest::drawing()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    MapCells cells;
    cells.fill(space);
    QCOMPARE(fixture.pixel(30, 10), qRgb(200, 200, 200)); // grid lines light grey
    QCOMPARE(fixture.pixel(92, 92), white);               // cell frames white
    window.Image1MouseDown(Qt::LeftButton, QPoint(30, 61)); // a grid line belongs to the right
    QCOMPARE(fixture.map.CurrentColumn, 1);
    QCOMPARE(fixture.map.CurrentRow, 2);
    QCOMPARE(fixture.pixel(32, 62), marker);
    QCOMPARE(fixture.pixel(57, 87), marker);
    QCOMPARE(fixture.pixel(58, 88), white);
    window.Image1MouseDown(Qt::MiddleButton, QPoint(239, 0));
    QCOMPARE(fixture.pixel(32, 62), white);
    QCOMPARE(fixture.pixel(212, 2), marker);
    window.Image1MouseDown(Qt::LeftButton, QPoint(240, 5)); // outside: the marker stays
    QCOMPARE(fixture.map.CurrentColumn, 7);
    QCOMPARE(fixture.pixel(212, 2), marker);
    QVERIFY(fixture.map.Cells == cells); // picking writes nothing

    QTest::mouseClick(window.Image1, Qt::RightButton, {}, QPoint(95, 155));
    QVERIFY(window.PopupMenu1->isVisible());
    window.PopupMenu1->close();
    auto *station = window.findChild<QAction *>("N16");
    QVERIFY(station);
    station->trigger();
    cells[cellIndex(3, 5)] = sj("駅");
    QVERIFY(fixture.map.Cells == cells);
    QCOMPARE(fixture.pixel(92, 152), marker); // the marker stays round the new character
    // The character is drawn from 3 pixels inside the cell: nothing black left of or above it.
    const QRect ink = fixture.ink(3, 5);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= 93 && ink.top() >= 153);
    window.Delete1->trigger();
    QCOMPARE(fixture.map.Cells[cellIndex(3, 5)], space);

    window.putCharacter(sj("川"));
    for (QLineEdit *edit : {window.Edit2, window.Edit6, window.Edit7, window.Edit8})
        edit->setText("old");
    window.CheckBox4->setChecked(true);
    window.Memo1->setPlainText("old");
    QTest::mouseClick(window.Button8, Qt::LeftButton);
    cells[cellIndex(3, 5)] = space;
    QVERIFY(fixture.map.Cells == cells);
    QVERIFY(fixture.ink(3, 5).isEmpty());
    QCOMPARE(fixture.pixel(92, 152), white);
    QCOMPARE(QPoint(fixture.map.CurrentColumn, fixture.map.CurrentRow), QPoint(7, 7));
    QCOMPARE(window.Edit6->text(), QStringLiteral("old"));
    QVERIFY(window.CheckBox4->isChecked());
    QCOMPARE(window.Memo1->toPlainText(), QStringLiteral("old"));

    window.Image1MouseDown(Qt::LeftButton, QPoint(100, 100));
    window.putCharacter(sj("駅"));
    window.configure();
    QVERIFY(fixture.map.Cells == cells);
    for (QLineEdit *edit : {window.Edit1, window.Edit2, window.Edit3, window.Edit4, window.Edit5,
                            window.Edit6})
        QCOMPARE(edit->text(), QString());
    QCOMPARE(window.Edit7->text(), QStringLiteral("戻る"));
    QCOMPARE(window.Edit8->text(), QStringLiteral("../index.html"));
    QVERIFY(!window.CheckBox4->isChecked());
    QCOMPARE(window.Memo1->toPlainText(), QString());
    QCOMPARE(fixture.pixel(92, 92), white); // no marker
    QCOMPARE(QPoint(fixture.map.CurrentColumn, fixture.map.CurrentRow), QPoint(7, 7));
}

// A missing sample map is skipped by the next press; opening the window starts again at 1.
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

// The window gathers its fields into each file; opening a map data file brings back the cells,
// the title and the legend texts and leaves the rest.
void TextMapTest::openSaveAndExportThroughDialogs()
{
    MapFixture fixture;
    TForm7 &window = fixture.window;
    RecordingDesktop &desktop = fixture.desktop;
    const auto save = [&](QPushButton *button, const QString &name) {
        desktop.answerWith(fixture.folder.filePath(name));
        QTest::mouseClick(button, Qt::LeftButton);
        return readBytes(fixture.folder.filePath(name));
    };
    window.Image1MouseDown(Qt::LeftButton, QPoint(40, 10));
    window.putCharacter(sj("☆"));
    window.Edit6->setText(QStringLiteral("待ち合わせ"));
    window.Edit4->setText(QStringLiteral("ここ"));
    window.CheckBox4->setChecked(true);
    window.Edit8->setText("top.html");
    window.Memo1->setPlainText("one\n\n"); // the last line break closes a line, opens none
    MapExport expected = justOpened();
    expected.map.title = sj("待ち合わせ");
    expected.map.cells[cellIndex(1, 0)] = sj("☆");
    expected.map.descriptions[3] = sj("ここ");
    expected.ticked[3] = true;
    expected.descriptionLines = {"one", ""};
    expected.linkAddress = "top.html";
    QCOMPARE(save(window.Button3, "mine.imp"), WriteMapData(expected.map));
    QCOMPARE(save(window.Button2, "map.txt"), WriteMapText(expected));
    // Tab leaves the description instead of writing a TAB into the map.
    QTest::keyClick(window.Memo1, Qt::Key_Tab);
    QCOMPARE(window.Memo1->toPlainText(), QStringLiteral("one\n\n"));
    window.Memo1->setPlainText("\n"); // one empty line
    expected.descriptionLines = {""};
    QCOMPARE(save(window.Button2, "map.txt"), WriteMapText(expected));
    // The page export has a dialog of its own: it starts in the page's folder, then offers its
    // own last name.
    fixture.location.PageFolder = fixture.folder.filePath("pages");
    QCOMPARE(save(window.Button1, "map.html"), WriteMapHtml(expected, fixture.page));
    QCOMPARE(desktop.dialogs.last().offeredPath, fixture.folder.filePath("pages/"));
    QCOMPARE(save(window.Button1, "map.html"), WriteMapHtml(expected, fixture.page));
    QCOMPARE(desktop.dialogs.last().offeredPath, fixture.folder.filePath("map.html"));

    window.configure();
    window.Memo1->setPlainText("kept");
    desktop.answerWith(fixture.folder.filePath("mine.imp"));
    QTest::mouseClick(window.Button4, Qt::LeftButton);
    QVERIFY(fixture.map.Cells == expected.map.cells);
    QCOMPARE(window.Edit6->text(), QStringLiteral("待ち合わせ"));
    QCOMPARE(window.Edit4->text(), QStringLiteral("ここ"));
    QCOMPARE(window.Memo1->toPlainText(), QStringLiteral("kept"));
    QVERIFY(desktop.messages.isEmpty());

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
