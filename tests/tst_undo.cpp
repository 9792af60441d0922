#include "document/page_history.h"
#include "document/page_session.h"
#include "page/page_as_written.h"
#include "page/project_file.h"
#include "settings/recovery_file.h"
#include "support/main_window_fixture.h"
#include "support/picture_fitting_steps.h"
#include "support/test_files.h"
#include "widgets/notice_bar.h"
#include "widgets/pictogram_line_edit.h"
#include "windows/basic_settings.h"
#include "windows/item_editor.h"
#include "windows/pattern_selection.h"
#include "windows/picture_fitting_dialog.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <vector>

namespace {

// A page with something in every kind of item, saved as a project the window opens.
PageProject cafePage()
{
    PageProject page;
    page.Title = "\x8a\x69\x92\x83"; // 喫茶
    page.ColorSupport = ToggleOn;
    page.BackgroundColor = "#FFFFCC";
    page.Images[0] = {"logo.png", "", ToggleOn, ToggleOff, ToggleOff};
    page.Texts[0] = {"open 9-18", ToggleOn};
    page.Links[0] = {"menu", "menu.html", ToggleOn, ToggleOff, ToggleOff, ToggleOn};
    page.Directs[0] = {"<HR>", ToggleOn};
    page.PatternNumber = 2;
    return page;
}

// What undo must give back: the project file's bytes and the page's.
struct WrittenBytes {
    QByteArray project;
    QByteArray page;
    bool operator==(const WrittenBytes &) const = default;
};

WrittenBytes bytesOf(MainWindowFixture &fixture)
{
    BodyFiles files;
    return {WriteProject(fixture.page),
            PageAsWrittenNow(fixture.page, fixture.session.location, fixture.pattern,
                             fixture.pattern.PartCount, files)
                .bytes()};
}

enum class Change {
    Title, Image, Text, Link, Direct, Body, Colours, Separator, Pattern, Picture, NewPage, Open, LeftWork
};

} // namespace

Q_DECLARE_METATYPE(Change)

class UndoTest : public QObject {
    Q_OBJECT

private slots:
    void eachChangeUndoneAndRedone_data();
    void eachChangeUndoneAndRedone();
    void newPageTypedOverThenUndoneTwice();
    void undoingBackToTheSavedPageShowsItSaved();
    void typingBurstsAndTheMemoryBound();
};

void UndoTest::eachChangeUndoneAndRedone_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("step");
    QTest::newRow("title") << Change::Title << QStringLiteral("タイトルの入力");
    QTest::newRow("image") << Change::Image << QStringLiteral("画像1の変更");
    QTest::newRow("text") << Change::Text << QStringLiteral("テキスト 1の変更");
    QTest::newRow("link") << Change::Link << QStringLiteral("リンク1の変更");
    QTest::newRow("direct") << Change::Direct << QStringLiteral("直接入力1の変更");
    QTest::newRow("body") << Change::Body << QStringLiteral("本文の変更");
    QTest::newRow("colours") << Change::Colours << QStringLiteral("基本設定の変更");
    QTest::newRow("separator, then 取消") << Change::Separator << QStringLiteral("区切り線の変更");
    QTest::newRow("pattern") << Change::Pattern << QStringLiteral("型の変更");
    QTest::newRow("picture converted") << Change::Picture << QStringLiteral("携帯向けに変換（画像1）");
    QTest::newRow("新規作成") << Change::NewPage << QStringLiteral("新規作成");
    QTest::newRow("データ開く") << Change::Open << QStringLiteral("データ開く");
    QTest::newRow("left work taken back") << Change::LeftWork << QStringLiteral("前回の作業を開く");
}

