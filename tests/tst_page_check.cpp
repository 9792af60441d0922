// For each kind of finding, a page that has it and a page that does not, from the facts about
// the handsets: HTML versions, page limits, image formats, screens and pictograms.

#include "check/page_check.h"
#include "imode/handsets.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "support/checked_page.h"
#include "support/test_files.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

struct Case {
    const char *name;
    Setup with;
    Setup without;
    const char *handset;
    const char *finding; // how the finding begins
    FindingKind kind;
    const char *subject; // what the finding names, empty for nothing
};

const QList<Case> &cases()
{
    static const QList<Case> all{
        {"page past the limit", text(QByteArray(5000, 'a')), text(QByteArray(3000, 'a')), "501i",
         "エラー: ページ: ページが大きすぎます（画像を含めて 5.1 KB、501iの上限は 5 KB）",
         FindingKind::PageTooLarge, ""},
        {"images count towards the limit", image(gifHeader(40) + QByteArray(5000, 'x')),
         image(gifHeader(40)), "D501i", "エラー: ページ: ページが大きすぎます",
         FindingKind::PageTooLarge, ""},
        {"picture sizes not known yet",
         [](CheckedPage &page) {
             image(gifHeader(40))(page);
             page.folderKnown = false;
         },
         [](CheckedPage &page) { page.folderKnown = false; }, "505i", "お知らせ: ページ: 画像の大きさは、HTMLを保存するフォルダが",
         FindingKind::ImageSizesNotKnownYet, ""},
        {"tag of a later version", direct("<MARQUEE>new</MARQUEE>"), direct("<BLINK>new</BLINK>"),
         "501i", "警告: 直接入力1: 「<MARQUEE>」はHTML 2.0からのタグで、501i（HTML 1.0）",
         FindingKind::TagNotInVersion, "MARQUEE"},
        {"attribute of a later version", direct("<HR COLOR=\"red\">"), direct("<HR SIZE=\"2\">"),
         "503i", "警告: 直接入力1: 「<HR COLOR>」はHTML 4.0からで",
         FindingKind::AttributeNotInVersion, "COLOR"},
        {"value of a later version", direct("<IMG SRC=\"http://a/b.gif\" ALIGN=\"center\">"),
         direct("<IMG SRC=\"http://a/b.gif\" ALIGN=\"top\">"), "503i",
         "警告: 直接入力1: 「<IMG ALIGN=CENTER>」はHTML 4.0から",
         FindingKind::AttributeNotInVersion, "ALIGN=CENTER"},
        {"colours of the page", [](CheckedPage &page) { page.project.ColorSupport = ToggleOn; },
         [](CheckedPage &) {}, "501i", "警告: 基本設定: 「<BODY BGCOLOR LINK TEXT>」はHTML 2.0から",
         FindingKind::AttributeNotInVersion, "BGCOLOR LINK TEXT"},
        {"misspelt tag", direct("<CENTRE>a</CENTRE>"), direct("<CENTER>a</CENTER>"), "505i",
         "警告: 直接入力1: 「<CENTRE>」というタグはありません。「<CENTER>」のつづり違い",
         FindingKind::TagMisspelt, "CENTRE"},
        {"unknown tag", direct("<FOOBARBAZ>a"), direct("<BR>a"), "505i",
         "警告: 直接入力1: 「<FOOBARBAZ>」というタグは携帯にはありません",
         FindingKind::TagUnknown, "FOOBARBAZ"},
        {"HTML's tag that i-mode lacks", direct("<B>a</B>"), direct("<BR>a"), "505i",
         "警告: 直接入力1: 「<B>」はHTMLのタグですが、i-mode のHTMLにはありません",
         FindingKind::TagNotInImode, "B"},
        {"unknown attribute", text("<A HREF=\"a.html\" STYLE=\"x\">a</A>"),
         text("<A HREF=\"a.html\">a</A>"), "505i", "警告: テキスト 1: 「<A>」に「STYLE」という属性",
         FindingKind::AttributeUnknown, "STYLE"},
        {"closed in the wrong order", direct("<CENTER><BLINK>a</CENTER></BLINK>"),
         direct("<CENTER><BLINK>a</BLINK></CENTER>"), "505i",
         "警告: 直接入力1: 「</CENTER>」の前に「<BLINK>」を閉じてください",
         FindingKind::EndTagOutOfOrder, "CENTER"},
        {"end tag without a start", direct("a</BLINK>"), direct("<BLINK>a</BLINK>"), "505i",
         "警告: 直接入力1: 「</BLINK>」に対応する「<BLINK>」がありません",
         FindingKind::EndTagWithoutStart, "BLINK"},
        {"left open", text("<BLINK>a"), text("<BLINK>a</BLINK>"), "505i",
         "警告: テキスト 1: 「<BLINK>」が閉じていません",
         FindingKind::TagNotClosed, "BLINK"},
        {"body lines are one text", body({"<CENTER>a", "b"}), body({"<CENTER>a", "b", "c</CENTER>"}),
         "505i", "警告: 本文 1行目: 「<CENTER>」が閉じていません",
         FindingKind::TagNotClosed, "CENTER"},
        {"tag without its end", text("<BLINK>a</BLINK"), text("<BLINK>a</BLINK>"), "505i",
         "警告: テキスト 1: 「</BLINK」が「>」で閉じていません",
         FindingKind::TagNotEnded, "BLINK"},
        {"no Shift-JIS", text(sj("日本") + "\x81\xff"), text(sj("日本")), "505i",
         "エラー: テキスト 1: 「日本」の後に、Shift-JISでない文字があり",
         FindingKind::NotShiftJis, ""},
        {"reference read as a Shift-JIS code", text("&#169;"), text("&#63647;"), "505i",
         "警告: テキスト 1: 「&#169;」は携帯では「ｩ」と表示されます",
         FindingKind::ReferenceReadAsShiftJis, "&#169;"},
        {"reference to no character", text("&#12354;"), text("&#38;"), "505i",
         "警告: テキスト 1: 「&#12354;」は携帯では表示されません",
         FindingKind::ReferenceReadAsShiftJis, "&#12354;"},
        {"extended pictogram as a reference", text("&#63921;"), text("\xF9\xB1"), "505i",
         "エラー: テキスト 1: 拡張絵文字「iアプリ」は「&#63921;」の形では",
         FindingKind::ExtendedPictogramAsReference, "&#63921;"},
        {"extended pictogram before 4.0", text("\xF9\xB1"), text("\xF8\x9F"), "503i",
         "警告: テキスト 1: 拡張絵文字はHTML 4.0の機種からで",
         FindingKind::ExtendedPictogramNotShown, "\uE70C"}, // as code page 932 reads 0xF9B1
        {"basic pictogram's own bytes on a 501i", text("\xF8\x9F"), text("&#63647;"), "501i",
         "警告: テキスト 1: 絵文字「晴れ」がそのまま入っていて、501i（HTML 1.0）では文字化けします。"
         "絵文字パレットから入れ直すか、「&#63647;」と書いてください。",
         FindingKind::RawPictogramBefore20, "\uE63E"},
        {"hexadecimal reference before 4.0", text("&#xE63E;"), text("&#63647;"), "503i",
         "警告: テキスト 1: 「&#xE63E;」の書き方はHTML 4.0から",
         FindingKind::HexReferenceNotInVersion, "&#xE63E;"},
        {"vendor characters", text(sj("①")), text(sj("○")), "505i",
         "お知らせ: テキスト 1: ①やⅠのような機種依存文字",
         FindingKind::VendorCharacter, "①"},
        {"picture from elsewhere", direct("<IMG SRC=\"http://a/b.gif\">"),
         direct("<IMG SRC=\"b.gif\">"), "505i", "お知らせ: 直接入力1: 「http://a/b.gif」はほかの場所の画像",
         FindingKind::ImageElsewhere, "http://a/b.gif"},
        {"missing picture", image({}), image(gifHeader(40)), "505i",
         "エラー: 画像1: 画像ファイル「top.gif」が見つかりません",
         FindingKind::ImageMissing, "top.gif"},
        {"JPEG before the 503i", image(encoded("JPG")), image(gifHeader(40)), "502i",
         "警告: 画像1: 「top.gif」はJPEGで、502i（HTML 2.0）では表示されません",
         FindingKind::JpegNotShown, "top.gif"},
        {"PNG", image(encoded("PNG")), image(encoded("JPG")), "505i", "警告: 画像1: 「top.gif」はPNG",
         FindingKind::PngNotShown, "top.gif"},
        {"BMP", image(encoded("BMP")), image(gifHeader(40)), "505i",
         "警告: 画像1: 「top.gif」は携帯で表示できる形式ではありません",
         FindingKind::ImageFormatNotShown, "top.gif"},
        {"picture named in Japanese", direct(sj("<IMG SRC=\"写真.gif\">")),
         direct("<IMG SRC=\"photo.gif\">"), "505i",
         "警告: 直接入力1: 「写真.gif」のファイル名に半角英数字以外の文字があります",
         FindingKind::ImageNameNotAscii, "写真.gif"},
        {"picture wider than the screen", image(gifHeader(97)), image(gifHeader(96)), "D501i",
         "警告: 画像1: 「top.gif」の幅（97ピクセル）がD501iの画面の幅（96ピクセル）より広く",
         FindingKind::ImageTooWide, "top.gif"},
        {"link without a target", link("  ", ToggleOff), link("a.html", ToggleOff), "505i",
         "エラー: リンク4: リンク先がありません",
         FindingKind::LinkWithoutTarget, ""},
        {"mail link to no address", link("shop", ToggleOn), link("shop@example.jp", ToggleOn), "505i",
         "警告: リンク4: 「shop」はメールアドレスの形ではありません",
         FindingKind::MailAddressMalformed, "shop"},
        {"eleven access keys", accessKeyLinks(11), accessKeyLinks(10), "505i",
         "警告: リンク1: アクセスキーは1ページに10個まで",
         FindingKind::TooManyAccessKeys, ""},
        {"mail link written with mailto:", link("mailto:shop@example.jp", ToggleOn),
         link("shop@example.jp", ToggleOn), "505i", "エラー: リンク4: 「mailto:」はいりません",
         FindingKind::MailToTwice, "mailto:shop@example.jp"},
        {"link to mailto: alone", link("mailto:", ToggleOff), link("mailto:shop@example.jp", ToggleOff),
         "505i", "エラー: リンク4: リンク先「mailto:」にメールアドレスがありません",
         FindingKind::MailAddressMissing, "mailto:"},
        {"picture link without a target", linkedImage(" "), linkedImage("top.html"), "505i",
         "エラー: 画像1: 画像のリンク先がありません", FindingKind::LinkWithoutTarget, ""},
        {"access keys of the direct inputs count", withDirect(accessKeyLinks(10), "ACCESSKEY=\"5\""),
         accessKeyLinks(10), "505i", "警告: 直接入力1: アクセスキーは1ページに10個まで",
         FindingKind::TooManyAccessKeys, ""},
        {"access key twice", withDirect(accessKeyLinks(1), "ACCESSKEY=\"1\""),
         withDirect(accessKeyLinks(1), "ACCESSKEY=\"2\""), "505i",
         "警告: 直接入力1: アクセスキー「1」は、このページでもう使われています",
         FindingKind::AccessKeyTwice, "1"},
        {"filled but unused", [](CheckedPage &page) { page.project.Texts[0] = {"Hi", ToggleOff}; },
         [](CheckedPage &page) { page.project.Texts[0] = {"", ToggleOff}; }, "505i",
         "お知らせ: テキスト 1: 中身がありますが、「使用しない」に",
         FindingKind::ItemUnused, ""},
        // Filled in a pattern that has no place for it, and in one that has.
        {"picture the pattern has no place for",
         [](CheckedPage &page) { page.project.Images[1] = {"shop.gif", {}, ToggleOn, ToggleOff, ToggleOff}; },
         [](CheckedPage &page) {
             page.project.Images[1] = {"shop.gif", {}, ToggleOn, ToggleOff, ToggleOff};
             page.parts = {{3, 1}, {2, 2}};
             page.images.append({QStringLiteral("shop.gif"), gifHeader(40)});
         },
         "505i", "警告: 画像2: 今の型（", FindingKind::ItemNotPlaced, ""},
        {"text the pattern has no place for", [](CheckedPage &page) { page.project.Texts[2] = {"Hi", ToggleOn}; },
         [](CheckedPage &page) {
             page.project.Texts[2] = {"Hi", ToggleOn};
             page.parts = {{3, 1}, {3, 3}};
         },
         "505i", "警告: テキスト 3: 今の型（", FindingKind::ItemNotPlaced, ""},
        {"link the pattern has no place for",
         [](CheckedPage &page) { page.project.Links[6] = {"Map", "map.html", ToggleOn, ToggleOff, ToggleOff, ToggleOff}; },
         [](CheckedPage &page) { page.project.Links[6] = {"Map", "map.html", ToggleOff, ToggleOff, ToggleOff, ToggleOff}; },
         "505i", "警告: リンク7: 今の型（", FindingKind::ItemNotPlaced, ""},
        {"direct input the pattern has no place for", [](CheckedPage &page) { page.project.Directs[1] = {"<HR>", ToggleOn}; },
         [](CheckedPage &page) {
             page.project.Directs[1] = {"<HR>", ToggleOn};
             page.parts = {{3, 1}, {5, 2}};
         },
         "505i", "警告: 直接入力2: 今の型（", FindingKind::ItemNotPlaced, ""},
        {"body the pattern has no place for",
         [](CheckedPage &page) {
             body({"a"})(page);
             page.parts = {{3, 1}};
         },
         body({"a"}), "505i", "警告: 本文: 今の型（", FindingKind::ItemNotPlaced, ""},
        {"body file missing", body({}, BodyFileReading::State::Missing), body({"a"}), "505i",
         "警告: 本文: 本文のファイル「body.txt」が見つかりません",
         FindingKind::BodyFileMissing, "body.txt"},
        {"body file empty", body({}), body({"a"}), "505i", "警告: 本文: 本文のファイルが空です",
         FindingKind::BodyFileEmpty, ""},
        {"body lines run together", body({"Open daily", "Closed on Mondays"}),
         body({"Open daily", "<BR> Closed on Mondays"}), "505i",
         "お知らせ: 本文: 本文の2行は、携帯では続けて表示されます", FindingKind::BodyLinesRunTogether,
         ""},
    };
    return all;
}

} // namespace

