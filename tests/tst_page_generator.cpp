#include "page/body_text.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/project_file.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "text/stored_path.h"
#include "text/text_reader.h"
#include "widgets/error_guard.h"
#include "widgets/file_dialog.h"
#include "windows/page_commands.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using Parts = QList<QPair<int, int>>;

namespace {

Pattern patternOf(const Parts &parts)
{
    Pattern pattern;
    for (const auto &[code, slot] : parts)
        pattern.Parts[static_cast<std::size_t>(pattern.PartCount++)] = {code, slot};
    return pattern;
}

LinkSlot usedLink(const QByteArray &caption, const QByteArray &target, Toggle mail,
                  Toggle centred, Toggle accessKey)
{
    return {caption, target, ToggleOn, mail, centred, accessKey};
}

// The lines a page writes for its parts, between the head and the closing line.
QList<QByteArray> partLines(const PageProject &page, const Parts &parts)
{
    const Pattern pattern = patternOf(parts);
    const QList<QByteArray> lines =
        splitCrlf(GeneratePageBytes(page, pattern, pattern.PartCount, {}));
    return lines.mid(3, lines.size() - 4);
}

} // namespace

class PageGeneratorTest : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void parts_data();
    void parts();
    void accessKeysRunOneToZeroAndAgain();
    void bodyLines_data();
    void bodyLines();
    void generatePage();
    void bodyFileKinds_data();
    void bodyFileKinds();
    void bodyPathsSurviveShiftJis_data();
    void bodyPathsSurviveShiftJis();
    void selfLinkedFolder_data();
    void selfLinkedFolder();
};

void PageGeneratorTest::workedExample()
{
    PageProject page;
    page.Title = "Shop";
    page.ColorSupport = ToggleOn;
    page.Images[0] = {"top.gif", "", ToggleOn, ToggleOff, ToggleOff};
    page.Texts[0] = {"Welcome", ToggleOn};
    page.Links[0] = usedLink("Menu", "menu.html", ToggleOff, ToggleOff, ToggleOn);
    page.Links[1] = usedLink("Map", "map.html", ToggleOff, ToggleOn, ToggleOn);
    page.Directs[0] = {"<BLINK>NEW</BLINK>", ToggleOn};
    const Pattern pattern =
        patternOf({{1, 0}, {2, 1}, {6, 0}, {3, 1}, {4, 1}, {4, 2}, {6, 0}, {5, 1}});
    const QByteArray expected = crlfLines({
        "<HTML><HEAD><TITLE>Shop</TITLE></HEAD>",
        "<BODY BGCOLOR=\"#FFFFFF\"LINK=\"#0000FF\"TEXT=\"#000000\" >",
        "<!-- mpkg ver2.00 -->",
        "<CENTER><IMG SRC=\"top.gif\"></CENTER><BR>",
        "<HR>",
        "<p>Welcome</P><BR>",
        "&#63879;<A HREF=\"menu.html\" ACCESSKEY=\"1\">Menu</A><BR>",
        "<CENTER>&#63880;<A HREF=\"map.html\" ACCESSKEY=\"2\">Map</A></CENTER><BR>",
        "<HR>",
        "<BLINK>NEW</BLINK>",
        "</BODY></HTML>",
    });
    QCOMPARE(GeneratePageBytes(page, pattern, pattern.PartCount, {"unused body"}), expected);
    // Only the first `partCount` parts are written; without colour support the BODY is plain.
    QCOMPARE(GeneratePageBytes(PageProject(), pattern, 0, {}),
             crlfLines({"<HTML><HEAD><TITLE></TITLE></HEAD>", "<BODY>", "<!-- mpkg ver2.00 -->",
                        "</BODY></HTML>"}));
}

