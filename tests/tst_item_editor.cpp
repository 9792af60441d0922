#include "model/fonts.h"
#include "model/page_project.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "ui/byte_line_edit.h"
#include "ui/item_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

struct EditorFixture {
    EditorFixture() : editor(page, state, programFolder, desktop) {}

    PageProject page;
    WorkingState state;
    QString programFolder = QStringLiteral("/opt/モペコ/");
    RecordingDesktop desktop;
    TForm3 editor;
};

// Which controls show, as a string: "2" for Label3 and Edit2, then the option boxes, then "R"
// for the browse button.
QString shownControls(const TForm3 &editor)
{
    QString shown;
    if (!editor.Edit2->isHidden())
        shown += '2';
    if (!editor.CheckBox2->isHidden())
        shown += 'a';
    if (!editor.CheckBox3->isHidden())
        shown += 'b';
    if (!editor.CheckBox4->isHidden())
        shown += 'c';
    if (!editor.Button1->isHidden())
        shown += 'R';
    return shown;
}

} // namespace

class ItemEditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void configureAndStore_data();
    void configureAndStore();
    void togglesAreNormalisedOnOpening();
    void unusedKeepsTheContents();
    void trimmingAndUntouchedBytes();
    void browseFillsTheBodyPath();
    void helpOpensThePageOfTheKind_data();
    void helpOpensThePageOfTheKind();
    void isModal();
    void escapeKeepsWhatWasTypedAndLongTextsStayWhole();
};

void ItemEditorTest::configureAndStore_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("stored"); // the slot's fields after "決定", as a project writes them
    QTest::newRow("image 2") << 1 << "画像　2" << "画像ファイルのあるURLを入力してください" << "2ab"
                             << "first|second|1|1|2";
    QTest::newRow("text 5") << 2 << "テキスト　5" << "表示させたい文章（テキスト）を入力してください"
                            << "" << " first |1";
    QTest::newRow("link 7") << 3 << "リンク　7" << "表示する文（文字）を入力してください" << "2abc"
                            << " first |second|1|1|2|1";
    QTest::newRow("direct 3") << 4 << "直接入力　3" << "タグを直接、入力してください" << ""
                              << " first |1";
    QTest::newRow("body") << 5 << "文章" << "テキストファイルを参照から選んでください" << "R"
                          << "first|1";
}

void ItemEditorTest::configureAndStore()
{
    QFETCH(int, kind);
    QFETCH(QString, heading);
    QFETCH(QString, prompt);
    QFETCH(QString, shown);
    QFETCH(QString, stored);
    EditorFixture fixture;
    fixture.state = {2, 5, 7, 3, ItemKind::Image, 3};
    TForm3 &editor = fixture.editor;
    QSignalSpy storedSignal(&editor, &TForm3::stored);

    editor.configureFor(ItemKind(kind));
    QCOMPARE(int(fixture.state.EditKind), kind);
    QCOMPARE(editor.windowTitle(), heading);
    QCOMPARE(editor.Label1->text(), heading);
    QCOMPARE(editor.Label2->text(), prompt);
    QCOMPARE(shownControls(editor), shown);
    QCOMPARE(editor.Edit1->isReadOnly(), kind == 5);
    QVERIFY(editor.CheckBox1->isChecked()); // a new page: every item unused
    QCOMPARE(editor.CheckBox1->text(), QStringLiteral("使用しない"));

    editor.Edit1->setText(" first ");
    editor.Edit2->setText(" second\t");
    QTest::mouseClick(editor.CheckBox1, Qt::LeftButton);
    editor.CheckBox2->setChecked(true);
    editor.CheckBox4->setChecked(true);
    QTest::mouseClick(editor.Button2, Qt::LeftButton);
    QCOMPARE(storedSignal.size(), 1);

    const PageProject &page = fixture.page;
    QString actual;
    const auto text = [](const QByteArray &bytes) { return QString::fromLatin1(bytes); };
    switch (ItemKind(kind)) {
    case ItemKind::Image: {
        const ImageSlot &image = page.Images[1];
        actual = QStringList{text(image.ImageUrl), text(image.ImageLinkUrl),
                             QString::number(image.ImageUsed), QString::number(image.ImageLinked),
                             QString::number(image.ImageLeft)}.join('|');
        break;
    }
    case ItemKind::Text:
        actual = text(page.Texts[4].TextContent) + '|' + QString::number(page.Texts[4].TextUsed);
        break;
    case ItemKind::Link: {
        const LinkSlot &link = page.Links[6];
        actual = QStringList{text(link.LinkCaption), text(link.LinkTarget),
                             QString::number(link.LinkUsed), QString::number(link.LinkMail),
                             QString::number(link.LinkCentered),
                             QString::number(link.LinkAccessKey)}.join('|');
        break;
    }
    case ItemKind::Direct:
        actual = text(page.Directs[2].DirectMarkup) + '|' + QString::number(page.Directs[2].DirectUsed);
        break;
    case ItemKind::Body:
        actual = text(page.BodyFile) + '|' + QString::number(page.BodyUsed);
        break;
    }
    QCOMPARE(actual, stored);
}