class PageCheckTest : public QObject {
    Q_OBJECT

private slots:
    void findings_data();
    void findings();
    void bodyFile_data();
    void bodyFile();
    void sizeAgainstLimit_data();
    void sizeAgainstLimit();
    void uncountedPictures();
    void oneFindingPerCause_data();
    void oneFindingPerCause();
    void handsets_data();
    void handsets();
    void pictureFolder_data();
    void pictureFolder();
};

void PageCheckTest::findings_data()
{
    QTest::addColumn<int>("index");
    for (qsizetype index = 0; index < cases().size(); ++index)
        QTest::newRow(cases()[index].name) << int(index);
}

void PageCheckTest::findings()
{
    QFETCH(int, index);
    const Case &c = cases()[index];
    const QString expected = QString::fromUtf8(c.finding);
    const auto said = [&expected](const Finding &finding) { return line(finding).startsWith(expected); };
    const QList<Finding> with = check(c.with, c.handset);
    const auto found = std::find_if(with.begin(), with.end(), said);
    QVERIFY2(found != with.end(), qPrintable(lines(with).join('\n')));
    QCOMPARE(found->kind, c.kind);
    QCOMPARE(found->subject, QString::fromUtf8(c.subject));
    const QList<Finding> without = check(c.without, c.handset);
    QVERIFY2(std::none_of(without.begin(), without.end(), said), qPrintable(lines(without).join('\n')));
    // Only the page past its limit is an error of the page as a whole.
    QCOMPARE(lines(without).filter(QStringLiteral("エラー: ページ")), QStringList());
}

