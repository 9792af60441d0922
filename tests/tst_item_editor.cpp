#include "drawings/fonts.h"
#include "page/page_project.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "widgets/byte_line_edit.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette_button.h"
#include "windows/item_editor.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
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

// Which controls show: "2" for the second edit, "a" to "c" for the option boxes, "R" for the
// browse button, "P" for the pictogram palette's button, "F" for "携帯向けに変換…".
QString shownControls(const TForm3 &editor)
{
    const std::pair<const QWidget *, char> controls[]{
        {editor.Edit2, '2'}, {editor.CheckBox2, 'a'}, {editor.CheckBox3, 'b'},
        {editor.CheckBox4, 'c'}, {editor.Button1, 'R'}, {editor.paletteButton, 'P'},
        {editor.fitButton, 'F'}};
    QString shown;
    for (const auto &[control, mark] : controls)
        if (!control->isHidden())
            shown += QLatin1Char(mark);
    return shown;
}

// A slot's texts, then its toggles, joined by '|' in the order a project file lists them.
QString fields(const QList<QByteArray> &texts, const QList<Toggle> &toggles)
{
    QStringList joined;
    for (const QByteArray &text : texts)
        joined << QString::fromLatin1(text);
    for (Toggle toggle : toggles)
        joined << QString::number(toggle);
    return joined.join('|');
}

// The fields of image 2, text 5, link 7, direct input 3 or the body text.
QString slotFields(const PageProject &page, ItemKind kind)
{
    const ImageSlot &image = page.Images[1];
    const LinkSlot &link = page.Links[6];
    switch (kind) {
    case ItemKind::Image:
        return fields({image.ImageUrl, image.ImageLinkUrl},
                      {image.ImageUsed, image.ImageLinked, image.ImageLeft});
    case ItemKind::Text:
        return fields({page.Texts[4].TextContent}, {page.Texts[4].TextUsed});
    case ItemKind::Link:
        return fields({link.LinkCaption, link.LinkTarget},
                      {link.LinkUsed, link.LinkMail, link.LinkCentered, link.LinkAccessKey});
    case ItemKind::Direct:
        return fields({page.Directs[2].DirectMarkup}, {page.Directs[2].DirectUsed});
    case ItemKind::Body:
        break;
    }
    return fields({page.BodyFile.bytes}, {page.BodyUsed});
}

} // namespace

class ItemEditorTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void configureAndStore_data();
    void configureAndStore();
    void togglesAreNormalisedOnOpening();
    void unusedKeepsTheContentsWhole();
    void trimmingAndUntouchedBytes();
    void browseFillsTheBodyPath();
};

void ItemEditorTest::configureAndStore_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("help");
    QTest::addColumn<QString>("stored"); // the slot's fields after "決定"
    QTest::newRow("image 2") << 1 << "画像　2" << "2abF" << "help/help08.html" << "first|second|1|1|2";
    QTest::newRow("text 5") << 2 << "テキスト　5" << "P" << "help/help16.html" << " first |1";
    QTest::newRow("link 7") << 3 << "リンク　7" << "2abcP" << "help/help09.html"
                            << " first |second|1|1|2|1";
    QTest::newRow("direct 3") << 4 << "直接入力　3" << "P" << "help.html" << " first |1";
    QTest::newRow("body") << 5 << "文章" << "R" << "help/help07.html" << "first|1";
}

// The editor opens on the slot each stepper shows, with the controls and help page of its kind,
// and stores into that slot.
void ItemEditorTest::configureAndStore()
{
    QFETCH(int, kind);
    QFETCH(QString, heading);
    QFETCH(QString, shown);
    QFETCH(QString, help);
    QFETCH(QString, stored);
    EditorFixture fixture;
    fixture.state = {2, 5, 7, 3, ItemKind::Image, 3};
    TForm3 &editor = fixture.editor;
    QSignalSpy storedSignal(&editor, &TForm3::stored);

    editor.configureFor(ItemKind(kind));
    QCOMPARE(int(fixture.state.EditKind), kind);
    QCOMPARE(editor.windowTitle(), heading);
    QCOMPARE(shownControls(editor), shown);
    QCOMPARE(editor.Edit1->isReadOnly(), kind == 5);
    QVERIFY(editor.CheckBox1->isChecked()); // a new page: every item unused
    editor.SpeedButton1->click();
    QCOMPARE(fixture.desktop.opened, QStringList{fixture.programFolder + help});

    if (ItemKind(kind) == ItemKind::Body) {
        fixture.desktop.answerWith(" first ");
        QTest::mouseClick(editor.Button1, Qt::LeftButton);
    } else {
        editor.Edit1->setText(" first ");
    }
    editor.Edit2->setText(" second\t");
    QTest::mouseClick(editor.CheckBox1, Qt::LeftButton);
    editor.CheckBox2->setChecked(true);
    editor.CheckBox4->setChecked(true);
    QTest::mouseClick(editor.Button2, Qt::LeftButton);
    QCOMPARE(storedSignal.size(), 1);
    QCOMPARE(slotFields(fixture.page, ItemKind(kind)), stored);
}

