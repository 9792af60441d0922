#include "generator/page_generator.h"
#include "model/fonts.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/pattern_preview.h"
#include "model/project_file.h"
#include "ui/summary_panel.h"
#include "ui/tool_settings.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "ui/byte_line_edit.h"
#include "ui/item_editor.h"
#include "ui/main_window.h"

#include <QPushButton>
#include <QTimer>
#include <functional>

#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

// A program folder of its own for each case, with the shipped catalogue and patterns.
struct MainWindowFixture {
    MainWindowFixture()
    {
        programFolder = folder.path() + '/';
        const QDir data(dataFolder());
        for (const QString &name : data.entryList({"*.dat"}, QDir::Files))
            QFile::copy(data.filePath(name), programFolder + name);
    }

    TForm1 &start()
    {
        form = std::make_unique<TForm1>(page, state, catalogue, pattern, generator,
                                        toolSettings, programFolder, desktop);
        form->FormCreate();
        editor = std::make_unique<TForm3>(page, state, programFolder, desktop, form.get());
        TForm1::Dialogs dialogs;
        dialogs.itemEditor = editor.get();
        form->setDialogs(dialogs);
        return *form;
    }

    // Presses an item button; the editor that opens hands its heading to `inEditor`, which
    // then closes it.
    void openEditor(QPushButton *button, const std::function<void(TForm3 &)> &inEditor)
    {
        QTimer::singleShot(0, [this, &inEditor] {
            inEditor(*editor);
            if (editor->isVisible())
                editor->Button3Click();
        });
        QTest::mouseClick(button, Qt::LeftButton);
    }

    QImage preview() const { return form->Image3->pixmap().toImage(); }

    QTemporaryDir folder;
    QString programFolder;
    PageProject page;
    WorkingState state;
    PatternCatalogue catalogue;
    Pattern pattern;
    GeneratorState generator;
    ToolSettings toolSettings;
    RecordingDesktop desktop;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TForm3> editor;
};

bool sameImage(const QImage &a, const QImage &b)
{
    return a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void startUpShowsPatternOne();
    void startUpWithBrokenCatalogueStillHasDefaults();
    void startUpWithoutCatalogue();
    void startUpShowsTheBackgroundPicture_data();
    void startUpShowsTheBackgroundPicture();
    void newPageRestoresEverything();
    void steppersWrapRound_data();
    void steppersWrapRound();
    void pageButtons();
    void itemButtonsEditTheSlotShown();
    void titleBandMovesTheWindowWithTheLeftButton();
    void openingAProjectShowsIt();
    void toolbarWritesPageAndProject();
    void toolbarStartsAndOpens();
    void settingsFileAtStartAndEnd();
    void dialogFilters_data();
    void dialogFilters();
};

void MainWindowTest::startUpShowsPatternOne()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    QCOMPARE(form.windowTitle(), QStringLiteral("モペコ"));
    QCOMPARE(form.size(), QSize(680, 495));
    QVERIFY(fixture.catalogue.PatternCount >= 12);
    QCOMPARE(fixture.page.PatternNumber, 1);
    QVERIFY(fixture.pattern.PartCount > 2);
    QCOMPARE(fixture.preview().size(), QSize(170, 500));
    QVERIFY(sameImage(fixture.preview(), DrawPatternPreview(fixture.pattern, form.ImageList1)));
    QCOMPARE(form.Image3->size(), QSize(170, 500));
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void MainWindowTest::startUpWithBrokenCatalogueStillHasDefaults()
{
    MainWindowFixture fixture;
    writeBytes(fixture.programFolder + "trd.dat",
               crlfLines({"1", "ptn01.dat", "2", "ptn02.dat", "three", "ptn03.dat"}));
    fixture.start();
    QCOMPARE(fixture.desktop.messages, QStringList{"入力値が数値ではありません"});
    QCOMPARE(int(fixture.catalogue.PatternCount), 2);
    QCOMPARE(fixture.page.PatternNumber, 1);
    QCOMPARE(int(fixture.state.CurrentLink), 1);
    QVERIFY(fixture.pattern.PartCount > 0);
}

void MainWindowTest::startUpWithoutCatalogue()
{
    MainWindowFixture fixture;
    QFile::remove(fixture.programFolder + "trd.dat");
    fixture.start();
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(int(fixture.catalogue.PatternCount), 0);
    QCOMPARE(fixture.pattern.PartCount, 0);
    QImage white(170, 500, QImage::Format_RGB32);
    white.fill(Qt::white);
    QVERIFY(sameImage(fixture.preview(), white));
}

