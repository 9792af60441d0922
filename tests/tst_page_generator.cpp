#include "generator/body_text.h"
#include "generator/page_generator.h"
#include "model/io_error.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "ui/error_guard.h"
#include "ui/file_dialog.h"
#include "ui/page_commands.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QByteArray head = "<HTML><HEAD><TITLE></TITLE></HEAD>\r\n<BODY>\r\n<!-- mpkg ver2.00 -->\r\n";
const QByteArray tail = "</BODY></HTML>\r\n";

Pattern patternOf(const QList<QPair<int, int>> &parts)
{
    Pattern pattern;
    for (const auto &[code, slot] : parts)
        pattern.Parts[static_cast<std::size_t>(pattern.PartCount++)] = {code, slot};
    return pattern;
}

// The lines a page writes for its parts, without the head and the closing line.
QList<QByteArray> partLines(const PageProject &page, const QList<QPair<int, int>> &parts,
                            const QList<QByteArray> &body = {})
{
    const Pattern pattern = patternOf(parts);
    const QList<QByteArray> lines =
        splitCrlf(GeneratePageBytes(page, pattern, pattern.PartCount, body));
    return lines.mid(3, lines.size() - 4);
}

LinkSlot link(const QByteArray &caption, const QByteArray &target, Toggle mail, Toggle centred,
              Toggle accessKey)
{
    return {caption, target, ToggleOn, mail, centred, accessKey};
}

} // namespace

class PageGeneratorTest : public QObject {
    Q_OBJECT

private slots:
    void workedExample();
    void emptyPatternWritesFourLines();
    void colourSupportOffWritesNoColour();
    void images_data();
    void images();
    void links_data();
    void links();
    void accessKeysRunOneToZeroAndAgain();
    void separators_data();
    void separators();
    void unusedAndOutOfRangeSlotsWriteNothing();
    void sameSlotTwiceIsWrittenTwice();
    void bodyLines_data();
    void bodyLines();
    void bodyNotUsedWritesNoLines();
    void generatePageAsksAndWrites();
    void generatePageFailures();
};

void PageGeneratorTest::workedExample()
{
    PageProject page;
    page.Title = "Shop";
    page.ColorSupport = ToggleOn;
    page.Images[0] = {"top.gif", "", ToggleOn, ToggleOff, ToggleOff};
    page.Texts[0] = {"Welcome", ToggleOn};
    page.Links[0] = link("Menu", "menu.html", ToggleOff, ToggleOff, ToggleOn);
    page.Links[1] = link("Map", "map.html", ToggleOff, ToggleOn, ToggleOn);
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
}

void PageGeneratorTest::emptyPatternWritesFourLines()
{
    PageProject page;
    page.Texts[0] = {"x", ToggleOn};
    QCOMPARE(GeneratePageBytes(page, Pattern(), 0, {}), head + tail);
}

void PageGeneratorTest::colourSupportOffWritesNoColour()
{
    PageProject page;
    page.BackgroundColor = "#123456";
    page.SeparatorStyle = 9;
    const QByteArray bytes = GeneratePageBytes(page, patternOf({{6, 0}}), 1, {});
    QCOMPARE(bytes, head + "<CENTER><FONT COLOR=\"#000000\">" + sj("○○○○○○○○")
                        + "</FONT></CENTER>\r\n" + tail);
}

void PageGeneratorTest::images_data()
{
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("linked");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("left, linked") << 1 << 1 << QByteArray("<A HREF=\"a.html\"><IMG SRC=\"top.gif\"></A><BR>");
    QTest::newRow("left") << 1 << 2 << QByteArray("<IMG SRC=\"top.gif\"><BR>");
    QTest::newRow("centred, linked")
        << 2 << 1 << QByteArray("<CENTER><A HREF=\"a.html\"><IMG SRC=\"top.gif\"></A></CENTER><BR>");
    QTest::newRow("centred") << 2 << 2 << QByteArray("<CENTER><IMG SRC=\"top.gif\"></CENTER><BR>");
    QTest::newRow("0 counts as off") << 0 << 0 << QByteArray("<CENTER><IMG SRC=\"top.gif\"></CENTER><BR>");
}

void PageGeneratorTest::images()
{
    QFETCH(int, left);
    QFETCH(int, linked);
    QFETCH(QByteArray, line);
    PageProject page;
    page.Images[1] = {"top.gif", "a.html", ToggleOn, Toggle(linked), Toggle(left)};
    QCOMPARE(partLines(page, {{2, 2}}), QList<QByteArray>{line});
}