// Each row: a page, the parts of its pattern and the lines written between head and close.
void PageGeneratorTest::parts_data()
{
    QTest::addColumn<PageProject>("page");
    QTest::addColumn<Parts>("parts");
    QTest::addColumn<QList<QByteArray>>("lines");
    const auto image = [](const char *name, Toggle left, Toggle linked, const QByteArray &line) {
        PageProject page;
        page.Images[1] = {"top.gif", "a.html", ToggleOn, linked, left};
        QTest::newRow(name) << page << Parts{{2, 2}} << QList<QByteArray>{line};
    };
    image("image left, linked", 1, 1, "<A HREF=\"a.html\"><IMG SRC=\"top.gif\"></A><BR>");
    image("image left", 1, 2, "<IMG SRC=\"top.gif\"><BR>");
    image("image centred, linked", 2, 1,
          "<CENTER><A HREF=\"a.html\"><IMG SRC=\"top.gif\"></A></CENTER><BR>");
    image("image, 0 counts as off", 0, 0, "<CENTER><IMG SRC=\"top.gif\"></CENTER><BR>");

    const auto addLink = [](const char *name, const QByteArray &target, Toggle mail,
                            Toggle centred, Toggle accessKey, const QByteArray &line) {
        PageProject page;
        page.Links[9] = usedLink("TOP", target, mail, centred, accessKey);
        QTest::newRow(name) << page << Parts{{4, 10}} << QList<QByteArray>{line};
    };
    addLink("plain link", "index.html", 2, 2, 2, "<A HREF=\"index.html\">TOP</A><BR>");
    addLink("mail with access key", "a@b.jp", 1, 2, 1,
            "&#63879;&#63863;<A HREF=\"mailto:a@b.jp\" ACCESSKEY=\"1\">TOP</A><BR>");
    addLink("centred mail", "a@b.jp", 1, 1, 2,
            "<CENTER>&#63863;<A HREF=\"mailto:a@b.jp\">TOP</A></CENTER><BR>");
    addLink("empty mail address", "", 1, 2, 2, "&#63863;<A HREF=\"mailto:\">TOP</A><BR>");
    addLink("markup goes out unescaped", "a.html?x=1&y=<2>", 2, 2, 2,
            "<A HREF=\"a.html?x=1&y=<2>\">TOP</A><BR>");

    // The decoration is black whatever the colours of the page.
    const QList<QPair<int, const char *>> separators{
        {0, nullptr}, {2, "☆☆☆☆☆☆☆☆"}, {3, "------------"}, {4, "■■■■■■■■"},
        {5, "■□■□■□■"}, {6, "△▽△▽△▽△"}, {7, "△△△△△△△△"}, {8, "▽▽▽▽▽▽▽▽"},
        {9, "○○○○○○○○"}, {10, "□□□□"}, {11, nullptr}};
    for (const auto &[style, decoration] : separators) {
        PageProject page;
        page.ColorSupport = ToggleOn;
        page.TextColor = "#FF0000";
        page.SeparatorColor = "#00FF00";
        page.SeparatorStyle = std::uint8_t(style);
        QList<QByteArray> lines;
        if (decoration)
            lines << "<CENTER><FONT COLOR=\"#000000\">" + sj(decoration) + "</FONT></CENTER>";
        QTest::addRow("separator %d", style) << page << Parts{{6, 3}} << lines;
    }

    PageProject mixed;
    for (ImageSlot &picture : mixed.Images)
        picture = {"i.gif", "", ToggleOn, ToggleOff, ToggleOn};
    mixed.Texts[0] = {"unused", ToggleOff};
    mixed.Texts[4] = {sj("　空白も　そのまま "), ToggleOn};
    mixed.Links[0] = usedLink("L", "l.html", ToggleOff, ToggleOff, ToggleOn);
    mixed.Links[0].LinkUsed = 0;
    mixed.Directs[2] = {"<X>", ToggleOn};
    QTest::newRow("unused, out of range and repeated slots")
        << mixed
        << Parts{{2, 0}, {2, 3}, {3, 1}, {3, 6}, {4, 1}, {4, 11}, {5, 4}, {5, -1}, {0, 0},
                 {7, 1}, {2, 1}, {3, 5}, {2, 1}}
        << QList<QByteArray>{"<IMG SRC=\"i.gif\"><BR>",
                             "<p>" + sj("　空白も　そのまま ") + "</P><BR>",
                             "<IMG SRC=\"i.gif\"><BR>"};
}

void PageGeneratorTest::parts()
{
    QFETCH(PageProject, page);
    QFETCH(Parts, parts);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(partLines(page, parts), lines);
}

// Keys go to used access-key links in page order: 1 to 9, then 0, then 1 again.
void PageGeneratorTest::accessKeysRunOneToZeroAndAgain()
{
    PageProject page;
    page.Links[0] = usedLink("K", "k.html", ToggleOff, ToggleOff, ToggleOn);
    page.Links[1] = usedLink("N", "n.html", ToggleOff, ToggleOff, ToggleOff);
    page.Links[2] = usedLink("U", "u.html", ToggleOff, ToggleOff, ToggleOn);
    page.Links[2].LinkUsed = ToggleOff; // takes no key
    Parts parts;
    for (int k = 0; k < 11; ++k)
        parts << qMakePair(4, 1) << qMakePair(4, 3) << qMakePair(4, 2);
    const QList<QByteArray> lines = partLines(page, parts);
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines[8], QByteArray("&#63883;<A HREF=\"k.html\" ACCESSKEY=\"5\">K</A><BR>"));
    QCOMPARE(lines[18], QByteArray("&#63888;<A HREF=\"k.html\" ACCESSKEY=\"0\">K</A><BR>"));
    QCOMPARE(lines[19], QByteArray("<A HREF=\"n.html\">N</A><BR>"));
    QCOMPARE(lines[20], QByteArray("&#63879;<A HREF=\"k.html\" ACCESSKEY=\"1\">K</A><BR>"));
}