void ItemEditorTest::togglesAreNormalisedOnOpening()
{
    EditorFixture fixture;
    LinkSlot &link = fixture.page.Links[0];
    link = {"", "", 0, 0, 1, 7};
    fixture.editor.configureFor(ItemKind::Link);
    QVERIFY(!fixture.editor.CheckBox1->isChecked());
    QVERIFY(!fixture.editor.CheckBox2->isChecked());
    QVERIFY(fixture.editor.CheckBox3->isChecked());
    QTest::mouseClick(fixture.editor.Button3, Qt::LeftButton); // cancelled, the values stay
    QCOMPARE(link.LinkUsed, Toggle(1));
    QCOMPARE(link.LinkMail, Toggle(2));
    QCOMPARE(link.LinkCentered, Toggle(1));
    QCOMPARE(link.LinkAccessKey, Toggle(2));
    // Fields of boxes the kind hides are neither read nor changed.
    fixture.page.Texts[0].TextUsed = 0;
    fixture.page.Images[0] = {"", "", 2, 0, 0};
    fixture.editor.configureFor(ItemKind::Text);
    QCOMPARE(fixture.page.Texts[0].TextUsed, Toggle(1));
    QCOMPARE(fixture.page.Images[0].ImageLinked, Toggle(0));
}

void ItemEditorTest::unusedKeepsTheContents()
{
    EditorFixture fixture;
    fixture.page.Texts[0] = {"kept", ToggleOn};
    fixture.editor.configureFor(ItemKind::Text);
    fixture.editor.CheckBox1->setChecked(true);
    fixture.editor.Button2Click();
    QCOMPARE(fixture.page.Texts[0].TextContent, QByteArray("kept"));
    QCOMPARE(fixture.page.Texts[0].TextUsed, ToggleOff);
    fixture.editor.configureFor(ItemKind::Text);
    QCOMPARE(fixture.editor.Edit1->text(), QStringLiteral("kept"));
}

