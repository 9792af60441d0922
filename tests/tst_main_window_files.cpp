#include "app/program.h"
#include "drawings/fonts.h"
#include "drawings/pattern_preview.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/page_title.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "page/project_file.h"
#include "settings/program_settings.h"
#include "settings/tool_settings.h"
#include "support/main_window_fixture.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "text/stored_path.h"
#include "textmap/map_window.h"
#include "widgets/byte_line_edit.h"
#include "widgets/handset_box.h"
#include "widgets/notice_bar.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette_button.h"
#include "widgets/size_meter.h"
#include "windows/item_editor.h"
#include "windows/main_window.h"
#include "windows/page_check_panel.h"
#include "windows/page_check_window.h"
#include "windows/phone_preview_window.h"
#include "windows/summary_panel.h"

#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <tuple>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

class MainWindowFilesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void savingAndNewPage();
    void openingAProjectAndEditingIt();
    void aTitleOfMegabytes();
    void toolSettingsAtStartAndEnd();
    void foldersKeptAcrossRuns();
    void openingSaysWhyItCannot_data();
    void openingSaysWhyItCannot();
    void openingAHandedOverProject_data();
    void openingAHandedOverProject();
    void keysAndWhatIsOpen();
    void qrAddressIsThePagesAfterAMapPage();
    void dialogFilters();
    void typingOpensNoFile();
};

// The title typed reaches the page written and the project saved; "新規作成" then restores
// everything, whatever pattern and slots were in force.
void MainWindowFilesTest::savingAndNewPage()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QImage patternOnePreview = fixture.preview();
    QTest::sendKeyEvent(QTest::Click, form.Edit1, Qt::Key_unknown, QStringLiteral("お店"),
                        Qt::NoModifier);
    const QString page = fixture.folder.filePath("index.html");
    const QString project = fixture.folder.filePath("shop.mpk");
    fixture.desktop.answerWith(page);
    fixture.click(form.SpeedButton3);
    QVERIFY(readBytes(page).startsWith("<HTML><HEAD><TITLE>" + sj("お店")
                                       + "</TITLE></HEAD>\r\n<BODY>\r\n"));
    // Each save says so on the notice, which asks nothing.
    QCOMPARE(form.notice->text(), QStringLiteral("保存しました: index.html"));
    fixture.desktop.answerWith(project);
    fixture.click(form.SpeedButton4);
    QCOMPARE(splitCrlf(readBytes(project)).value(2), sj("お店"));
    QCOMPARE(form.notice->text(), QStringLiteral("保存しました: shop.mpk"));
    QVERIFY(form.notice->captions().isEmpty());
    // Each is offered with its own title and kind of file; the project's dialogs start in the
    // folder the page went to.
    QCOMPARE(fixture.desktop.dialogs.value(0).title, QStringLiteral("HTMLファイルを保存"));
    QCOMPARE(fixture.desktop.dialogs.value(0).defaultExtension, QStringLiteral("html"));
    QCOMPARE(fixture.desktop.dialogs.value(1).title, QStringLiteral("データファイルを保存"));
    QCOMPARE(fixture.desktop.dialogs.value(1).defaultExtension, QStringLiteral("mpk"));
    QCOMPARE(fixture.desktop.dialogs.value(1).offeredPath, fixture.folder.path() + '/');
    QCOMPARE(form.OpenDialog1.offeredPath(), fixture.folder.path() + '/');
    QVERIFY(fixture.desktop.messages.isEmpty());

    fixture.page.Links[6].LinkUsed = ToggleOn;
    fixture.page.SeparatorStyle = 4;
    fixture.state.CurrentLink = 7;
    fixture.state.CurrentImage = 2;
    form.loadPatternAndShow(3);
    QVERIFY(!sameImage(fixture.preview(), patternOnePreview));
    QCOMPARE(fixture.page.Links[6].LinkUsed, ToggleOn); // slots outlive the pattern
    form.ShowSummaryPage(3);
    fixture.click(form.SpeedButton2);
    QCOMPARE(form.Edit1->text(), QString());
    QCOMPARE(fixture.captions().join(' '), QStringLiteral("画像1 テキスト　1 リンク1 直接入力1"));
    QCOMPARE(WriteProject(fixture.page), WriteProject(PageProject()));
    QCOMPARE(int(fixture.state.SummaryPage), 1);
    QVERIFY(sameImage(fixture.summary(), DrawSummaryPage(fixture.page, 1)));
    QVERIFY(sameImage(fixture.preview(), patternOnePreview));
}