// Line ends and empty files are TextReader's; see tst_text_files and tst_bad_input.
void PageGeneratorTest::bodyLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("marking") << crlfLines({sj("　はじめに"), "", sj("はじめに"), " indented", "\t tab"})
                             << QList<QByteArray>{"<BR>" + sj("　はじめに"), "<BR>", sj("はじめに"),
                                                  "<BR> indented", "\t tab"};
    QTest::newRow("trail byte 40 of another character is no blank")
        << sj("ア") + "@x" << QList<QByteArray>{sj("ア") + "@x"};
    // Desktop editors save UTF-8; half-width kana stay as they are (which file is read as what
    // is in tst_text_files).
    QTest::newRow("UTF-8 with byte order mark")
        << QByteArray("\xEF\xBB\xBF") + QString("　はじめに\r\nカレー\r\n").toUtf8()
        << QList<QByteArray>{"<BR>" + sj("　はじめに"), sj("カレー")};
    QTest::newRow("UTF-8 that is valid Shift-JIS too")
        << QString("ようこそ\r\n").toUtf8() << QList<QByteArray>{sj("ようこそ")};
    QTest::newRow("UTF-8 beyond code page 932")
        << QString("カフェé😀").toUtf8() << QList<QByteArray>{sj("カフェ") + "&#233;&#128512;"};
    QTest::newRow("Shift-JIS half-width kana") << sj("ｶﾚｰ") << QList<QByteArray>{sj("ｶﾚｰ")};
    // Emoji become pictograms as when typed: ☕ is pictogram 51 (F8D1), 👑 extended E15 (F9BF).
    QTest::newRow("UTF-8 emoji") << QString("コーヒー☕\r\n王様👑と😀\r\n").toUtf8()
                                 << QList<QByteArray>{sj("コーヒー") + "&#63697;",
                                                      sj("王様") + "\xF9\xBF" + sj("と") + "&#128512;"};
}

void PageGeneratorTest::bodyLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(MarkBodyLines(file), lines);
}

// A full-size body through the dialog; the file written is offered next time. A failed write
// is in tst_failures.
void PageGeneratorTest::generatePage()
{
    QTemporaryDir folder;
    QList<QByteArray> bodyFile;
    for (int k = 1; k <= 200; ++k)
        bodyFile << "line " + QByteArray::number(k);
    const QString bodyPath = folder.filePath(QStringLiteral("本文.txt"));
    writeBytes(bodyPath, crlfLines(bodyFile));
    PageProject page;
    page.Title = sj("お店");
    page.BodyUsed = ToggleOn;
    page.BodyFile = StoredPath::fromChosen(bodyPath);
    const Pattern pattern = patternOf({{1, 0}});
    FileDialog dialog(FileDialog::Mode::Save, "HTMLファイルを保存", "HTMLファイル(*.html)|*.html",
                      "html");
    RecordingDesktop desktop;
    const auto generate = [&] {
        guarded(desktop, [&] { GeneratePage(1, page, {}, pattern, dialog, desktop); });
    };

    generate(); // cancelled
    QCOMPARE(desktop.dialogs.size(), 1);

    const QString out = folder.filePath(QStringLiteral("index.html"));
    desktop.answerWith(out);
    generate();
    const QList<QByteArray> lines = splitCrlf(readBytes(out));
    QCOMPARE(lines.size(), 204);
    QCOMPARE(lines[0], "<HTML><HEAD><TITLE>" + sj("お店") + "</TITLE></HEAD>");
    QCOMPARE(lines[202], QByteArray("line 200"));
    QCOMPARE(desktop.dialogs[1].offeredPath, QString()); // nothing was written before
    generate();                                           // cancelled
    QCOMPARE(desktop.dialogs[2].offeredPath, out);
}

namespace {

// What "HTML保存" makes of a body path: the page's line count, or the message it stopped with.
QString pageWithBody(const QString &bodyPath, const StoredPath &stored = {})
{
    QTemporaryDir folder;
    PageProject page;
    page.BodyUsed = ToggleOn;
    page.BodyFile = stored.bytes.isEmpty() ? StoredPath{bodyPath.toUtf8(), {}} : stored;
    FileDialog dialog(FileDialog::Mode::Save, "", "", "html");
    RecordingDesktop desktop;
    desktop.answerWith(folder.filePath("page.html"));
    guarded(desktop, [&] { GeneratePage(1, page, {}, patternOf({{1, 0}}), dialog, desktop); });
    if (!desktop.messages.isEmpty())
        return desktop.messages.join('|');
    return QString::number(splitCrlf(readBytes(folder.filePath("page.html"))).size());
}

} // namespace

