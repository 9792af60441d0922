#include "app/program.h"
#include "drawings/fonts.h"
#include "drawings/pattern_preview.h"
#include "imode/handsets.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "page/project_file.h"
#include "settings/program_settings.h"
#include "settings/tool_settings.h"
#include "support/main_window_fixture.h"
#include "support/picture_fitting_steps.h"
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
#include <QComboBox>
#include <QDir>
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

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void startUp_data();
    void startUp();
    void steppersAndSummaryButtons();
    void titleBandMovesTheWindowWithTheLeftButton();
    void checkWindowWrapsAndKeepsItsSize();
    void handsetListAndTypedNames();
    void pictureConvertedInTheEditorIsStoredWithIt_data();
    void pictureConvertedInTheEditorIsStoredWithIt();
    void pageCheckFollowsThePage();
    void itemThePatternHasNoPlaceFor();
    void phonePreviewFollowsThePage();
    void focusOrder();
    void titlePictograms();
};

void MainWindowTest::startUp_data()
{
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 30));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(picture.save(&buffer, "JPG", 95));
    const int shipped = int(splitCrlf(readBytes(dataFolder() + "trd.dat")).size() / 2);
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes"); // a null array removes the file
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("patterns");
    QTest::addColumn<QSize>("background");
    QTest::newRow("catalogue with a bad number")
        << "trd.dat" << crlfLines({"1", "ptn01.dat", "2", "ptn02.dat", "three", "ptn03.dat"})
        << "入力値が数値ではありません\n%1trd.dat の 5 行目" << 2 << QSize(0, 0);
    // A pipe in place of a file must not hold the start.
    QTest::newRow("settings pipe") << "set.dat" << QByteArray("pipe") << "" << shipped << QSize(0, 0);
    QTest::newRow("catalogue pipe") << "trd.dat" << QByteArray("pipe") << "" << 0 << QSize(0, 0);
    QTest::newRow("picture pipe") << "bg.jpg" << QByteArray("pipe") << "" << shipped << QSize(0, 0);
    QTest::newRow("no catalogue") << "trd.dat" << QByteArray() << "" << 0 << QSize(0, 0);
    QTest::newRow("picture") << "bg.jpg" << jpeg << "" << shipped << QSize(30, 20);
    // Its rows past the cut would be grey: no background rather than a broken one.
    QTest::newRow("cut short") << "bg.jpg" << jpeg.left(jpeg.size() - 20) << "" << shipped
                               << QSize(0, 0);
    QTest::newRow("not a picture") << "bg.jpg" << QByteArray("not a JPEG at all") << "" << shipped
                                   << QSize(0, 0);
    QTest::newRow("empty picture") << "bg.jpg" << QByteArray("") << "" << shipped << QSize(0, 0);
}

// A start-up step that fails shows its message and the later ones still run: the page always
// starts new, with pattern 1 and the first summary page shown.
void MainWindowTest::startUp()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QFETCH(int, patterns);
    QFETCH(QSize, background);
    MainWindowFixture fixture;
    const QString path = fixture.ProgramFolder + file;
    QFile::remove(path);
    if (bytes == "pipe")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (!bytes.isNull())
        writeBytes(path, bytes);
    TForm1 &form = fixture.start();
    QCOMPARE(fixture.desktop.messages.join('|'), QString(message).replace("%1", fixture.ProgramFolder));
    QCOMPARE(int(fixture.catalogue.PatternCount), patterns);
    QCOMPARE(fixture.pattern.PartCount > 0, patterns > 0);
    QVERIFY(sameImage(fixture.preview(), DrawPatternPreview(fixture.pattern, form.ImageList1)));
    QCOMPARE(WriteProject(fixture.page), WriteProject(PageProject()));
    QCOMPARE(int(fixture.state.SummaryPage), 1);
    QVERIFY(sameImage(fixture.summary(), DrawSummaryPage(fixture.page, 1)));
    const QImage shown = form.Image2->pixmap().toImage();
    QCOMPARE(shown.size(), background);
    if (QByteArray(QTest::currentDataTag()) == "picture")
        QVERIFY(qAbs(qRed(shown.pixel(2, 2)) - 200) < 8);
}