// A size is said in kilobytes, and in bytes where a tenth of a kilobyte cannot tell it from
// the limit.
void PageCheckTest::sizeAgainstLimit_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<QString>("said");
    QTest::newRow("well under") << qint64(3240) << qint64(10000) << "3.2 / 10 KB";
    QTest::newRow("well over") << qint64(5100) << qint64(5000) << "5.1 / 5 KB";
    QTest::newRow("at the limit") << qint64(5000) << qint64(5000) << "5.0 / 5 KB";
    QTest::newRow("a byte over") << qint64(5001) << qint64(5000) << "5,001 / 5,000 バイト";
    QTest::newRow("just under") << qint64(4960) << qint64(5000) << "4,960 / 5,000 バイト";
}

void PageCheckTest::sizeAgainstLimit()
{
    QFETCH(qint64, bytes);
    QFETCH(qint64, limit);
    QFETCH(QString, said);
    const SizeTexts texts = SizeAgainstLimit(bytes, limit);
    QCOMPARE(QStringLiteral("%1 / %2 %3").arg(texts.size, texts.limit, texts.unit), said);
}

// Pictures of the site that were not found, or not looked for yet, are counted as such.
void PageCheckTest::uncountedPictures()
{
    PageProject page;
    page.Images[0] = {"top.gif", {}, ToggleOn, ToggleOff, ToggleOff};
    page.Directs[0] = {"<IMG SRC=\"b.gif\"><IMG SRC=\"top.gif\"><IMG SRC=\"http://a/c.gif\">", ToggleOn};
    Pattern pattern;
    pattern.Parts[0] = {2, 1};
    pattern.Parts[1] = {5, 1};
    pattern.PartCount = 2;
    QTemporaryDir folder;
    writeBytes(folder.filePath("top.gif"), gifHeader(40));
    PageFiles files;
    const auto uncounted = [&](const ImageLookup &images) {
        return CheckPage({GeneratePageLines(page, pattern, 2, {}), page, pattern, 2, {}, images,
                          *FindHandset("505i")})
            .imagesNotCounted;
    };
    QCOMPARE(uncounted(ImageLookup()), 2);
    QCOMPARE(uncounted(ImagesInFolder(folder.path(), files)), 1);
}