// An opened project is shown; the item buttons then edit the slots the steppers show.
void MainWindowFilesTest::openingAProjectAndEditingIt()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    fixture.click(form.SpeedButton15, 6);
    form.ShowSummaryPage(3);
    PageProject stored;
    stored.Title = sj("地図のページ");
    stored.PatternNumber = 4;
    stored.Links[6] = {"seven", "7.html", ToggleOn, ToggleOff, ToggleOff, ToggleOff};
    const QString path = fixture.folder.filePath("stored.mpk");
    writeBytes(path, WriteProject(stored));
    fixture.desktop.answerWith(path);
    fixture.click(form.SpeedButton5);
    QCOMPARE(form.Edit1->text(), QStringLiteral("地図のページ"));
    QCOMPARE(int(fixture.state.SummaryPage), 1);
    QCOMPARE(fixture.page.PatternNumber, 4);
    const Pattern shown = fixture.pattern;
    QVERIFY(sameImage(fixture.preview(), DrawPatternPreview(shown, form.ImageList1)));

    fixture.click(form.Button12);
    QString heading;
    QString caption;
    fixture.openEditor(form.Button5, [&](TForm3 &editor) {
        heading = editor.windowTitle();
        caption = editor.Edit1->text();
        editor.Edit1->setText(QStringLiteral("七番"));
        editor.Button2Click();
    });
    QCOMPARE(heading + ' ' + caption, QStringLiteral("リンク　7 seven"));
    QCOMPARE(fixture.page.Links[6].LinkCaption, sj("七番"));
    QVERIFY(sameImage(fixture.summary(), DrawSummaryPage(fixture.page, 2))); // drawn again
    fixture.openEditor(form.Button2, [&](TForm3 &editor) { heading = editor.windowTitle(); });
    QCOMPARE(heading, QStringLiteral("文章"));
    QCOMPARE(fixture.state.EditKind, ItemKind::Body);

    // A pattern number without a file keeps the parts in force; the number stays the file's.
    stored.PatternNumber = 42;
    writeBytes(path, WriteProject(stored));
    fixture.desktop.answerWith(path);
    fixture.click(form.SpeedButton5);
    QCOMPARE(fixture.page.PatternNumber, 42);
    QCOMPARE(fixture.pattern.PartCount, shown.PartCount);
    QCOMPARE(fixture.pattern.Comment, shown.Comment);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