// The item steppers wrap round and the summary buttons choose a page; neither changes the page.
void MainWindowTest::steppersAndSummaryButtons()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    const QImage summary = fixture.summary();
    const QByteArray before = WriteProject(fixture.page);
    // Each stepper's hint names what it steps through.
    for (const auto &[button, stepped] : {std::pair{form.SpeedButton13, "次の画像"}, {form.SpeedButton17, "前の画像"},
                                          {form.SpeedButton14, "次のテキスト"}, {form.SpeedButton18, "前のテキスト"},
                                          {form.SpeedButton15, "次のリンク"}, {form.SpeedButton19, "前のリンク"},
                                          {form.SpeedButton16, "次の直接入力"}, {form.SpeedButton20, "前の直接入力"}})
        QVERIFY2(button->toolTip().startsWith(QString::fromUtf8(stepped)), qPrintable(button->toolTip()));
    const QList<std::tuple<QToolButton *, int, QString>> steps{
        {form.SpeedButton13, 2, "画像1 テキスト　1 リンク1 直接入力1"},
        {form.SpeedButton17, 1, "画像2 テキスト　1 リンク1 直接入力1"},
        {form.SpeedButton14, 5, "画像2 テキスト　1 リンク1 直接入力1"},
        {form.SpeedButton18, 2, "画像2 テキスト　4 リンク1 直接入力1"},
        {form.SpeedButton19, 1, "画像2 テキスト　4 リンク10 直接入力1"},
        {form.SpeedButton15, 7, "画像2 テキスト　4 リンク7 直接入力1"},
        {form.SpeedButton20, 1, "画像2 テキスト　4 リンク7 直接入力3"},
        {form.SpeedButton16, 1, "画像2 テキスト　4 リンク7 直接入力1"}};
    for (const auto &[stepper, presses, captions] : steps) {
        fixture.click(stepper, presses);
        QCOMPARE(fixture.captions().join(' '), captions);
    }
    QVERIFY(sameImage(fixture.summary(), summary));
    const QList<QPair<QPushButton *, int>> presses{
        {form.Button9, 4}, {form.Button6, 1}, {form.Button6, 2}, {form.Button10, 3},
        {form.Button6, 4}, {form.Button11, 1}, {form.Button12, 2}};
    for (const auto &[button, page] : presses) {
        fixture.click(button);
        QCOMPARE(int(fixture.state.SummaryPage), page);
        QVERIFY(sameImage(fixture.summary(), DrawSummaryPage(fixture.page, page)));
    }
    QCOMPARE(WriteProject(fixture.page), before);
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
    if (!form.windowHandle()->startSystemMove()) {
        QMouseEvent move(QEvent::MouseMove, QPointF(90, 25),
                         QPointF(form.Image1->mapToGlobal(QPoint(90, 25))), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.Image1, &move);
        QCOMPARE(form.pos(), start + QPoint(40, 20));
    }
    QTest::mouseRelease(form.Image1, Qt::LeftButton, {}, QPoint(90, 25));
}

// "携帯向けに変換…" in the image editor writes the picture and puts its name into the box; the
// editor's "決定" stores it, its "取消" leaves the page and the folder as they were.
void MainWindowTest::pictureConvertedInTheEditorIsStoredWithIt_data()
{
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("gifThereBefore");
    QTest::newRow("決定") << true << false;
    QTest::newRow("取消") << false << false;
    QTest::newRow("取消 after replacing a picture") << false << true;
}

void MainWindowTest::pictureConvertedInTheEditorIsStoredWithIt()
{
    QFETCH(bool, stored);
    QFETCH(bool, gifThereBefore);
    MainWindowFixture fixture;
    QImage photo(400, 300, QImage::Format_RGB32);
    photo.fill(QColor(200, 120, 40));
    writeBytes(fixture.folder.filePath(QStringLiteral("photo.png")), encodedPicture(photo, "PNG"));
    if (gifThereBefore)
        writeBytes(fixture.folder.filePath(QStringLiteral("photo.gif")), "an older picture");
    fixture.desktop.yesAnswers = {true};
    TForm1 &form = fixture.start();
    QVERIFY(fixture.handsetChoice.choose(QStringLiteral("D502i")).isEmpty());
    fixture.session.location.ProjectFolder = fixture.folder.path();
    fixture.page.Images[0].ImageUrl = "photo.png";
    const QMap<QString, QByteArray> before = [&] {
        QMap<QString, QByteArray> files;
        for (const QString &name : QDir(fixture.folder.path()).entryList(QDir::Files))
            files.insert(name, readBytes(fixture.folder.filePath(name)));
        return files;
    }();
    fixture.openEditor(form.Button3, [&](TForm3 &editor) {
        whenMade(form.dialogs.pictureFitting());
        editor.fitButton->click();
        QCOMPARE(editor.Edit1->text(), QStringLiteral("photo.gif"));
        QCOMPARE(fixture.page.Images[0].ImageUrl, QByteArray("photo.png")); // not stored yet
        if (stored)
            editor.Button2Click();
    });
    QCOMPARE(fixture.page.Images[0].ImageUrl, stored ? QByteArray("photo.gif") : QByteArray("photo.png"));
    const QString gif = fixture.folder.filePath(QStringLiteral("photo.gif"));
    if (stored) {
        QVERIFY(readBytes(gif).startsWith("GIF8"));
        return;
    }
    QMap<QString, QByteArray> after;
    for (const QString &name : QDir(fixture.folder.path()).entryList(QDir::Files))
        after.insert(name, readBytes(fixture.folder.filePath(name)));
    after.remove(QStringLiteral("mopeco.ini")); // the handset chosen
    QMap<QString, QByteArray> expected = before;
    expected.remove(QStringLiteral("mopeco.ini"));
    QCOMPARE(after.keys(), expected.keys());
    QCOMPARE(after, expected);
}