Setup directs(const QByteArray &first, const QByteArray &second)
{
    return [first, second](CheckedPage &page) {
        page.project.Directs[0] = {first, ToggleOn};
        page.project.Directs[1] = {second, ToggleOn};
        page.parts = {{5, 1}, {5, 2}};
    };
}

// Every finding of a page with one mistake, or none: tags are balanced over the whole page, a
// mistake is said once where it is made, and a tag the handset drops takes its attributes.
void PageCheckTest::oneFindingPerCause_data()
{
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QStringList>("findings"); // how each begins
    QTest::newRow("a block across two items") << directs("<CENTER>a", "b</CENTER>") << "505i"
                                              << QStringList();
    QTest::newRow("closed in the wrong order")
        << direct("<CENTER><BLINK>a</CENTER></BLINK>") << "505i"
        << QStringList{"警告: 直接入力1: 「</CENTER>」の前に「<BLINK>」を閉じてください"};
    QTest::newRow("a dropped tag with attributes")
        << direct("<MARQUEE BEHAVIOR=\"alternate\" LOOP=\"2\">a</MARQUEE>") << "501i"
        << QStringList{"警告: 直接入力1: 「<MARQUEE>」はHTML 2.0からのタグ"};
    QTest::newRow("HTML's table") << direct("<TABLE><TR><TD>a</TD></TR></TABLE>") << "505i"
                                  << QStringList{"警告: 直接入力1: 「<TABLE>」はHTMLのタグですが",
                                                 "警告: 直接入力1: 「<TR>」はHTMLのタグですが",
                                                 "警告: 直接入力1: 「<TD>」はHTMLのタグですが"};
    QTest::newRow("a tag without its end") << direct("<CENTE") << "505i"
                                           << QStringList{"警告: 直接入力1: 「<CENTE」が「>」で閉じていません"};
    QTest::newRow("the page's colours before 2.0")
        << Setup([](CheckedPage &page) { page.project.ColorSupport = ToggleOn; }) << "501i"
        << QStringList{"警告: 基本設定: 「<BODY BGCOLOR LINK TEXT>」はHTML 2.0から"};
    QTest::newRow("a link's tag without its end")
        << direct(sj("<A HREF=\"shop.html\" お店</A>")) << "505i"
        << QStringList{"警告: 直接入力1: 「<A」が「>」で閉じていません"};
    QTest::newRow("an attribute in Japanese")
        << direct(sj("<A HREF=\"a.html\" 名前=\"x\">a</A>")) << "505i"
        << QStringList{"警告: 直接入力1: 「<A>」に「名前」という属性はありません"};
}