void MainWindowTest::startUpShowsTheBackgroundPicture_data()
{
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 30));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "JPG", 95));
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("picture") << jpeg << QSize(30, 20);
    QTest::newRow("cut short") << jpeg.left(jpeg.size() - 20) << QSize(30, 20);
    QTest::newRow("not a picture") << QByteArray("not a JPEG at all") << QSize(0, 0);
    QTest::newRow("empty") << QByteArray() << QSize(0, 0);
}

void MainWindowTest::startUpShowsTheBackgroundPicture()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, shown);
    MainWindowFixture fixture;
    writeBytes(fixture.programFolder + "bg.jpg", bytes);
    TForm1 &form = fixture.start();
    const QImage background = form.Image2->pixmap().toImage();
    QCOMPARE(background.size(), shown);
    if (QByteArray(QTest::currentDataTag()) == "picture")
        QVERIFY(qAbs(qRed(background.pixel(2, 2)) - 200) < 8);
    QVERIFY(fixture.desktop.messages.isEmpty());
    QCOMPARE(fixture.page.PatternNumber, 1);
}

void MainWindowTest::newPageRestoresEverything()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QImage patternOnePreview = fixture.preview();
    QTest::sendKeyEvent(QTest::Click, form.Edit1, Qt::Key_unknown, QStringLiteral("お店"), Qt::NoModifier);
    QCOMPARE(fixture.page.Title, sj("お店"));
    fixture.page.Links[6].LinkUsed = ToggleOn;
    fixture.page.SeparatorStyle = 4;
    fixture.state.CurrentLink = 7;
    fixture.state.CurrentImage = 2;
    form.loadPatternAndShow(3);
    QVERIFY(!sameImage(fixture.preview(), patternOnePreview));
    QCOMPARE(fixture.page.Links[6].LinkUsed, ToggleOn); // slots outlive the pattern

    fixture.form->ShowSummaryPage(3);
    QTest::mouseClick(form.SpeedButton2, Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QString());
    QCOMPARE(form.Button3->text(), QStringLiteral("画像1"));
    QCOMPARE(form.Button4->text(), QStringLiteral("テキスト　1"));
    QCOMPARE(form.Button5->text(), QStringLiteral("リンク1"));
    QCOMPARE(form.Button8->text(), QStringLiteral("直接入力1"));
    QCOMPARE(int(fixture.state.SummaryPage), 1);
    QTest::mouseClick(form.Button6, Qt::LeftButton);
    QCOMPARE(int(fixture.state.SummaryPage), 2);
    QCOMPARE(WriteProject(fixture.page), WriteProject(PageProject()));
    QCOMPARE(int(fixture.state.CurrentLink), 1);
    QCOMPARE(int(fixture.state.CurrentImage), 1);
    QCOMPARE(fixture.page.PatternNumber, 1);
    QVERIFY(sameImage(fixture.preview(), patternOnePreview));
}

void MainWindowTest::steppersWrapRound_data()
{
    QTest::addColumn<int>("stepper"); // 13 to 20, the number of the SpeedButton
    QTest::addColumn<int>("presses");
    QTest::addColumn<QString>("caption");
    QTest::newRow("image 2 to 1") << 13 << 2 << "画像1";
    QTest::newRow("image back to 2") << 17 << 1 << "画像2";
    QTest::newRow("text 5 to 1") << 14 << 5 << "テキスト　1";
    QTest::newRow("text back to 4") << 18 << 2 << "テキスト　4";
    QTest::newRow("link back to 10") << 19 << 1 << "リンク10";
    QTest::newRow("link to 7") << 15 << 6 << "リンク7";
    QTest::newRow("direct back to 3") << 20 << 1 << "直接入力3";
    QTest::newRow("direct 3 to 1") << 16 << 3 << "直接入力1";
}

void MainWindowTest::steppersWrapRound()
{
    QFETCH(int, stepper);
    QFETCH(int, presses);
    QFETCH(QString, caption);
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QImage summary = form.Image4->pixmap().toImage();
    const PageProject before = fixture.page;
    const QList<QToolButton *> steppers{form.SpeedButton13, form.SpeedButton14,
                                        form.SpeedButton15, form.SpeedButton16,
                                        form.SpeedButton17, form.SpeedButton18,
                                        form.SpeedButton19, form.SpeedButton20};
    QToolButton *button = steppers[stepper - 13];
    for (int press = 0; press < presses; ++press)
        QTest::mouseClick(button, Qt::LeftButton);
    const QStringList captions{form.Button3->text(), form.Button4->text(), form.Button5->text(),
                               form.Button8->text()};
    QVERIFY2(captions.contains(caption), qPrintable(captions.join(',')));
    QCOMPARE(WriteProject(fixture.page), WriteProject(before));
    QVERIFY(sameImage(form.Image4->pixmap().toImage(), summary));
}

