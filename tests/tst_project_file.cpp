#include "model/io_error.h"
#include "model/project_file.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "ui/error_guard.h"
#include "ui/file_dialog.h"
#include "ui/page_commands.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every field and slot with a value of its own, so a field read into the wrong place shows.
PageProject filledPage()
{
    PageProject page;
    page.Title = sj(" タイトル　");
    page.ColorSupport = ToggleOn;
    page.BackgroundColor = "#FFEEDD";
    page.LinkColor = "#112233";
    page.TextColor = "#445566";
    page.SeparatorStyle = 7;
    page.SeparatorColor = "#778899";
    page.PatternNumber = 12;
    page.BodyFile = sj("本文 .txt");
    page.BodyUsed = ToggleOn;
    for (int n = 0; n < ImageSlotCount; ++n)
        page.Images[n] = {"img" + QByteArray::number(n), "to" + QByteArray::number(n), ToggleOn,
                          Toggle(n + 1), ToggleOn};
    for (int n = 0; n < TextSlotCount; ++n)
        page.Texts[n] = {"<b>text " + QByteArray::number(n) + "</b> ", Toggle(n % 2 + 1)};
    for (int n = 0; n < LinkSlotCount; ++n)
        page.Links[n] = {sj("リンク") + QByteArray::number(n), "l" + QByteArray::number(n),
                         Toggle(n % 2 + 1), Toggle(n / 2 % 2 + 1), ToggleOn, Toggle(2 - n % 2)};
    for (int n = 0; n < DirectSlotCount; ++n)
        page.Directs[n] = {"<MARQUEE>" + QByteArray::number(n), ToggleOn};
    page.Directs[1].DirectMarkup = QByteArray("bad \x81\xff bytes", 12);
    return page;
}

void comparePages(const PageProject &a, const PageProject &b)
{
    QCOMPARE(WriteProject(a), WriteProject(b));
}

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void newPageIs97Lines();
    void roundTripKeepsEverything();
    void olderFormatKeepsTheSeparator();
    void unknownMarkerReadsNothing_data();
    void unknownMarkerReadsNothing();
    void badNumberLeavesThePageAsItWas_data();
    void badNumberLeavesThePageAsItWas();
    void fileCutShortStillOpens();
    void togglesKeepTheLowestByte();
    void openAndSaveThroughTheDialogs();
};

void ProjectFileTest::newPageIs97Lines()
{
    QList<QByteArray> lines{"ver2.10", "1", "", "2", "#FFFFFF", "#0000FF", "#000000", "1",
                            "#000000", "", "2"};
    for (int n = 0; n < ImageSlotCount; ++n)
        lines << "" << "" << "2" << "2" << "2";
    for (int n = 0; n < TextSlotCount; ++n)
        lines << "" << "2";
    for (int n = 0; n < LinkSlotCount; ++n)
        lines << "" << "" << "2" << "2" << "2" << "2";
    for (int n = 0; n < DirectSlotCount; ++n)
        lines << "" << "2";
    QCOMPARE(lines.size(), 97);
    QCOMPARE(WriteProject(PageProject()), crlfLines(lines));
}

void ProjectFileTest::roundTripKeepsEverything()
{
    const PageProject page = filledPage();
    const std::optional<PageProject> read = ReadProject(WriteProject(page), PageProject());
    QVERIFY(read);
    comparePages(*read, page);
    QCOMPARE(read->Title, sj(" タイトル　"));
    QCOMPARE(read->Directs[1].DirectMarkup, QByteArray("bad \x81\xff bytes", 12));
}

void ProjectFileTest::olderFormatKeepsTheSeparator()
{
    const PageProject filled = filledPage();
    QList<QByteArray> lines = splitCrlf(WriteProject(filled));
    lines[0] = "ver2.00";
    lines.removeAt(8); // the separator colour
    lines.removeAt(7); // the separator style
    QCOMPARE(lines.size(), 95);
    PageProject before;
    before.SeparatorStyle = 5;
    before.SeparatorColor = "#ABCDEF";
    const std::optional<PageProject> read = ReadProject(crlfLines(lines), before);
    QVERIFY(read);
    QCOMPARE(int(read->SeparatorStyle), 5);
    QCOMPARE(read->SeparatorColor, QByteArray("#ABCDEF"));
    PageProject expected = filled;
    expected.SeparatorStyle = 5;
    expected.SeparatorColor = "#ABCDEF";
    comparePages(*read, expected);
}

void ProjectFileTest::unknownMarkerReadsNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("other version") << crlfLines({"ver2.20", "1"});
    QTest::newRow("marker with a blank") << crlfLines({"ver2.10 ", "1"});
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbfver2.10\r\n1\r\n");
    QTest::newRow("lone CR line end") << QByteArray("ver2.10\r1\r");
    QTest::newRow("one byte") << QByteArray("v");
}