void PageCheckTest::oneFindingPerCause()
{
    QFETCH(Setup, setup);
    QFETCH(QString, handset);
    QFETCH(QStringList, findings);
    const QStringList found = lines(check(setup, handset));
    QCOMPARE(found.size(), findings.size());
    for (qsizetype index = 0; index < found.size(); ++index)
        QVERIFY2(found[index].startsWith(findings[index]), qPrintable(found.join('\n')));
}

enum class OnDisk { File, Missing, Folder, Locked };

// The body's file as the page made now finds it on disk, and what the check says of it.
void PageCheckTest::bodyFile_data()
{
    QTest::addColumn<OnDisk>("onDisk");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("findings"); // "%1" stands for the file's path
    QTest::addColumn<QList<FindingKind>>("kinds");
    QTest::addColumn<QStringList>("subjects");
    using Kind = FindingKind;
    const QString utf8 = QStringLiteral("お知らせ: 本文: 本文のファイルはUTF-8として読みました。");
    const QString unreadable =
        QStringLiteral("警告: 本文: 本文のファイル「%1」が読めません（ファイルへのアクセスが"
                       "拒否されました）。");
    QTest::newRow("ASCII") << OnDisk::File << QByteArray("Welcome\r\n") << QStringList()
                           << QList<Kind>() << QStringList();
    QTest::newRow("Shift-JIS") << OnDisk::File << sj("ようこそ\r\n")
                               << QStringList{"お知らせ: 本文: 本文のファイルはシフトJISとして読みました。"}
                               << QList<Kind>{Kind::BodyEncodingRead} << QStringList{"シフトJIS"};
    QTest::newRow("UTF-8") << OnDisk::File << QString("ようこそ\r\n").toUtf8() << QStringList{utf8}
                           << QList<Kind>{Kind::BodyEncodingRead} << QStringList{"UTF-8"};
    QTest::newRow("UTF-8 with stray bytes")
        << OnDisk::File << QString("ようこそ、モペコへ").toUtf8() + "\xFF\xFE\r\n"
        << QStringList{"警告: 本文: 本文のファイルに、UTF-8の文字にならないバイトが2個あり、「〓」に"
                       "置き換えました。",
                       utf8}
        << QList<Kind>{Kind::BodyStrayBytes, Kind::BodyEncodingRead} << QStringList{"", "UTF-8"};
    QTest::newRow("empty") << OnDisk::File << QByteArray()
                           << QStringList{"警告: 本文: 本文のファイルが空です。"}
                           << QList<Kind>{Kind::BodyFileEmpty} << QStringList{""};
    QTest::newRow("missing")
        << OnDisk::Missing << QByteArray()
        << QStringList{"警告: 本文: 本文のファイル「%1」が見つかりません。「文章」で選び直してください。"}
        << QList<Kind>{Kind::BodyFileMissing} << QStringList{"%1"};
    QTest::newRow("a folder") << OnDisk::Folder << QByteArray() << QStringList{unreadable}
                              << QList<Kind>{Kind::BodyFileUnreadable} << QStringList{"%1"};
    QTest::newRow("not allowed to read") << OnDisk::Locked << QByteArray("Welcome")
                                         << QStringList{unreadable}
                                         << QList<Kind>{Kind::BodyFileUnreadable} << QStringList{"%1"};
}

