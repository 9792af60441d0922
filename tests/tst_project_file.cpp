#include "page/page_title.h"
#include "page/project_file.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "widgets/error_guard.h"
#include "widgets/file_dialog.h"
#include "windows/page_commands.h"

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
    page.BodyFile = {sj("本文 .txt"), {}};
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

enum class Outcome { Opens, NotAProject, NotANumber };

} // namespace

class ProjectFileTest : public QObject {
    Q_OBJECT

private slots:
    void newPageIs97Lines();
    void reading_data();
    void reading();
    void openAndSaveThroughTheDialogs();
    void shortenedTitle_data();
    void shortenedTitle();
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

// Each row: the file, the page open before, and what reading gives: the page read over it, with
// the line the file ended at when it ended early; nothing (not a project file) or a bad number,
// which leaves the page to the caller.
void ProjectFileTest::reading_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<PageProject>("before");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<PageProject>("expected");
    QTest::addColumn<int>("endedAtLine");
    const PageProject filled = filledPage();
    const QList<QByteArray> lines = splitCrlf(WriteProject(filled));
    const auto changed = [&](const QList<QPair<int, QByteArray>> &changes) {
        QList<QByteArray> changedLines = lines;
        for (const auto &[line, value] : changes)
            changedLines[line] = value;
        return crlfLines(changedLines);
    };

    QTest::newRow("round trip") << crlfLines(lines) << PageProject() << Outcome::Opens << filled
                                << 0;
    QTest::newRow("last line without its line end")
        << crlfLines(lines).chopped(2) << PageProject() << Outcome::Opens << filled << 0;

    // The older format has no separator lines: the open page's separator stays.
    PageProject older = filled;
    older.SeparatorStyle = PageProject().SeparatorStyle;
    older.SeparatorColor = PageProject().SeparatorColor;
    QList<QByteArray> olderLines = lines;
    olderLines[0] = "ver2.00";
    olderLines.remove(7, 2);
    QTest::newRow("older format") << crlfLines(olderLines) << PageProject() << Outcome::Opens
                                  << older << 0;

    // What the file no longer has reads as empty texts and 0, not as the page there was.
    PageProject cut = filled;
    cut.Texts[4] = {{}, 0};
    cut.Links.fill({{}, {}, 0, 0, 0, 0});
    cut.Directs.fill({{}, 0});
    QTest::newRow("cut short in the fifth text")
        << crlfLines(lines.mid(0, 29)) << filled << Outcome::Opens << cut << 29;

    // Toggles and the separator style keep the lowest byte of the number.
    PageProject lowBytes = filled;
    lowBytes.PatternNumber = -70000;
    lowBytes.ColorSupport = lowBytes.BodyUsed = 1;
    lowBytes.SeparatorStyle = 5;
    QTest::newRow("toggles keep the lowest byte")
        << changed({{1, "-70000"}, {3, "257"}, {7, "261"}, {10, "-255"}}) << PageProject()
        << Outcome::Opens << lowBytes << 0;

    // Files that are nothing like a project file are in tst_bad_input.
    const auto notAProject = [](const char *name, const QByteArray &file) {
        QTest::newRow(name) << file << filledPage() << Outcome::NotAProject << PageProject() << 0;
    };
    notAProject("other version", crlfLines({"ver2.20", "1"}));
    notAProject("marker with a blank", crlfLines({"ver2.10 ", "1"}));
    notAProject("byte order mark", "\xef\xbb\xbfver2.10\r\n1\r\n");
    notAProject("lone CR line end", "ver2.10\r1\r");

    const auto badNumber = [&](const char *name, int line, const QByteArray &value) {
        QTest::newRow(name) << changed({{line, value}}) << PageProject() << Outcome::NotANumber
                            << PageProject() << 0;
    };
    badNumber("pattern number", 1, "one");
    badNumber("colour support", 3, "0x1");
    badNumber("last direct flag", 96, sj("２"));
    badNumber("ten megabyte line", 51, QByteArray(10 * 1024 * 1024, '7'));
}

void ProjectFileTest::reading()
{
    QFETCH(QByteArray, bytes);
    QFETCH(PageProject, before);
    QFETCH(Outcome, outcome);
    QFETCH(PageProject, expected);
    QFETCH(int, endedAtLine);
    std::optional<ProjectRead> read;
    QCOMPARE(messageOf([&] { read = ReadProjectFile(bytes, before); }),
             outcome == Outcome::NotANumber ? QStringLiteral("入力値が数値ではありません")
                                            : QString());
    QCOMPARE(read.has_value(), outcome == Outcome::Opens);
    if (read) {
        comparePages(read->page, expected);
        QCOMPARE(read->endedAtLine, endedAtLine);
    }
}

void ProjectFileTest::openAndSaveThroughTheDialogs()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ページ.mpk"));
    FileDialog saveDialog(FileDialog::Mode::Save, "", "プロジェクトファイル(*.mpk)|*.mpk", "mpk");
    FileDialog openDialog(FileDialog::Mode::Open, "", "プロジェクトファイル(*.mpk)|*.mpk", "mpk");
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
    QCOMPARE(desktop.warnings, QStringList());

    // A file that ends early opens, and says so.
    const QString cut = folder.filePath(QStringLiteral("cut.mpk"));
    writeBytes(cut, crlfLines(splitCrlf(WriteProject(filledPage())).mid(0, 20)));
    desktop.answerWith(cut);
    QVERIFY(OpenProject(page, openDialog, desktop));
    QCOMPARE(desktop.warnings, QStringList{"プロジェクトファイルが途中で終わっています（20行目まで）。"
                                           "足りない項目は空にしました。"});
    desktop.answerWith(path);
    QVERIFY(OpenProject(page, openDialog, desktop));

    // A bad number shows its message, with the file and line, and leaves the page as it was;
    // files that cannot be opened or written are in tst_failures.
    const QString broken = folder.filePath(QStringLiteral("broken.mpk"));
    writeBytes(broken, crlfLines({"ver2.10", "3", "new title", "x"}));
    desktop.answerWith(broken);
    guarded(desktop, [&] { QVERIFY(!OpenProject(page, openDialog, desktop)); });
    comparePages(page, filledPage());
    QCOMPARE(desktop.messages, QStringList{"入力値が数値ではありません\n" + broken + " の 4 行目"});
}

// A title past its bound is cut at a character's start, a reference kept whole or left out.
void ProjectFileTest::shortenedTitle_data()
{
    QTest::addColumn<QByteArray>("title");
    QTest::addColumn<QByteArray>("shortened");
    const QByteArray fits(LongestTitleBytes, 'a');
    QTest::newRow("fits") << fits << fits;
    QTest::newRow("a byte over") << fits + "b" << fits;
    QTest::newRow("a kanji across the bound") << QByteArray(LongestTitleBytes - 1, 'a') + "\x8B\x69"
                                              << QByteArray(LongestTitleBytes - 1, 'a');
    QTest::newRow("a reference across the bound") << QByteArray(LongestTitleBytes - 4, 'a') + "&#63647;"
                                                  << QByteArray(LongestTitleBytes - 4, 'a');
    QTest::newRow("a reference that ends at the bound") << QByteArray(LongestTitleBytes - 8, 'a') + "&#63647;x"
                                                        << QByteArray(LongestTitleBytes - 8, 'a') + "&#63647;";
}

void ProjectFileTest::shortenedTitle()
{
    QFETCH(QByteArray, title);
    QFETCH(QByteArray, shortened);
    QCOMPARE(ShortenedTitle(title), shortened);
}

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "tst_project_file.moc"