void UndoTest::eachChangeUndoneAndRedone()
{
    QFETCH(Change, change);
    QFETCH(QString, step);
    MainWindowFixture fixture;
    PageProject other;
    other.Title = "other";
    other.PatternNumber = 5;
    if (change == Change::LeftWork) // a program that ended left it
        RecoveryFile(fixture.ProgramFolder, QStringLiteral("mpk")).keep(WriteProject(other), {});
    QImage logo(120, 40, QImage::Format_RGB32);
    logo.fill(QColor(30, 90, 160));
    writeBytes(fixture.folder.filePath(QStringLiteral("logo.png")), encodedPicture(logo, "PNG"));
    TForm1 &form = fixture.startShown();
    const QString cafe = fixture.folder.filePath(QStringLiteral("cafe.mpk"));
    writeBytes(cafe, WriteProject(cafePage()));
    form.openProjectFile(cafe);
    QTest::qWait(0); // the start offers left work once the window shows
    const WrittenBytes before = bytesOf(fixture);
    const auto inEditor = [&](QPushButton *button, const QString &typed) {
        fixture.openEditor(button, [&](TForm3 &editor) {
            if (typed.isEmpty())
                editor.CheckBox1->click();
            else
                editor.Edit1->setText(typed);
            editor.Button2Click();
        });
    };
    const auto inDialog = [](const std::function<void()> &act, QAbstractButton *opener) {
        QTimer::singleShot(0, act);
        QTest::mouseClick(opener, Qt::LeftButton);
    };
    switch (change) {
    case Change::Title:
        QTest::keyClicks(form.Edit1, QStringLiteral(" and tea"));
        break;
    case Change::Image:
        inEditor(form.Button3, QStringLiteral("photo.gif"));
        break;
    case Change::Text:
        inEditor(form.Button4, QStringLiteral("closed on Monday"));
        break;
    case Change::Link:
        inEditor(form.Button5, QStringLiteral("shop"));
        break;
    case Change::Direct:
        inEditor(form.Button8, QStringLiteral("<BR>"));
        break;
    case Change::Body:
        inEditor(form.Button2, {});
        break;
    case Change::Colours:
        inDialog([&] {
            TForm2 &settings = form.dialogs.basicSettings();
            settings.CheckBox1->click();
            settings.Button1Click();
        }, form.Button1);
        break;
    case Change::Separator:
        inDialog([&] {
            TForm2 &settings = form.dialogs.basicSettings();
            settings.Button14Click();
            settings.Button2Click();
        }, form.Button1);
        break;
    case Change::Pattern:
        inDialog([&] {
            TForm4 &patterns = form.dialogs.patternSelection();
            patterns.Button1Click();
            patterns.Button3Click();
        }, form.Button7);
        break;
    case Change::Picture:
        whenMade(form.dialogs.pictureFitting());
        form.dialogs.pictureFitting().fitFor({LineOrigin::Item::Image, 1}, QStringLiteral("logo.png"));
        break;
    case Change::NewPage:
        fixture.press(Qt::CTRL | Qt::Key_N);
        break;
    case Change::LeftWork:
        form.notice->use(QStringLiteral("開く"));
        break;
    case Change::Open: {
        const QString file = fixture.folder.filePath(QStringLiteral("other.mpk"));
        writeBytes(file, WriteProject(other));
        fixture.desktop.answerWith(file);
        fixture.press(Qt::CTRL | Qt::Key_O);
        break;
    }
    }
    const WrittenBytes after = bytesOf(fixture);
    QVERIFY(after.project != before.project);
    QUndoStack &history = fixture.session.history();
    QCOMPARE(history.undoText(), step);

    const QString titleAfter = form.Edit1->text();
    fixture.press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(bytesOf(fixture), before);
    QCOMPARE(form.Edit1->bytes(), fixture.page.Title);
    QCOMPARE(fixture.session.projectFile(), cafe);
    QVERIFY(!fixture.session.isUnsaved());
    // Work taken back and undone stays in a recovery file while it can be redone.
    if (change == Change::LeftWork) {
        const QDir folder(fixture.ProgramFolder);
        QStringList holding;
        for (const QString &name : folder.entryList({QStringLiteral("recovery-*.mpk")}))
            if (readBytes(folder.filePath(name)) == WriteProject(other))
                holding << name;
        QCOMPARE(holding.size(), 1);
    }
    fixture.press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(bytesOf(fixture), after);
    QCOMPARE(form.Edit1->text(), titleAfter);
    fixture.press(Qt::CTRL | Qt::Key_Z);
    fixture.press(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QCOMPARE(bytesOf(fixture), after);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

// The page replaced unsaved stays one step away however the new page goes on, and the notice
// offers it for as long.
void UndoTest::newPageTypedOverThenUndoneTwice()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.startShown();
    QTest::keyClicks(form.Edit1, QStringLiteral("cafe"));
    const QByteArray work = WriteProject(fixture.page);
    fixture.press(Qt::CTRL | Qt::Key_N);
    QTest::keyClicks(form.Edit1, QStringLiteral("new"));
    QCOMPARE(form.notice->captions(), QStringList{QStringLiteral("元に戻す")});
    fixture.press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(form.Edit1->text(), QString());
    QCOMPARE(form.notice->captions(), QStringList{QStringLiteral("元に戻す")});
    fixture.press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(WriteProject(fixture.page), work);
    QCOMPARE(form.Edit1->text(), QStringLiteral("cafe"));
    QVERIFY(form.notice->text().isEmpty());
    QCOMPARE(form.documentLabel->text(), QStringLiteral("無題　＊保存していない変更があります"));

    // The notice's link undoes the same steps; saving the new page leaves the offer there.
    fixture.press(Qt::CTRL | Qt::Key_N);
    QTest::keyClicks(form.Edit1, QStringLiteral("again"));
    fixture.desktop.answerWith(fixture.folder.filePath(QStringLiteral("again.mpk")));
    fixture.press(Qt::CTRL | Qt::Key_S);
    QCOMPARE(form.documentLabel->text(), QStringLiteral("again.mpk"));
    form.notice->use(QStringLiteral("元に戻す"));
    QCOMPARE(WriteProject(fixture.page), work);
    QVERIFY(fixture.session.history().canRedo());
}

void UndoTest::undoingBackToTheSavedPageShowsItSaved()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.startShown();
    QTest::keyClicks(form.Edit1, QStringLiteral("A"));
    fixture.desktop.answerWith(fixture.folder.filePath(QStringLiteral("a.mpk")));
    fixture.press(Qt::CTRL | Qt::Key_S);
    QTest::qWait(PageHistory::BurstPause + 100); // a new burst
    QTest::keyClicks(form.Edit1, QStringLiteral("B"));
    QCOMPARE(form.documentLabel->text(), QStringLiteral("a.mpk　＊保存していない変更があります"));
    fixture.press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(form.Edit1->text(), QStringLiteral("A"));
    QCOMPARE(form.documentLabel->text(), QStringLiteral("a.mpk"));
    QVERIFY(fixture.session.history().isClean());
    // Saving keeps what can be redone.
    fixture.press(Qt::CTRL | Qt::Key_S);
    fixture.press(Qt::CTRL | Qt::Key_Y);
    QCOMPARE(form.Edit1->text(), QStringLiteral("AB"));
    // A "決定" that changed nothing is no step: Ctrl+Z takes back the typing.
    fixture.openEditor(form.Button4, [](TForm3 &editor) { editor.Button2Click(); });
    fixture.press(Qt::CTRL | Qt::Key_Z);
    QCOMPARE(form.Edit1->text(), QStringLiteral("A"));
}