// The meter follows every change at once and warns near and past the handset's limit; the
// handset chosen is kept for the next run; a finding opens the editor on its slot.
void MainWindowTest::pageCheckFollowsThePage()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    PageCheckPanel &check = *form.pageCheck;
    QCOMPARE(check.meter->text(), QString()); // the first check follows the first paint
    form.show();
    QTRY_COMPARE(check.meter->text(), QStringLiteral("0.1 / 10 KB"));
    QTest::keyClicks(form.Edit1, QString(500, QLatin1Char('a')));
    QCOMPARE(check.meter->text(), QStringLiteral("0.6 / 10 KB"));
    QCOMPARE(check.meter->level(), SizeMeter::Level::Fits);

    emit check.handsetBox->activated(check.handsetBox->findText(QStringLiteral("D501i")));
    QCOMPARE(check.handsetBox->currentText(), QStringLiteral("D501i"));
    QCOMPARE(SavedHandsetName(fixture.ProgramFolder).value, QStringLiteral("D501i"));
    fixture.page.Texts[0] = {QByteArray(3600, 'a'), ToggleOn};
    check.checkAgain();
    QCOMPARE(check.meter->level(), SizeMeter::Level::Near);
    fixture.page.Texts[0] = {QByteArray(4600, 'a'), ToggleOn};
    check.checkAgain();
    QCOMPARE(check.meter->level(), SizeMeter::Level::Over);
    QCOMPARE(check.findingCount->text(), QStringLiteral("エラー 1"));

    // A button that changes nothing checks nothing again; a change of the page does.
    fixture.page.Texts[0] = {"a", ToggleOn};
    fixture.click(form.Button11);
    fixture.click(form.SpeedButton13);
    QCOMPARE(check.meter->level(), SizeMeter::Level::Over);
    fixture.changes.announce(PageChanges::Change::Page);
    QCOMPARE(check.meter->level(), SizeMeter::Level::Fits);
    // Text 3 of pattern 1, filled but left unused: its finding opens its editor.
    fixture.page.Texts[0] = {QByteArray(4600, 'a'), ToggleOn};
    fixture.page.Texts[2] = {"later", ToggleOff};
    fixture.changes.announce(PageChanges::Change::Page);
    QStringList rows;
    QString heading;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<PageCheckWindow *>(QApplication::activeModalWidget());
        QVERIFY(window);
        for (int row = 0; row < window->list->topLevelItemCount(); ++row)
            rows << window->list->topLevelItem(row)->text(0) + ' ' + window->list->topLevelItem(row)->text(1);
        QTimer::singleShot(0, [&] {
            heading = QApplication::activeModalWidget()->windowTitle();
            form.dialogs.itemEditor().Button3Click();
        });
        const QList<QTreeWidgetItem *> found = window->list->findItems("テキスト 3", Qt::MatchExactly, 1);
        QCOMPARE(found.size(), 1);
        emit window->list->itemClicked(found.first(), 0);
    });
    fixture.click(check.meter);
    QCOMPARE(rows.first(), QStringLiteral("エラー ページ"));
    QVERIFY(rows.contains(QStringLiteral("お知らせ テキスト 3")));
    QCOMPARE(heading, QStringLiteral("テキスト　3"));
    QCOMPARE(form.Button4->text(), QStringLiteral("テキスト　3"));
}