void PageGeneratorTest::links_data()
{
    QTest::addColumn<int>("mail");
    QTest::addColumn<int>("centred");
    QTest::addColumn<int>("accessKey");
    QTest::addColumn<QByteArray>("target");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("plain") << 2 << 2 << 2 << QByteArray("index.html")
                           << QByteArray("<A HREF=\"index.html\">TOP</A><BR>");
    QTest::newRow("centred with access key")
        << 2 << 1 << 1 << QByteArray("index.html")
        << QByteArray("<CENTER>&#63879;<A HREF=\"index.html\" ACCESSKEY=\"1\">TOP</A></CENTER><BR>");
    QTest::newRow("mail with access key")
        << 1 << 2 << 1 << QByteArray("a@b.jp")
        << QByteArray("&#63879;&#63863;<A HREF=\"mailto:a@b.jp\" ACCESSKEY=\"1\">TOP</A><BR>");
    QTest::newRow("centred mail") << 1 << 1 << 2 << QByteArray("a@b.jp")
                                  << QByteArray("<CENTER>&#63863;<A HREF=\"mailto:a@b.jp\">TOP</A></CENTER><BR>");
    QTest::newRow("empty target") << 2 << 2 << 2 << QByteArray()
                                  << QByteArray("<A HREF=\"\">TOP</A><BR>");
    QTest::newRow("empty mail address") << 1 << 2 << 2 << QByteArray()
                                        << QByteArray("&#63863;<A HREF=\"mailto:\">TOP</A><BR>");
    QTest::newRow("markup goes out unescaped")
        << 2 << 2 << 2 << QByteArray("a.html?x=1&y=<2>")
        << QByteArray("<A HREF=\"a.html?x=1&y=<2>\">TOP</A><BR>");
}

void PageGeneratorTest::links()
{
    QFETCH(int, mail);
    QFETCH(int, centred);
    QFETCH(int, accessKey);
    QFETCH(QByteArray, target);
    QFETCH(QByteArray, line);
    PageProject page;
    page.Links[9] = link("TOP", target, Toggle(mail), Toggle(centred), Toggle(accessKey));
    QCOMPARE(partLines(page, {{4, 10}}), QList<QByteArray>{line});
}

void PageGeneratorTest::accessKeysRunOneToZeroAndAgain()
{
    PageProject page;
    page.Links[0] = link("K", "k.html", ToggleOff, ToggleOff, ToggleOn);
    page.Links[1] = link("N", "n.html", ToggleOff, ToggleOff, ToggleOff);
    QList<QPair<int, int>> parts;
    for (int k = 0; k < 11; ++k)
        parts << qMakePair(4, 1) << qMakePair(4, 2);
    const QList<QByteArray> lines = partLines(page, parts);
    QCOMPARE(lines.size(), 22);
    QCOMPARE(lines[18], QByteArray("&#63888;<A HREF=\"k.html\" ACCESSKEY=\"0\">K</A><BR>"));
    QCOMPARE(lines[19], QByteArray("<A HREF=\"n.html\">N</A><BR>"));
    QCOMPARE(lines[20], QByteArray("&#63879;<A HREF=\"k.html\" ACCESSKEY=\"1\">K</A><BR>"));
    QCOMPARE(lines[8], QByteArray("&#63883;<A HREF=\"k.html\" ACCESSKEY=\"5\">K</A><BR>"));
}

void PageGeneratorTest::separators_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QByteArray>("decoration");
    QTest::newRow("2") << 2 << sj("☆☆☆☆☆☆☆☆");
    QTest::newRow("3") << 3 << QByteArray("------------");
    QTest::newRow("4") << 4 << sj("■■■■■■■■");
    QTest::newRow("5") << 5 << sj("■□■□■□■");
    QTest::newRow("6") << 6 << sj("△▽△▽△▽△");
    QTest::newRow("7") << 7 << sj("△△△△△△△△");
    QTest::newRow("8") << 8 << sj("▽▽▽▽▽▽▽▽");
    QTest::newRow("9") << 9 << sj("○○○○○○○○");
    QTest::newRow("10") << 10 << sj("□□□□");
}

void PageGeneratorTest::separators()
{
    QFETCH(int, style);
    QFETCH(QByteArray, decoration);
    PageProject page;
    page.ColorSupport = ToggleOn;
    page.TextColor = "#FF0000";
    page.SeparatorColor = "#00FF00";
    page.SeparatorStyle = std::uint8_t(style);
    QCOMPARE(partLines(page, {{6, 3}}),
             QList<QByteArray>{"<CENTER><FONT COLOR=\"#000000\">" + decoration
                               + "</FONT></CENTER>"});
}

void PageGeneratorTest::unusedAndOutOfRangeSlotsWriteNothing()
{
    PageProject page;
    for (ImageSlot &image : page.Images)
        image = {"i.gif", "", ToggleOn, ToggleOff, ToggleOn};
    page.Texts[0] = {"unused", ToggleOff};
    page.Links[0] = link("L", "l.html", ToggleOff, ToggleOff, ToggleOn);
    page.Links[0].LinkUsed = 0;
    page.Directs[2] = {"<X>", ToggleOn};
    page.SeparatorStyle = 11;
    QCOMPARE(partLines(page, {{2, 0}, {2, 3}, {3, 1}, {3, 6}, {4, 1}, {4, 11}, {5, 4}, {5, -1},
                              {6, 0}, {0, 0}, {7, 1}}),
             QList<QByteArray>{});
    // An unused access-key link does not take a key.
    page.Links[1] = link("M", "m.html", ToggleOff, ToggleOff, ToggleOn);
    QCOMPARE(partLines(page, {{4, 1}, {4, 2}}),
             QList<QByteArray>{"&#63879;<A HREF=\"m.html\" ACCESSKEY=\"1\">M</A><BR>"});
}