void MainWindowTest::pageButtons()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QList<QPair<QPushButton *, int>> presses{
        {form.Button9, 4}, {form.Button6, 1}, {form.Button6, 2}, {form.Button10, 3},
        {form.Button6, 4}, {form.Button11, 1}, {form.Button12, 2}};
    for (const auto &[button, page] : presses) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(int(fixture.state.SummaryPage), page);
        QVERIFY(sameImage(form.Image4->pixmap().toImage(), DrawSummaryPage(fixture.page, page)));
    }
}

void MainWindowTest::itemButtonsEditTheSlotShown()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    for (int press = 0; press < 6; ++press)
        QTest::mouseClick(form.SpeedButton15, Qt::LeftButton);
    QTest::mouseClick(form.Button10, Qt::LeftButton); // the texts page is shown
    QString heading;
    fixture.openEditor(form.Button5, [&](TForm3 &editor) {
        heading = editor.windowTitle();
        editor.Edit1->setText(QStringLiteral("七番"));
        editor.CheckBox1->setChecked(false);
        editor.Button2Click();
    });
    QCOMPARE(heading, QStringLiteral("リンク　7"));
    QCOMPARE(fixture.page.Links[6].LinkCaption, sj("七番"));
    QCOMPARE(int(fixture.state.SummaryPage), 3); // the page shown is drawn again
    QVERIFY(sameImage(form.Image4->pixmap().toImage(), DrawSummaryPage(fixture.page, 3)));

    fixture.openEditor(form.Button2, [&](TForm3 &editor) { heading = editor.windowTitle(); });
    QCOMPARE(heading, QStringLiteral("文章"));
    QCOMPARE(fixture.state.EditKind, ItemKind::Body);
}

void MainWindowTest::titleBandMovesTheWindowWithTheLeftButton()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    form.move(100, 100);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint start = form.pos();
    QTest::mousePress(form.Image1, Qt::RightButton, {}, QPoint(50, 5));
    QTest::mouseMove(form.Image1, QPoint(90, 25));
    QCOMPARE(form.pos(), start);
    QTest::mouseRelease(form.Image1, Qt::RightButton, {}, QPoint(90, 25));
    // Where the desktop cannot move the window, it follows the mouse itself.
    QTest::mousePress(form.Image1, Qt::LeftButton, {}, QPoint(50, 5));
    if (!fixture.form->windowHandle()->startSystemMove()) {
        QMouseEvent move(QEvent::MouseMove, QPointF(90, 25),
                         QPointF(form.Image1->mapToGlobal(QPoint(90, 25))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.Image1, &move);
        QCOMPARE(form.pos(), start + QPoint(40, 20));
    }
    QTest::mouseRelease(form.Image1, Qt::LeftButton, {}, QPoint(90, 25));
}