// 画像2 filled in a pattern without it: the band warns, and the check names the item and the
// pattern; a notice alone is counted too, quietly, so "問題なし" means the check's list is empty.
void MainWindowTest::itemThePatternHasNoPlaceFor()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.startShown();
    PageCheckPanel &check = *form.pageCheck;
    QTRY_COMPARE(check.findingCount->text(), QStringLiteral("問題なし"));
    fixture.page.Images[1] = {"shop.gif", {}, ToggleOn, ToggleOff, ToggleOff};
    fixture.changes.announce(PageChanges::Change::Page);
    QCOMPARE(check.findingCount->text(), QStringLiteral("警告 1"));
    QString said;
    QTimer::singleShot(0, [&] {
        auto *window = qobject_cast<PageCheckWindow *>(QApplication::activeModalWidget());
        QVERIFY(window);
        const QList<QTreeWidgetItem *> found = window->list->findItems("画像2", Qt::MatchExactly, 1);
        QCOMPARE(found.size(), 1);
        said = found.first()->text(0) + ' ' + found.first()->text(2);
        window->close();
    });
    fixture.click(check.findingCount);
    QVERIFY2(said.startsWith(QStringLiteral("警告 今の型（%1番）には画像2がない").arg(fixture.page.PatternNumber)),
             qPrintable(said));

    fixture.page.Images[1].ImageUsed = ToggleOff;
    fixture.page.Texts[2] = {"later", ToggleOff};
    fixture.changes.announce(PageChanges::Change::Page);
    QCOMPARE(check.findingCount->text(), QStringLiteral("お知らせ 1"));
    QVERIFY(check.findingCount->palette().color(QPalette::ButtonText) != QColor(0, 0, 160));
}

// The preview, once open, follows the title as it is typed and a new page; its handset box and
// the meter's are one choice.
void MainWindowTest::phonePreviewFollowsThePage()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    PageCheckPanel &check = *form.pageCheck;
    QVERIFY(!check.previewWindow); // made on first use
    fixture.click(form.previewButton);
    PhonePreviewWindow &preview = *check.previewWindow;
    QVERIFY(preview.isVisible());
    QVERIFY(!preview.isModal());
    QTest::keyClicks(form.Edit1, QStringLiteral("Shop"));
    QCOMPARE(preview.phone.translated().title.html(), QStringLiteral("Shop"));
    fixture.click(form.SpeedButton2); // "新規作成"
    QCOMPARE(preview.phone.translated().title.html(), QString());

    emit preview.handsetBox->activated(preview.handsetBox->findText(QStringLiteral("D501i")));
    QCOMPARE(check.handsetBox->currentText(), QStringLiteral("D501i"));
    QCOMPARE(preview.phone.screenSize(), QSize(96, 72));
    QVERIFY(check.meter->text().endsWith(QStringLiteral("/ 5 KB")));
}

// Tab walks the controls in the window's order, the page check's band by its handset box.
void MainWindowTest::focusOrder()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    form.show();
    QList<QWidget *> walked;
    walked << form.ScrollBox1;
    for (QWidget *next = form.ScrollBox1->nextInFocusChain();
         next != form.ScrollBox1 && walked.size() < 40; next = next->nextInFocusChain())
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(&form) && !next->focusProxy())
            walked << next;
    const QList<QWidget *> expected{
        form.ScrollBox1, form.Button6, form.Button9, form.Button10, form.Button11,
        form.Button12,   form.Button1, form.Button2, form.Button3,  form.Button4,
        form.Button5,    form.Button8, form.Edit1,   form.Button7,  form.pageCheck->handsetBox,
        form.previewButton};
    QCOMPARE(walked.mid(0, expected.size()), expected);
}

// The title shows its pictograms as pictures and keeps each in its form through an edit; the
// palette's button beside it covers no other control.
void MainWindowTest::titlePictograms()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    PageProject stored;
    stored.Title = sj("地図") + "\xF8\x9F&#63647;\xF9\xBF";
    const QString path = fixture.folder.filePath("stored.mpk");
    writeBytes(path, WriteProject(stored));
    fixture.desktop.answerWith(path);
    fixture.click(form.SpeedButton5);
    QCOMPARE(form.Edit1->text(), QStringLiteral("地図☀☀👑"));
    form.Edit1->setFocus();
    form.Edit1->moveCursor(QTextCursor::End);
    QTest::sendKeyEvent(QTest::Click, form.Edit1, Qt::Key_unknown, QStringLiteral("☔"), Qt::NoModifier);
    QCOMPARE(fixture.page.Title, stored.Title + "&#63649;");

    const auto *paletteButton = form.findChild<PictogramPaletteButton *>();
    QVERIFY(paletteButton && !paletteButton->isHidden());
    // The background picture lies under everything.
    for (const QWidget *control : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (control != paletteButton && !control->isHidden() && control->width() < form.width())
            QVERIFY2(!control->geometry().intersects(paletteButton->geometry()),
                     control->metaObject()->className());
}