void PageGeneratorTest::sameSlotTwiceIsWrittenTwice()
{
    PageProject page;
    page.Images[0] = {"a.gif", "", ToggleOn, ToggleOff, ToggleOn};
    page.Texts[4] = {sj("　空白も　そのまま "), ToggleOn};
    QCOMPARE(partLines(page, {{2, 1}, {3, 5}, {2, 1}}),
             (QList<QByteArray>{"<IMG SRC=\"a.gif\"><BR>",
                                "<p>" + sj("　空白も　そのまま ") + "</P><BR>",
                                "<IMG SRC=\"a.gif\"><BR>"}));
}

void PageGeneratorTest::bodyLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QByteArray>>("lines");
    QTest::newRow("marking") << crlfLines({sj("　はじめに"), "", sj("はじめに"), " indented", "\t tab"})
                             << QList<QByteArray>{"<BR>" + sj("　はじめに"), "<BR>", sj("はじめに"),
                                                  "<BR> indented", "\t tab"};
    QTest::newRow("lone LF and last line without end")
        << QByteArray("a\nb") << QList<QByteArray>{"a", "b"};
    QTest::newRow("trail byte 40 of another character is no blank")
        << sj("ア") + "@x" << QList<QByteArray>{sj("ア") + "@x"};
    QTest::newRow("empty file") << QByteArray() << QList<QByteArray>{};
}

void PageGeneratorTest::bodyLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<QByteArray>, lines);
    QCOMPARE(MarkBodyLines(file), lines);
}

void PageGeneratorTest::bodyNotUsedWritesNoLines()
{
    PageProject page;
    QCOMPARE(partLines(page, {{1, 0}}, {"earlier"}), QList<QByteArray>{});
    page.BodyUsed = ToggleOn;
    QCOMPARE(partLines(page, {{1, 9}}, {"a", "b"}), (QList<QByteArray>{"a", "b"}));
}

void PageGeneratorTest::generatePageAsksAndWrites()
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
    page.BodyFile = sj(qPrintable(bodyPath));
    const Pattern pattern = patternOf({{1, 0}});
    GeneratorState generator;
    FileDialog dialog(FileDialog::Mode::Save, "HTMLファイル(*.html)|*.html", "html");
    RecordingDesktop desktop;

    GeneratePage(1, page, pattern, generator, dialog, desktop); // cancelled
    QCOMPARE(desktop.dialogs.size(), 1);
    QCOMPARE(generator.BodyLines.size(), 200); // read before the dialog, every line kept

    const QString out = folder.filePath(QStringLiteral("index.html"));
    desktop.answerWith(out);
    GeneratePage(1, page, pattern, generator, dialog, desktop);
    const QList<QByteArray> lines = splitCrlf(readBytes(out));
    QCOMPARE(lines.size(), 204);
    QCOMPARE(lines[0], "<HTML><HEAD><TITLE>" + sj("お店") + "</TITLE></HEAD>");
    QCOMPARE(lines[202], QByteArray("line 200"));
    QCOMPARE(dialog.FileName, out);

    desktop.answerWith(out); // the body file gone: no lines, no message
    QFile::remove(bodyPath);
    GeneratePage(1, page, pattern, generator, dialog, desktop);
    QCOMPARE(splitCrlf(readBytes(out)).size(), 4);
    QCOMPARE(desktop.dialogs.last().offeredName, out);
    QVERIFY(desktop.messages.isEmpty());
}

void PageGeneratorTest::generatePageFailures()
{
    QTemporaryDir folder;
    const QString out = folder.filePath(QStringLiteral("index.html"));
    writeBytes(out, "old page\r\n");
    PageProject page;
    GeneratorState generator;
    FileDialog dialog(FileDialog::Mode::Save, "", "html");
    RecordingDesktop desktop;

    // A body file that exists but cannot be read stops before the dialog.
    page.BodyUsed = ToggleOn;
    page.BodyFile = folder.path().toLocal8Bit();
    guarded(desktop, [&] { GeneratePage(0, page, Pattern(), generator, dialog, desktop); });
    QCOMPARE(desktop.messages, QStringList{"ファイルへのアクセスが拒否されました"});
    QCOMPARE(desktop.dialogs.size(), 0);

    // A folder that cannot be written keeps the old page.
    page.BodyUsed = ToggleOff;
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    {
        WithoutAccessOverride asUser;
        desktop.answerWith(out);
        guarded(desktop, [&] { GeneratePage(0, page, Pattern(), generator, dialog, desktop); });
    }
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner
                                                     | QFile::ExeOwner));
    QCOMPARE(desktop.messages.size(), 2);
    QCOMPARE(desktop.messages.last(), QStringLiteral("ファイルへのアクセスが拒否されました"));
    QCOMPARE(readBytes(out), QByteArray("old page\r\n"));
}

QTEST_GUILESS_MAIN(PageGeneratorTest)
#include "tst_page_generator.moc"