void ItemEditorTest::trimmingAndUntouchedBytes()
{
    EditorFixture fixture;
    TForm3 &editor = fixture.editor;
    LinkSlot &link = fixture.page.Links[0];
    link.LinkCaption = sj("  先頭に空白");
    link.LinkTarget = " a.html ";
    editor.configureFor(ItemKind::Link);
    QCOMPARE(editor.Edit1->text(), QStringLiteral("先頭に空白")); // shown trimmed
    QCOMPARE(editor.Edit2->text(), QStringLiteral("a.html"));
    editor.Button2Click();
    QCOMPARE(link.LinkCaption, sj("先頭に空白")); // confirming stores what was shown
    QCOMPARE(link.LinkTarget, QByteArray("a.html"));

    // A text keeps its blanks, the full-width ones too, through any number of openings.
    const QByteArray blanks = sj("　 text 　");
    fixture.page.Texts[0].TextContent = blanks;
    for (int opening = 0; opening < 2; ++opening) {
        editor.configureFor(ItemKind::Text);
        editor.Button2Click();
    }
    QCOMPARE(fixture.page.Texts[0].TextContent, blanks);

    // Bytes that are not Shift-JIS, or that convert back to other bytes, stay as they were
    // unless the text is edited; an edit with a line break keeps the first line.
    const QByteArray stored = QByteArray("<b>\x81\xff\xed\x40</b>");
    fixture.page.Directs[0].DirectMarkup = stored;
    editor.configureFor(ItemKind::Direct);
    editor.Button2Click();
    QCOMPARE(fixture.page.Directs[0].DirectMarkup, stored);
    editor.configureFor(ItemKind::Direct);
    editor.Edit1->setText(QStringLiteral("<MARQUEE>新着😀</MARQUEE>\nsecond"));
    editor.Button2Click();
    QCOMPARE(fixture.page.Directs[0].DirectMarkup, sj("<MARQUEE>新着&#128512;</MARQUEE>"));
}

void ItemEditorTest::browseFillsTheBodyPath()
{
    EditorFixture fixture;
    TForm3 &editor = fixture.editor;
    fixture.page.BodyFile = sj(" 本文.txt ");
    editor.configureFor(ItemKind::Body);
    QCOMPARE(editor.Edit1->text(), QStringLiteral("本文.txt"));
    QTest::keyClicks(editor.Edit1, "typed");
    QCOMPARE(editor.Edit1->text(), QStringLiteral("本文.txt")); // read-only
    QTest::mouseClick(editor.Button1, Qt::LeftButton);          // cancelled
    QCOMPARE(editor.Edit1->text(), QStringLiteral("本文.txt"));
    fixture.desktop.answerWith(QStringLiteral("/home/user/ページ/本文 2.txt"));
    QTest::mouseClick(editor.Button1, Qt::LeftButton);
    QCOMPARE(fixture.desktop.dialogs.last().filter, QStringLiteral("テキストファイル(*.txt)|*.txt"));
    QCOMPARE(fixture.page.BodyFile, sj(" 本文.txt ")); // nothing stored before "決定"
    editor.Button2Click();
    QCOMPARE(fixture.page.BodyFile, sj("/home/user/ページ/本文 2.txt"));
}

void ItemEditorTest::helpOpensThePageOfTheKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("page");
    QTest::newRow("image") << 1 << "help/help08.html";
    QTest::newRow("text") << 2 << "help/help16.html";
    QTest::newRow("link") << 3 << "help/help09.html";
    QTest::newRow("direct") << 4 << "help.html";
    QTest::newRow("body") << 5 << "help/help07.html";
}

void ItemEditorTest::helpOpensThePageOfTheKind()
{
    QFETCH(int, kind);
    QFETCH(QString, page);
    EditorFixture fixture;
    fixture.editor.configureFor(ItemKind(kind));
    fixture.editor.SpeedButton1->click();
    QCOMPARE(fixture.desktop.opened, QStringList{fixture.programFolder + page});
}

void ItemEditorTest::isModal()
{
    EditorFixture fixture;
    fixture.editor.configureFor(ItemKind::Link);
    QWidget *modal = nullptr;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        fixture.editor.Button3Click();
    });
    fixture.editor.exec();
    QCOMPARE(modal, &fixture.editor);
}

void ItemEditorTest::escapeKeepsWhatWasTypedAndLongTextsStayWhole()
{
    EditorFixture fixture;
    const QByteArray longText(40000, 'x');
    fixture.page.Texts[0].TextContent = longText;
    fixture.editor.configureFor(ItemKind::Text);
    fixture.editor.show();
    QTest::keyClick(fixture.editor.Edit1, Qt::Key_Escape);
    QVERIFY(fixture.editor.isVisible());
    fixture.editor.Button2Click();
    QCOMPARE(fixture.page.Texts[0].TextContent, longText);
}

QTEST_MAIN(ItemEditorTest)
#include "tst_item_editor.moc"