void ProjectFileTest::unknownMarkerReadsNothing()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!ReadProject(bytes, filledPage()));
}

void ProjectFileTest::badNumberLeavesThePageAsItWas_data()
{
    QTest::addColumn<int>("line"); // the 0-based line of the new page's file to break
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("pattern number") << 1 << QByteArray("one");
    QTest::newRow("pattern number too large") << 1 << QByteArray("4294967297");
    QTest::newRow("colour support") << 3 << QByteArray("0x1");
    QTest::newRow("last direct flag") << 96 << QByteArray(sj("２"));
    QTest::newRow("ten megabyte line") << 51 << QByteArray(10 * 1024 * 1024, '7');
}

void ProjectFileTest::badNumberLeavesThePageAsItWas()
{
    QFETCH(int, line);
    QFETCH(QByteArray, value);
    QList<QByteArray> lines = splitCrlf(WriteProject(filledPage()));
    lines[line] = value;
    const PageProject before;
    QVERIFY_THROWS_EXCEPTION(IoError, ReadProject(crlfLines(lines), before));
}

void ProjectFileTest::fileCutShortStillOpens()
{
    QList<QByteArray> lines = splitCrlf(WriteProject(filledPage())).mid(0, 29);
    const std::optional<PageProject> read = ReadProject(crlfLines(lines), filledPage());
    QVERIFY(read);
    QCOMPARE(read->Texts[3].TextContent, filledPage().Texts[3].TextContent);
    QCOMPARE(read->Texts[4].TextContent, QByteArray()); // the file ends before line 30
    QCOMPARE(read->Texts[4].TextUsed, Toggle(0));
    QCOMPARE(read->Links[0].LinkCaption, QByteArray());
    QCOMPARE(read->Links[9].LinkUsed, Toggle(0));
    QCOMPARE(read->Directs[2].DirectUsed, Toggle(0));
    const std::optional<PageProject> markerOnly = ReadProject("ver2.10", filledPage());
    QVERIFY(markerOnly);
    QCOMPARE(markerOnly->PatternNumber, 0);
    QCOMPARE(markerOnly->BackgroundColor, QByteArray());
}

void ProjectFileTest::togglesKeepTheLowestByte()
{
    QList<QByteArray> lines = splitCrlf(WriteProject(PageProject()));
    lines[1] = "-70000";
    lines[3] = "257";
    lines[7] = "261";
    lines[10] = "-255";
    const std::optional<PageProject> read = ReadProject(crlfLines(lines), PageProject());
    QVERIFY(read);
    QCOMPARE(read->PatternNumber, -70000);
    QCOMPARE(read->ColorSupport, Toggle(1));
    QCOMPARE(int(read->SeparatorStyle), 5);
    QCOMPARE(read->BodyUsed, Toggle(1));
}

void ProjectFileTest::openAndSaveThroughTheDialogs()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ページ.mpk"));
    FileDialog saveDialog(FileDialog::Mode::Save, "プロジェクトファイル(*.mpk)|*.mpk", "mpk");
    FileDialog openDialog(FileDialog::Mode::Open, "プロジェクトファイル(*.mpk)|*.mpk", "mpk");
    RecordingDesktop desktop;

    SaveProject(filledPage(), saveDialog, desktop); // cancelled
    QVERIFY(!QFile::exists(path));
    desktop.answerWith(path);
    SaveProject(filledPage(), saveDialog, desktop);
    QCOMPARE(readBytes(path), WriteProject(filledPage()));

    PageProject page;
    QVERIFY(!OpenProject(page, openDialog, desktop)); // cancelled
    comparePages(page, PageProject());
    desktop.answerWith(path);
    QVERIFY(OpenProject(page, openDialog, desktop));
    comparePages(page, filledPage());

    // A bad number and a missing file show their message and leave the page as it was.
    const QString broken = folder.filePath(QStringLiteral("broken.mpk"));
    writeBytes(broken, crlfLines({"ver2.10", "3", "new title", "x"}));
    for (const QString &file : {broken, folder.filePath(QStringLiteral("gone.mpk"))}) {
        desktop.answerWith(file);
        guarded(desktop, [&] { QVERIFY(!OpenProject(page, openDialog, desktop)); });
        comparePages(page, filledPage());
    }
    QCOMPARE(desktop.messages, (QStringList{"入力値が数値ではありません", "ファイルが見つかりません"}));

    // A save that cannot be written keeps the old file.
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    {
        WithoutAccessOverride asUser;
        desktop.answerWith(path);
        guarded(desktop, [&] { SaveProject(PageProject(), saveDialog, desktop); });
    }
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner
                                                     | QFile::ExeOwner));
    QCOMPARE(desktop.messages.last(), QStringLiteral("ファイルへのアクセスが拒否されました"));
    QCOMPARE(readBytes(path), WriteProject(filledPage()));
}

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_project_file.moc"