// Title steps join within a burst of typing; past the memory bound the oldest steps go, and
// what stays undoes to the page as it was before the oldest one kept.
void UndoTest::typingBurstsAndTheMemoryBound()
{
    std::vector<QByteArray> restored;
    PageHistory history([&](const PageStep &step, bool undone) {
        restored.push_back((undone ? step.before : step.after).page.Title);
    }, 1 << 20);
    const auto title = [](const QByteArray &text, qint64 when) {
        PageStep step;
        step.kind = PageStep::Kind::Title;
        step.after.page.Title = text;
        step.lastTyped = when;
        return step;
    };
    PageStep first = title("a", 0);
    history.record(first);
    PageStep second = title("ab", 1500);
    second.before.page.Title = "a";
    history.record(second);
    PageStep third = title("abc", 1500 + PageHistory::BurstPause + 1);
    third.before.page.Title = "ab";
    history.record(third);
    QCOMPARE(history.stack().count(), 2);
    history.stack().undo();
    history.stack().undo();
    QCOMPARE(restored, (std::vector<QByteArray>{"ab", ""}));

    // Each step holds a new 300 KB text: four fit within 1 MB with what they share.
    QByteArray previous;
    for (int index = 0; index < 10; ++index) {
        PageStep step;
        step.name = QString::number(index);
        step.before.page.Title = previous;
        previous = QByteArray(300 * 1024, char('0' + index));
        step.after.page.Title = previous;
        history.record(step);
        QVERIFY(history.bytes() <= 1 << 20);
    }
    QCOMPARE(history.stack().count(), 3);
    QCOMPARE(history.stack().undoText(), QStringLiteral("9"));
    restored.clear();
    while (history.stack().canUndo())
        history.stack().undo();
    QCOMPARE(restored.back(), QByteArray(300 * 1024, '6'));
}

QTEST_MAIN(UndoTest)
#include "tst_undo.moc"