// Only a regular file is a body text: anything else writes the page without a body, and a file
// past the size limit stops with a message naming it. None of them may hold the program.
void PageGeneratorTest::bodyFileKinds_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("file") << "file" << "5";
    QTest::newRow("missing") << "missing" << "4";
    QTest::newRow("folder") << "folder" << "4";
    QTest::newRow("pipe") << "pipe" << "4";
    QTest::newRow("endless device") << "/dev/zero" << "4";
    QTest::newRow("past the size limit") << "large" << "ファイルが大きすぎて読み込めません\n%1";
}

void PageGeneratorTest::bodyFileKinds()
{
    QFETCH(QString, kind);
    QFETCH(QString, outcome);
    QTemporaryDir folder;
    QString path = folder.filePath(kind);
    if (kind == "file")
        writeBytes(path, "line\r\n");
    else if (kind == "folder")
        QVERIFY(QDir().mkdir(path));
    else if (kind == "pipe")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == "large")
        QVERIFY(QFile(path).open(QIODevice::WriteOnly) && QFile(path).resize(MaxFileBytes + 1));
    else if (kind.startsWith('/'))
        path = kind;
    QCOMPARE(pageWithBody(path), outcome.arg(path));
}

// A body file chosen in this run is used as chosen; one named by a reopened project is found
// whichever of its readings the folder's name uses.
void PageGeneratorTest::bodyPathsSurviveShiftJis_data()
{
    QTest::addColumn<QString>("folderName");
    for (const char *name : {"資料〜2024", "資料～2024", "マイナス−", "平行‖", "ダッシュ—", "¢£¬",
                             "円¥マーク", "café", "한글😀", "a~‾"})
        QTest::newRow(name) << QString::fromUtf8(name);
}

void PageGeneratorTest::bodyPathsSurviveShiftJis()
{
    QFETCH(QString, folderName);
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(folderName + "/下"));
    const QString bodyPath = root.path() + '/' + folderName + "/下/本文.txt";
    writeBytes(bodyPath, sj("本文です\r\n"));
    const StoredPath chosen = StoredPath::fromChosen(bodyPath);
    QCOMPARE(pageWithBody({}, chosen), QString("5"));
    PageProject page;
    page.BodyFile = chosen;
    const StoredPath reopened = ReadProject(WriteProject(page), PageProject())->BodyFile;
    QVERIFY(reopened.chosen.isEmpty());
    QCOMPARE(reopened.onDisk(), bodyPath);
    QCOMPARE(pageWithBody({}, reopened), QString("5"));
}

// A folder holding the links "a" and "a¥a" to itself reads every "a\a" of a stored path two
// ways. Each folder is searched once for each place in the path, so a path of a thousand parts
// is looked up as fast as a short one. A path that passes more links than the system follows
// names nothing, whichever way it is read.
void PageGeneratorTest::selfLinkedFolder_data()
{
    QTest::addColumn<int>("parts");
    QTest::addColumn<bool>("fileAtTheEnd");
    QTest::addColumn<bool>("found");
    for (const int parts : {20, 30, 200, 1000})
        QTest::addRow("%d parts naming nothing", parts) << parts << false << false;
    for (const int parts : {20, 30})
        QTest::addRow("%d parts naming a file", parts) << parts << true << true;
    for (const int parts : {200, 1000})
        QTest::addRow("%d parts naming a file past the links", parts) << parts << true << false;
}

void PageGeneratorTest::selfLinkedFolder()
{
    QFETCH(int, parts);
    QFETCH(bool, fileAtTheEnd);
    QFETCH(bool, found);
    QTemporaryDir folder;
    for (const char *name : {"a", "a¥a"})
        QVERIFY(QFile::link(".", folder.filePath(QString::fromUtf8(name))));
    if (fileAtTheEnd)
        writeBytes(folder.filePath("資料〜.txt"), "");
    // The stored "～" is not the "〜" on disk, so the plain reading names nothing.
    const char *last = fileAtTheEnd ? "資料～.txt" : "missing";
    const QByteArray stored = QFile::encodeName(folder.path()) + '/'
                              + QByteArray("a\\").repeated(parts - 1) + sj(last);
    const QString through = folder.path() + QString("/a").repeated(parts - 1) + '/';
    QCOMPARE(resolveStoredPath(stored), through + (found ? "資料〜.txt" : last));
}

QTEST_GUILESS_MAIN(PageGeneratorTest)
#include "tst_page_generator.moc"