void ItemEditorTest::togglesAreNormalisedOnOpening()
{
    EditorFixture fixture;
    LinkSlot &link = fixture.page.Links[0];
    link = {"", "", 0, 0, 1, 7};
    fixture.editor.configureFor(ItemKind::Link);
    const QList<bool> ticked{fixture.editor.CheckBox1->isChecked(),
                             fixture.editor.CheckBox2->isChecked(),
                             fixture.editor.CheckBox3->isChecked()};
    QCOMPARE(ticked, (QList<bool>{false, false, true}));
    QTest::mouseClick(fixture.editor.Button3, Qt::LeftButton); // cancelled, the values stay
    QCOMPARE(fields({}, {link.LinkUsed, link.LinkMail, link.LinkCentered, link.LinkAccessKey}),
             QStringLiteral("1|2|1|2"));
    // Fields of boxes the kind hides are neither read nor changed.
    fixture.page.Texts[0].TextUsed = 0;
    fixture.page.Images[0] = {"", "", 2, 0, 0};
    fixture.editor.configureFor(ItemKind::Text);
    QCOMPARE(fixture.page.Texts[0].TextUsed, Toggle(1));
    QCOMPARE(fixture.page.Images[0].ImageLinked, Toggle(0));
}

// Ticking "使用しない" keeps the contents, however long; Escape does not close the editor.
void ItemEditorTest::unusedKeepsTheContentsWhole()
{
    EditorFixture fixture;
    const QByteArray longText(40000, 'x');
    fixture.page.Texts[0] = {longText, ToggleOn};
    fixture.editor.configureFor(ItemKind::Text);
    fixture.editor.show();
    QTest::keyClick(fixture.editor.Edit1, Qt::Key_Escape);
    QVERIFY(fixture.editor.isVisible());
    fixture.editor.CheckBox1->setChecked(true);
    fixture.editor.Button2Click();
    QCOMPARE(fixture.page.Texts[0].TextContent, longText);
    QCOMPARE(fixture.page.Texts[0].TextUsed, ToggleOff);
    fixture.editor.configureFor(ItemKind::Text);
    QCOMPARE(fixture.editor.Edit1->text(), QString::fromLatin1(longText));
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

// The body's path is chosen, never typed, and kept as chosen; a path Shift-JIS cannot hold is
// used all the same, and the user is told once that the project file cannot keep it.
void ItemEditorTest::browseFillsTheBodyPath()
{
    EditorFixture fixture;
    TForm3 &editor = fixture.editor;
    fixture.page.BodyFile = {sj(" 本文.txt "), {}};
    editor.configureFor(ItemKind::Body);
    QCOMPARE(editor.Edit1->text(), QStringLiteral("本文.txt"));
    QTest::keyClicks(editor.Edit1, "typed");
    QCOMPARE(editor.Edit1->text(), QStringLiteral("本文.txt")); // read-only
    QTest::mouseClick(editor.Button1, Qt::LeftButton);          // cancelled
    QCOMPARE(editor.Edit1->text(), QStringLiteral("本文.txt"));
    const QString chosen = QStringLiteral("/home/user/資料〜2024/本文 2.txt");
    fixture.desktop.answerWith(chosen);
    QTest::mouseClick(editor.Button1, Qt::LeftButton);
    QCOMPARE(fixture.page.BodyFile.bytes, sj(" 本文.txt ")); // nothing stored before "決定"
    editor.Button2Click();
    QCOMPARE(fixture.page.BodyFile, (StoredPath{sj("/home/user/資料～2024/本文 2.txt"), chosen}));
    QVERIFY(fixture.desktop.warnings.isEmpty());

    const QString foreign = QStringLiteral("/home/user/café/😀.txt");
    fixture.desktop.answerWith(foreign);
    editor.configureFor(ItemKind::Body);
    QCOMPARE(editor.Edit1->text(), chosen);
    QTest::mouseClick(editor.Button1, Qt::LeftButton);
    QCOMPARE(editor.Edit1->text(), foreign);
    QCOMPARE(fixture.desktop.warnings.size(), 1);
    QVERIFY(fixture.desktop.warnings[0].contains(QStringLiteral("（é 😀）")));
    QVERIFY(fixture.desktop.warnings[0].contains(QStringLiteral("プロジェクトファイル")));
    editor.Button2Click();
    QCOMPARE(fixture.page.BodyFile.onDisk(), foreign);
    QCOMPARE(fixture.page.BodyFile.bytes, QByteArray("/home/user/caf&#233;/&#128512;.txt"));
}

QTEST_MAIN(ItemEditorTest)
#include "tst_item_editor.moc"