void PageCheckTest::bodyFile()
{
    QFETCH(OnDisk, onDisk);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, findings);
    QFETCH(QList<FindingKind>, kinds);
    QFETCH(QStringList, subjects);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("body.txt"));
    if (onDisk == OnDisk::File || onDisk == OnDisk::Locked)
        writeBytes(path, bytes);
    if (onDisk == OnDisk::Locked)
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    if (onDisk == OnDisk::Folder)
        QVERIFY(QDir().mkdir(path));
    WithoutAccessOverride asUser;
    PageProject page;
    page.BodyUsed = ToggleOn;
    page.BodyFile = StoredPath::fromChosen(path);
    Pattern pattern;
    pattern.Parts[0] = {1, 0};
    pattern.PartCount = 1;
    PageLocation location;
    location.PageFolder = folder.path();
    const PageCheckResult result =
        CheckPageOf(page, location, pattern, pattern.PartCount, *FindHandset("505i"));
    QList<FindingKind> found;
    QStringList about;
    for (const Finding &finding : result.findings) {
        found << finding.kind;
        about << finding.subject;
    }
    findings.replaceInStrings(QStringLiteral("%1"), page.BodyFile.shown());
    QCOMPARE(lines(result.findings), findings);
    QCOMPARE(found, kinds);
    QCOMPARE(about, subjects.replaceInStrings(QStringLiteral("%1"), page.BodyFile.shown()));
}