// A project whose title is megabytes long, as only a damaged or hostile file has it: the window
// keeps its first thousand bytes, says so, and takes a key typed into the title at once.
void MainWindowFilesTest::aTitleOfMegabytes()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.startShown();
    PageProject stored;
    stored.Title = QByteArray("\x8B\x69\x92\x83&#63647;\xF8\x9F").repeated(500'000);
    const QString path = fixture.folder.filePath("long.mpk");
    writeBytes(path, WriteProject(stored));
    form.openProjectFile(path);
    QCOMPARE(fixture.desktop.warnings.size(), 1);
    QVERIFY(fixture.desktop.warnings.constFirst().startsWith(QStringLiteral("タイトルが長すぎる（7,000,000 バイト）")));
    QVERIFY(fixture.page.Title.size() <= LongestTitleBytes);
    QVERIFY(stored.Title.startsWith(fixture.page.Title));
    QCOMPARE(form.Edit1->bytes(), fixture.page.Title);
    form.Edit1->setFocus();
    QTest::keyClick(form.Edit1, Qt::Key_X);
    QVERIFY(fixture.page.Title.endsWith('x'));
    QCOMPARE(readBytes(path), WriteProject(stored)); // the file stays as it was
    // Pasted, such a text fills what is left of the title and no more.
    form.Edit1->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("喫茶さくら").repeated(200'000));
    QTest::keyClick(form.Edit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(fixture.page.Title, sj("喫茶さくら").repeated(100));
}

// The tool settings read at start-up serve the toolbar and are written back at the end; what
// was read before a bad number stays in force.
void MainWindowFilesTest::toolSettingsAtStartAndEnd()
{
    MainWindowFixture fixture;
    const QString file = fixture.ProgramFolder + "set.dat";
    writeBytes(file, crlfLines({"", sj("/opt/エディタ/edit -n"), "", " http://example.jp/ ", "kept",
                                "x"}));
    TForm1 &form = fixture.start();
    QCOMPARE(fixture.desktop.messages, QStringList{"入力値が数値ではありません\n" + file + " の 6 行目"});
    fixture.desktop.messages.clear();
    for (QToolButton *button : {form.SpeedButton8, form.SpeedButton9, form.SpeedButton7,
                                form.SpeedButton11})
        fixture.click(button);
    // No FTP program is set: nothing starts for it, and the program would publish the page
    // itself, once it is saved.
    QCOMPARE(fixture.desktop.started, (QList<QStringList>{{"/opt/エディタ/edit", "-n"}}));
    QCOMPARE(fixture.desktop.messages.size(), 1);
    QVERIFY(fixture.desktop.messages.constFirst().contains("先にプロジェクトを「データ保存」してください"));
    QCOMPARE(fixture.desktop.opened,
             (QStringList{fixture.ProgramFolder + "help.html", " http://example.jp/ "}));
    form.FormDestroy();
    const QByteArray written =
        crlfLines({"", sj("/opt/エディタ/edit -n"), "", " http://example.jp/ ", "kept", "0", "0"});
    QCOMPARE(readBytes(file), written);

    // A program folder that cannot be written: the message, and the old file stays.
    QVERIFY(QFile::setPermissions(fixture.folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    fixture.toolSettings.HomePage = "changed";
    {
        WithoutAccessOverride asUser;
        form.FormDestroy();
    }
    QVERIFY(QFile::setPermissions(fixture.folder.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(fixture.desktop.messages.last(), QStringLiteral("ファイルへのアクセスが拒否されました"));
    QCOMPARE(readBytes(file), written);
}

// A project handed over at the start (a file manager's double click) opens as "データ開く"
// would have opened it; one that cannot be opened is said, and the new page stays.
void MainWindowFilesTest::openingAHandedOverProject_data()
{
    QTest::addColumn<QByteArray>("bytes"); // empty for no file at all
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("said");
    PageProject page;
    page.Title = sj("喫茶さくら");
    QTest::newRow("a project") << WriteProject(page) << QStringLiteral("喫茶さくら") << QString();
    QTest::newRow("no such file") << QByteArray() << QString() << QStringLiteral("ファイルが見つかりません");
    QTest::newRow("no project") << QByteArray("not a project\r\n") << QString()
                                << QStringLiteral("プロジェクトファイルではないので開けません。");
}

void MainWindowFilesTest::openingAHandedOverProject()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, title);
    QFETCH(QString, said);
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QString path = fixture.folder.filePath(QStringLiteral("喫茶.mpk"));
    if (!bytes.isEmpty())
        writeBytes(path, bytes);
    form.openProjectFile(path);
    QCOMPARE(form.Edit1->text(), title);
    QCOMPARE(fixture.desktop.messages.value(0).section(QLatin1Char('\n'), 0, 0), said);
    QCOMPARE(form.OpenDialog1.FileName, said.isEmpty() ? path : QString());
    QCOMPARE(fixture.session.location.ProjectFolder, said.isEmpty() ? fixture.folder.path() : QString());
}

// Each command's key does what its button does; Ctrl+S saves into the file the project is known
// by without asking again. The band above the title says which project is open, and whether it
// holds unsaved changes.
void MainWindowFilesTest::keysAndWhatIsOpen()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.startShown();
    const auto press = [&fixture](QKeyCombination key) { fixture.press(key); };
    const auto said = [&form] { return form.documentLabel->text(); };
    QCOMPARE(said(), QStringLiteral("無題"));
    QTest::keyClicks(form.Edit1, "A");
    QCOMPARE(said(), QStringLiteral("無題　＊保存していない変更があります"));

    const QString file = fixture.folder.filePath(QStringLiteral("cafe.mpk"));
    fixture.desktop.answerWith(file);
    press(Qt::CTRL | Qt::Key_S); // no file yet: asked
    QCOMPARE(fixture.desktop.dialogs.size(), 1);
    QCOMPARE(said(), QStringLiteral("cafe.mpk"));
    QTest::keyClicks(form.Edit1, "B");
    press(Qt::CTRL | Qt::Key_S); // into the same file, unasked
    QCOMPARE(fixture.desktop.dialogs.size(), 1);
    QCOMPARE(splitCrlf(readBytes(file)).value(2), QByteArray("AB"));
    QCOMPARE(said(), QStringLiteral("cafe.mpk"));

    press(Qt::CTRL | Qt::Key_N);
    QCOMPARE(form.Edit1->text(), QString());
    QCOMPARE(said(), QStringLiteral("無題"));
    fixture.desktop.answerWith(file);
    press(Qt::CTRL | Qt::Key_O);
    QCOMPARE(form.Edit1->text(), QStringLiteral("AB"));
    QCOMPARE(fixture.desktop.dialogs.size(), 2);
    press(Qt::Key_F1);
    QVERIFY(fixture.desktop.opened.value(0).endsWith(QLatin1String("help.html")));
    QVERIFY(form.SpeedButton4->toolTip().contains(QLatin1String("Ctrl+S")));
    press(Qt::CTRL | Qt::Key_Q);
    QVERIFY(!form.isVisible());
    QVERIFY(fixture.desktop.messages.isEmpty());
}

// The text map maker writes its page through a dialog of its own; the page's QR code still
// names the page, not the map.
void MainWindowFilesTest::qrAddressIsThePagesAfterAMapPage()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QString pageFile = fixture.folder.filePath(QStringLiteral("index.html"));
    fixture.desktop.answerWith(pageFile);
    fixture.click(form.SpeedButton3);
    QCOMPARE(form.qrSubject().pageFile, pageFile);
    TForm7 maker(fixture.textMap, fixture.page, fixture.session.location, fixture.ProgramFolder,
                 fixture.desktop);
    maker.configure();
    fixture.desktop.answerWith(fixture.folder.filePath(QStringLiteral("map.html")));
    maker.Button1Click();
    QVERIFY(QFileInfo::exists(fixture.folder.filePath(QStringLiteral("map.html"))));
    QCOMPARE(form.qrSubject().pageFile, pageFile);
}

// "*.*" means every file, but to Qt only names with a dot.
void MainWindowFilesTest::dialogFilters()
{
    QCOMPARE(qtNameFilters("HTMLファイル(*.html)|*.html|すべてのファイル(*.*)|*.*"),
             QStringLiteral("HTMLファイル(*.html);;すべてのファイル(*)"));
}

// Each keystroke in the title box checks the page again, and none opens the body file; a body
// file that changed is read again once.
void MainWindowFilesTest::typingOpensNoFile()
{
    MainWindowFixture fixture;
    const QString body = fixture.folder.filePath(QStringLiteral("body.txt"));
    writeBytes(body, "Welcome\r\n");
    TForm1 &form = fixture.start();
    fixture.page.BodyFile = StoredPath::fromChosen(body);
    fixture.page.BodyUsed = ToggleOn;
    PageCheckPanel &check = *form.pageCheck;
    check.checkAgain();
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0 && ::inotify_add_watch(watch, QFile::encodeName(body).constData(), IN_OPEN) >= 0);
    const auto opens = [watch] {
        int count = 0;
        alignas(inotify_event) char events[4096];
        for (ssize_t length; (length = ::read(watch, events, sizeof events)) > 0;)
            count += int(length / ssize_t(sizeof(inotify_event)));
        return count;
    };
    QTest::keyClicks(form.Edit1, QString(50, QLatin1Char('a')));
    QCOMPARE(fixture.page.Title, QByteArray(50, 'a'));
    const qint64 before = check.result().totalBytes();
    QCOMPARE(opens(), 0);
    writeBytes(body, QByteArray(2000, 'b'));
    opens(); // the writing
    QTest::keyClicks(form.Edit1, QStringLiteral("bc"));
    QCOMPARE(opens(), 1);
    QVERIFY(check.result().totalBytes() > before + 1900);
    ::close(watch);
}

// The file dialogs start where projects were opened or saved in an earlier run; a folder
// that is gone is not offered.
void MainWindowFilesTest::foldersKeptAcrossRuns()
{
    for (const bool folderThere : {true, false}) {
        MainWindowFixture fixture;
        const QString projects = fixture.folder.filePath(QStringLiteral("プロジェクト"));
        if (folderThere)
            QDir().mkdir(projects);
        writeBytes(fixture.ProgramFolder + "mopeco.ini",
                   "[folders]\r\nproject=" + projects.toUtf8() + "\r\npage=/gone\r\n");
        TForm1 &form = fixture.start();
        QCOMPARE(form.OpenDialog1.offeredPath(), folderThere ? projects + '/' : QString());
        QCOMPARE(form.SaveDialog1.offeredPath(), form.OpenDialog1.offeredPath());

        const QString elsewhere = fixture.folder.filePath(QStringLiteral("shop.mpk"));
        fixture.desktop.answerWith(elsewhere);
        fixture.click(form.SpeedButton4);
        QCOMPARE(SavedFolders(fixture.ProgramFolder).value.project, fixture.folder.path());
        QCOMPARE(SavedFolders(fixture.ProgramFolder).value.page, QStringLiteral("/gone"));
    }
}

// What the desktop cannot open or start is said in a message box: what, and where a file lies.
void MainWindowFilesTest::openingSaysWhyItCannot_data()
{
    QTest::addColumn<QString>("button"); // help, home page, editor
    QTest::addColumn<bool>("helpThere");
    QTest::addColumn<QString>("homePage");
    QTest::addColumn<QString>("said"); // HELP stands for the path of the help page
    QTest::newRow("no browser for the help")
        << "help" << true << "" << "「help.html」を開くプログラム（ブラウザなど）が見つからないので、開けませんでした。ファイルは次の場所にあります。\nHELP";
    QTest::newRow("the help not there") << "help" << false << "" << "「help.html」が見つかりません。\nHELP";
    QTest::newRow("no browser for the home page")
        << "home page" << true << "http://example.jp/" << "「http://example.jp/」を開くブラウザが見つからないので、開けませんでした。";
    QTest::newRow("no home page") << "home page" << true << ""
                                  << "開くアドレスが設定されていません。「設定」で入力してください。";
    QTest::newRow("an editor that does not start")
        << "editor" << true << "" << "テキストエディタ「/bin/sh」を起動できませんでした。「設定」で確かめてください。";
}

void MainWindowFilesTest::openingSaysWhyItCannot()
{
    QFETCH(QString, button);
    QFETCH(bool, helpThere);
    QFETCH(QString, homePage);
    QFETCH(QString, said);
    MainWindowFixture fixture;
    const QString help = fixture.ProgramFolder + "help.html";
    if (helpThere)
        writeBytes(help, "<html></html>");
    TForm1 &form = fixture.start();
    fixture.desktop.messages.clear();
    fixture.desktop.handlerOpens = false;
    fixture.desktop.programsStart = false;
    fixture.toolSettings.HomePage = homePage.toLatin1();
    fixture.toolSettings.EditorProgram = StoredPath::fromChosen(QStringLiteral("/bin/sh"));
    fixture.click(button == "help" ? form.SpeedButton7
                  : button == "editor" ? form.SpeedButton9
                                       : form.SpeedButton11);
    QCOMPARE(fixture.desktop.messages, QStringList{QString(said).replace("HELP", help)});
}

QTEST_MAIN(MainWindowFilesTest)
#include "tst_main_window_files.moc"