// The handsets by generation under headings, each version's series before its models, one
// spelling for each name; a name typed is chosen when it is a handset and said so when not.
void MainWindowTest::handsetListAndTypedNames()
{
    MainWindowFixture fixture;
    TForm1 &form = fixture.start();
    HandsetBox &box = *form.pageCheck->handsetBox;
    box.showChoice();
    int version = 0;
    bool modelsBegun = false;
    QStringList headings;
    for (int row = 0; row < box.count(); ++row) {
        const QString name = box.itemText(row);
        if (box.itemData(row).toBool()) {
            headings << name;
            const int next = qRound(name.section(' ', 1, 1).toDouble() * 10);
            QVERIFY2(next > version, qPrintable(name));
            version = next;
            modelsBegun = false;
            continue;
        }
        const std::optional<Handset> handset = FindHandset(name);
        QVERIFY2(handset && handset->htmlVersion == version, qPrintable(name));
        QVERIFY2(!(handset->isSeries && modelsBegun), qPrintable(name));
        modelsBegun = !handset->isSeries;
        QVERIFY2(!QRegularExpression(QStringLiteral("^FOMA\\S")).match(name).hasMatch(), qPrintable(name));
    }
    QCOMPARE(headings.value(0), QStringLiteral("HTML 1.0 · 501i"));

    const auto type = [&box](const QString &text) {
        box.lineEdit()->setText(text);
        emit box.lineEdit()->returnPressed();
    };
    type(QStringLiteral(" sh505I "));
    QCOMPARE(fixture.handsetChoice.handset().name, QStringLiteral("SH505i"));
    QCOMPARE(box.currentText(), QStringLiteral("SH505i"));
    QCOMPARE(box.note(), QString());
    type(QStringLiteral("SH9999"));
    QCOMPARE(fixture.handsetChoice.handset().name, QStringLiteral("SH505i"));
    QCOMPARE(box.currentText(), QStringLiteral("SH9999"));
    QVERIFY(box.note().startsWith(QStringLiteral("「SH9999」という機種はありません")));
    type(QStringLiteral("SH505"));
    QCOMPARE(box.note(), QStringLiteral("「SH505」という機種はありません（SH505i？）"));
    type(QStringLiteral("foma2051"));
    QCOMPARE(fixture.handsetChoice.handset().name, QStringLiteral("FOMA 2051"));
    QCOMPARE(box.note(), QString());
}

// A long finding is read whole on its lines, in a window made larger, which keeps its size.
void MainWindowTest::checkWindowWrapsAndKeepsItsSize()
{
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    RecordingDesktop desktop;
    PageCheckResult result;
    result.findings.append({Severity::Warning, FindingKind::ImageTooWide, {}, true, {},
                            QString(12, QChar(u'長')) + QString(80, QChar(u'い'))});
    result.findings.append({Severity::Notice, FindingKind::BodyEncodingRead, {}, true, {},
                            QStringLiteral("短い")});
    const auto rowHeights = [](PageCheckWindow &window) {
        return std::pair(window.list->visualItemRect(window.list->topLevelItem(0)).height(),
                         window.list->visualItemRect(window.list->topLevelItem(1)).height());
    };
    {
        PageCheckWindow window({}, {}, {}, programFolder, desktop);
        window.showResult(result, *FindHandset(QStringLiteral("D502i")));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto [longRow, shortRow] = rowHeights(window);
        QVERIFY2(longRow >= 2 * shortRow, qPrintable(QStringLiteral("%1 %2").arg(longRow).arg(shortRow)));
        window.resize(760, 500);
        QCOMPARE(window.list->width(), 760 - 24);
        QVERIFY(rowHeights(window).first < longRow); // fewer lines at the new width
        window.done(QDialog::Accepted);
    }
    PageCheckWindow again({}, {}, {}, programFolder, desktop);
    QCOMPARE(again.size(), QSize(760, 500));
    // A size no screen holds is kept within the screen.
    QVERIFY(SaveCheckWindowSize(programFolder, QSize(16000, 16000)).isEmpty());
    QVERIFY(PageCheckWindow({}, {}, {}, programFolder, desktop).size().width() <= 800);
    QCOMPARE(desktop.warnings, QStringList());
}

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