// A model is found by its name, a series as its strictest model, in any case and spacing. The
// colours and JPEG are those of the handset facts: JPEG from the 503i on, but not on D503i(S),
// F503i(S), SO503i(S), D211i and F211i; a model of unknown cache takes its series' limit.
void PageCheckTest::handsets_data()
{
    QTest::addColumn<QString>("name");
    // name, HTML version, limit in KB, screen width, colours, JPEG
    QTest::addColumn<QString>("found");
    QTest::newRow("model") << "sh505i" << "SH505i 5.0 20 240 262144 JPEG";
    QTest::newRow("series of one limit") << "503i" << "503i 3.0 10 118 256 -";
    QTest::newRow("extended cache is the user's choice") << "N502i" << "N502i 2.0 5 118 4 -";
    QTest::newRow("series with spaces") << "foma 2002" << "FOMA 2002 3.0 100 118 65536 JPEG";
    QTest::newRow("black and white") << "D501i" << "D501i 1.0 5 96 2 -";
    QTest::newRow("fewest colours of the series") << "502i" << "502i 2.0 5 96 2 -";
    QTest::newRow("256 colours") << "D502i" << "D502i 2.0 5 96 256 -";
    QTest::newRow("JPEG on the 503i") << "N503i" << "N503i 3.0 10 118 4096 JPEG";
    QTest::newRow("GIF only on the 503i") << "F503iS" << "F503iS 3.0 10 120 4096 -";
    QTest::newRow("GIF only on the 211i") << "D211i" << "D211i 3.0 10 100 4096 -";
    QTest::newRow("unknown cache") << "SO902iWP+" << "SO902iWP+ 6.0 100 240 262144 JPEG";
    QTest::newRow("series with it") << "902i" << "902i 6.0 100 230 262144 JPEG";
    QTest::newRow("unknown") << "X999i" << "";
}

void PageCheckTest::handsets()
{
    QFETCH(QString, name);
    QFETCH(QString, found);
    const std::optional<Handset> handset = FindHandset(name);
    QCOMPARE(handset ? QStringLiteral("%1 %2 %3 %4 %5 %6")
                           .arg(handset->name, HtmlVersionText(handset->htmlVersion))
                           .arg(handset->pageLimitKb)
                           .arg(handset->screenWidth)
                           .arg(handset->colourDepth)
                           .arg(handset->showsJpeg() ? "JPEG" : "-")
                     : QString(),
             found);
}

// The pictures are looked for where the page was saved, else where its project was opened or
// saved, else beside the body file; a relative body path is read against the project's folder.
void PageCheckTest::pictureFolder_data()
{
    QTest::addColumn<QString>("pageFolder");
    QTest::addColumn<QString>("projectFolder");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("folder");
    QTest::newRow("the page's") << "/site" << "/work" << QByteArray("/texts/a.txt") << "/site";
    QTest::newRow("the project's") << "" << "/work" << QByteArray("/texts/a.txt") << "/work";
    QTest::newRow("the body's") << "" << "" << QByteArray("/texts/a.txt") << "/texts";
    QTest::newRow("none yet") << "" << "" << QByteArray() << "";
}

void PageCheckTest::pictureFolder()
{
    QFETCH(QString, pageFolder);
    QFETCH(QString, projectFolder);
    QFETCH(QByteArray, body);
    QFETCH(QString, folder);
    PageProject page;
    page.BodyFile = {body, {}};
    PageLocation location;
    location.PageFolder = pageFolder;
    location.ProjectFolder = projectFolder;
    QCOMPARE(PictureFolder(page, location), folder);
    page.BodyFile = {"texts\\a.txt", {}};
    location.ProjectFolder = QStringLiteral("/nonexistent/project");
    QCOMPARE(BodyFileOnDisk(page, location), QStringLiteral("/nonexistent/project/texts/a.txt"));
}

QTEST_GUILESS_MAIN(PageCheckTest)
#include "tst_page_check.moc"