void MainWindowTest::openingAProjectShowsIt()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    for (int press = 0; press < 6; ++press)
        QTest::mouseClick(form.SpeedButton15, Qt::LeftButton);
    PageProject stored;
    stored.Title = sj("地図のページ");
    stored.PatternNumber = 4;
    stored.Links[6] = {"seven", "7.html", ToggleOn, ToggleOff, ToggleOff, ToggleOff};
    const QString path = fixture.folder.filePath("stored.mpk");
    writeBytes(path, WriteProject(stored));
    fixture.desktop.answerWith(path);
    QTest::mouseClick(form.SpeedButton5, Qt::LeftButton);
    QCOMPARE(form.Edit1->text(), QStringLiteral("地図のページ"));
    QCOMPARE(fixture.page.Links[6].LinkCaption, QByteArray("seven"));
    QCOMPARE(int(fixture.state.CurrentLink), 7);
    QCOMPARE(form.Button5->text(), QStringLiteral("リンク7"));
    QCOMPARE(int(fixture.state.SummaryPage), 1);
    QCOMPARE(fixture.page.PatternNumber, 4);
    QString caption;
    fixture.openEditor(form.Button5, [&](TForm3 &editor) { caption = editor.Edit1->text(); });
    QCOMPARE(caption, QStringLiteral("seven"));
    const Pattern shown = fixture.pattern;
    QVERIFY(sameImage(fixture.preview(), DrawPatternPreview(shown, form.ImageList1)));

    // A pattern number without a file keeps the parts in force; the number stays the file's.
    stored.PatternNumber = 42;
    writeBytes(path, WriteProject(stored));
    fixture.desktop.answerWith(path);
    QTest::mouseClick(form.SpeedButton5, Qt::LeftButton);
    QCOMPARE(fixture.page.PatternNumber, 42);
    QCOMPARE(fixture.pattern.PartCount, shown.PartCount);
    QCOMPARE(fixture.pattern.Comment, shown.Comment);
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void MainWindowTest::toolbarWritesPageAndProject()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    QTest::keyClicks(form.Edit1, QStringLiteral("Shop"));
    const QString page = fixture.folder.filePath("index.html");
    const QString project = fixture.folder.filePath("shop.mpk");
    fixture.desktop.answerWith(page);
    QTest::mouseClick(form.SpeedButton3, Qt::LeftButton);
    QVERIFY(readBytes(page).startsWith("<HTML><HEAD><TITLE>Shop</TITLE></HEAD>\r\n<BODY>\r\n"));
    fixture.desktop.answerWith(project);
    QTest::mouseClick(form.SpeedButton4, Qt::LeftButton);
    QCOMPARE(splitCrlf(readBytes(project)).value(2), QByteArray("Shop"));
    QCOMPARE(fixture.desktop.dialogs.size(), 2);
    QCOMPARE(fixture.desktop.dialogs[0].defaultExtension, QStringLiteral("html"));
    QCOMPARE(fixture.desktop.dialogs[1].filter, QStringLiteral("プロジェクトファイル(*.mpk)|*.mpk"));
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void MainWindowTest::toolbarStartsAndOpens()
{
    MainWindowFixture fixture;
    writeBytes(fixture.programFolder + "set.dat",
               crlfLines({"", sj("/opt/エディタ/edit -n"), "", " http://example.jp/ "}));
    TForm1 &form = fixture.start();
    for (QToolButton *button : {form.SpeedButton8, form.SpeedButton9, form.SpeedButton7,
                                form.SpeedButton11})
        QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(fixture.desktop.started, (QStringList{"", "/opt/エディタ/edit -n"}));
    QCOMPARE(fixture.desktop.opened,
             (QStringList{fixture.programFolder + "help.html", " http://example.jp/ "}));
    fixture.toolSettings.HomePage.clear();
    QTest::mouseClick(form.SpeedButton11, Qt::LeftButton);
    QCOMPARE(fixture.desktop.opened.last(), QString());
    QVERIFY(fixture.desktop.messages.isEmpty());
}

void MainWindowTest::settingsFileAtStartAndEnd()
{
    MainWindowFixture fixture;
    writeBytes(fixture.programFolder + "set.dat", crlfLines({"ftp", "", "", "", "kept", "x"}));
    TForm1 &form = fixture.start();
    QCOMPARE(fixture.desktop.messages, QStringList{"入力値が数値ではありません"});
    QCOMPARE(fixture.toolSettings.FtpProgram, QByteArray("ftp"));
    QCOMPARE(int(fixture.state.SummaryPage), 1);
    QVERIFY(!form.Image4->pixmap().isNull());
    form.FormDestroy();
    QCOMPARE(readBytes(fixture.programFolder + "set.dat"),
             crlfLines({"ftp", "", "", "", "kept", "0", "0"}));

    // A program folder that cannot be written: the message, and the old file stays.
    QVERIFY(QFile::setPermissions(fixture.folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    fixture.toolSettings.FtpProgram = "changed";
    {
        WithoutAccessOverride asUser;
        form.FormDestroy();
    }
    QVERIFY(QFile::setPermissions(fixture.folder.path(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(fixture.desktop.messages.last(), QStringLiteral("ファイルへのアクセスが拒否されました"));
    QVERIFY(readBytes(fixture.programFolder + "set.dat").startsWith("ftp\r\n"));
}

void MainWindowTest::dialogFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qtFilter");
    QTest::newRow("html") << "HTMLファイル(*.html)|*.html|すべてのファイル(*.*)|*.*"
                          << "HTMLファイル(*.html);;すべてのファイル(*)";
    QTest::newRow("project") << "プロジェクトファイル(*.mpk)|*.mpk" << "プロジェクトファイル(*.mpk)";
}

void MainWindowTest::dialogFilters()
{
    QFETCH(QString, filter);
    QFETCH(QString, qtFilter);
    QCOMPARE(qtNameFilters(filter), qtFilter);
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
