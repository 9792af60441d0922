#include "imode/pictogram_text.h"
#include "imode/pictograms.h"
#include "settings/program_settings.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "widgets/pictogram_grid.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/pictogram_palette.h"
#include "widgets/pictogram_palette_button.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const Pictogram &numbered(const QString &number)
{
    for (const Pictogram &pictogram : Pictograms())
        if (pictogram.number == number)
            return pictogram;
    qFatal("no pictogram numbered %s", qPrintable(number));
}

// Puts text in as the desktop's emoji picker or an input method does: in one go.
void typeIn(QWidget *box, const QString &text)
{
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, text, Qt::NoModifier);
}

QStringList names(const QList<const Pictogram *> &pictograms)
{
    QStringList found;
    for (const Pictogram *pictogram : pictograms)
        found << pictogram->name;
    return found;
}

// What lies where the settings file is looked for.
enum class SettingsPlace { Nothing, File, Pipe, Folder, FileInReadOnlyFolder, FolderIsAFile };

} // namespace

class PictogramsTest : public QObject {
    Q_OBJECT

private slots:
    void insertedInTheFormHandsetsRead_data();
    void insertedInTheFormHandsetsRead();
    void bothFormsComeBackByteForByte();
    void typedEmoji_data();
    void typedEmoji();
    void nameFilter_data();
    void nameFilter();
    void readingsInHiragana();
    void paletteFromItsButton();
    void settingsFile_data();
    void settingsFile();
};

void PictogramsTest::insertedInTheFormHandsetsRead_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("first basic") << "1" << QByteArray("&#63647;");         // F89F
    QTest::newRow("keypad 1") << "125" << QByteArray("&#63879;");          // F987
    QTest::newRow("badge") << "108" << QByteArray("&#63861;");             // F975
    QTest::newRow("last basic") << "176" << QByteArray("&#63838;");        // F95E
    QTest::newRow("first extended") << "E1" << QByteArray("\xF9\xB1");
    QTest::newRow("crown") << "E15" << QByteArray("\xF9\xBF");
    QTest::newRow("last extended") << "E76" << QByteArray("\xF9\xFC");
}

// A basic pictogram goes in as its decimal reference, an extended one as its raw code, at the
// cursor, between what was there.
void PictogramsTest::insertedInTheFormHandsetsRead()
{
    QFETCH(QString, number);
    QFETCH(QByteArray, written);
    const Pictogram &pictogram = numbered(number);
    QCOMPARE(PictogramBytes(pictogram), written);
    PictogramLineEdit box;
    box.setBytes(sj("あい"));
    box.moveCursor(QTextCursor::Start);
    box.moveCursor(QTextCursor::NextCharacter);
    box.insertPictogram(pictogram);
    QCOMPARE(box.bytes(), sj("あ") + written + sj("い"));
    QCOMPARE(PictogramRuns(box.bytes()).value(1).pictogram, &pictogram);
}

// A text holding pictograms in both forms, and an extended one's decimal reference that
// handsets show as text, keeps every byte through showing, editing elsewhere, deleting, and
// copying into another box; bytes that are not Shift-JIS survive while the text is untouched.
void PictogramsTest::bothFormsComeBackByteForByte()
{
    const QByteArray stored = "\xF8\x9F" + sj("晴れ") + "&#63647;" + sj("と") + "\xF9\xBF"
                              + "&#63935;" + "&#63648" + sj("曇");
    PictogramLineEdit box;
    QSignalSpy edited(&box, &PictogramLineEdit::textEdited);
    box.setBytes(stored + "\x81\xFF");
    box.resize(300, 24);
    box.show();
    box.setFont(QFont(box.font().family(), 20));
    QCOMPARE(edited.size(), 0); // only the user edits
    QCOMPARE(box.bytes(), stored + "\x81\xFF");
    QCOMPARE(box.text().left(4), QStringLiteral("☀晴れ☀"));

    box.setBytes(stored);
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "!");
    QCOMPARE(box.bytes(), stored + "!");
    box.moveCursor(QTextCursor::Start);
    QTest::keyClick(&box, Qt::Key_Delete); // a pictogram goes as a whole, in either form
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.bytes(), stored.mid(2, 4) + stored.mid(14) + "!");

    PictogramLineEdit other;
    box.setBytes(stored);
    box.selectAll();
    box.copy();
    other.setBytes("<");
    other.moveCursor(QTextCursor::End);
    other.paste();
    QCOMPARE(other.bytes(), "<" + stored);
    // Elsewhere the copy reads as the pictograms' Unicode equivalents.
    QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("☀晴れ☀と👑")));

    QTest::keyClick(&other, Qt::Key_Return); // one line: Enter is the dialog's
    QCOMPARE(other.bytes(), "<" + stored);

    // A title of 4,000 pictograms, as a project may hold, is shown and edited whole.
    const QByteArray many = QByteArray("\xF8\x9F&#63647;").repeated(2000);
    box.setBytes(many);
    box.moveCursor(QTextCursor::End);
    QTest::keyClicks(&box, "!");
    QCOMPARE(box.bytes(), many + "!");
    QCOMPARE(box.text().size(), 4001);
}

void PictogramsTest::typedEmoji_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("pictures");
    QTest::newRow("sun") << "☀" << QByteArray("&#63647;") << 1;
    QTest::newRow("sun as emoji") << "☀\uFE0F" << QByteArray("&#63647;") << 1;
    QTest::newRow("keycap") << "1\u20E3" << QByteArray("&#63879;") << 1;
    QTest::newRow("keycap as emoji") << "1\uFE0F\u20E3" << QByteArray("&#63879;") << 1;
    QTest::newRow("extended") << "👑" << QByteArray("\xF9\xBF") << 1;
    QTest::newRow("in a sentence") << "晴れ☀のち☁" << sj("晴れ&#63647;のち&#63648;") << 2;
    QTest::newRow("digit alone") << "1" << QByteArray("1") << 0;
    QTest::newRow("no equivalent") << "😀" << QByteArray("&#128512;") << 0;
    QTest::newRow("not Shift-JIS") << "é" << QByteArray("&#233;") << 0;
}

// An emoji with an i-mode equivalent becomes that pictogram, shown as its picture and stored
// as the palette would put it; any other is a character outside Shift-JIS, as ever.
void PictogramsTest::typedEmoji()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, stored);
    QFETCH(int, pictures);
    QCOMPARE(TypedTextBytes(typed), stored);
    PictogramLineEdit box;
    box.setBytes(sj("「"));
    box.moveCursor(QTextCursor::End);
    typeIn(&box, typed);
    typeIn(&box, QStringLiteral("」"));
    QCOMPARE(box.bytes(), sj("「") + stored + sj("」"));
    QCOMPARE(box.toPlainText().count(QChar::ObjectReplacementCharacter), pictures);
    QCOMPARE(box.textCursor().position(), box.toPlainText().size()); // typing goes on after it
}

void PictogramsTest::nameFilter_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QStringList>("basic");
    QTest::addColumn<QStringList>("extended");
    QTest::addColumn<int>("tab");
    QTest::newRow("kanji") << "晴" << QStringList{"晴れ"} << QStringList{} << 0;
    QTest::newRow("hiragana finds katakana") << "どあ" << QStringList{} << QStringList{"ドア"} << 1;
    QTest::newRow("half-width, small letters") << "new" << QStringList{"ＮＥＷ"} << QStringList{} << 0;
    QTest::newRow("both sets") << "ハート"
                               << QStringList{"ハート", "黒ハート", "揺れるハート", "失恋",
                                              "ハートたち（複数ハート）"}
                               << QStringList{"目がハート"} << 0;
    QTest::newRow("nothing") << "宇宙船" << QStringList{} << QStringList{} << 0;
    QTest::newRow("reading") << "でんしゃ" << QStringList{"電車"} << QStringList{} << 0;
    QTest::newRow("start of a reading") << "きっさ" << QStringList{"喫茶店"} << QStringList{} << 0;
    QTest::newRow("word") << "コーヒー" << QStringList{"喫茶店"} << QStringList{} << 0;
    QTest::newRow("long vowels") << "こーひー" << QStringList{"喫茶店"} << QStringList{} << 0;
    QTest::newRow("other long vowel marks") << "ｺ〜ﾋ～ｰ" << QStringList{"喫茶店"} << QStringList{}
                                            << 0;
    QTest::newRow("not in ケーキ") << "えき" << QStringList{"電車", "地下鉄"} << QStringList{} << 0;
    QTest::newRow("large for small kana") << "ういんく" << QStringList{} << QStringList{"ウィンク"}
                                          << 1;
    QTest::newRow("long vowel mark alone")
        << "～" << QStringList{"ー（長音記号１）", "ー（長音記号２）"} << QStringList{} << 0;
}

// The search box filters both tabs by name, reading and word, and shows the tab where it found
// something.
void PictogramsTest::nameFilter()
{
    QFETCH(QString, search);
    QFETCH(QStringList, basic);
    QFETCH(QStringList, extended);
    QFETCH(int, tab);
    QCOMPARE(names(PictogramsNamed(search, false)), basic);
    QCOMPARE(names(PictogramsNamed(search, true)), extended);
    PictogramPalette palette;
    QCOMPARE(palette.basicGrid->pictograms().size(), 176);
    QCOMPARE(palette.extendedGrid->pictograms().size(), 76);
    palette.searchBox->setText(search);
    QCOMPARE(names(palette.basicGrid->pictograms()), basic);
    QCOMPARE(names(palette.extendedGrid->pictograms()), extended);
    QCOMPARE(palette.tabs->currentIndex(), tab);
}

// Every pictogram can be found by how its name reads, as typed before conversion.
void PictogramsTest::readingsInHiragana()
{
    QCOMPARE(Pictograms().size(), 252);
    for (const Pictogram &pictogram : Pictograms()) {
        QVERIFY2(!pictogram.reading.isEmpty(), qPrintable(pictogram.name));
        for (const QChar character : pictogram.reading)
            QVERIFY2((character >= u'ぁ' && character <= u'ゖ') || character == u'ー',
                     qPrintable(pictogram.name + ' ' + pictogram.reading));
        QVERIFY(PictogramsNamed(pictogram.reading, pictogram.extended).contains(&pictogram));
    }
}

// The button opens the palette; the pictogram chosen goes in at the box's cursor and heads
// the ones used lately, which every box's palette shows from the program's settings.
void PictogramsTest::paletteFromItsButton()
{
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    QWidget window;
    auto *box = new PictogramLineEdit(&window);
    box->setGeometry(10, 10, 200, 20);
    RecordingDesktop desktop;
    PictogramPaletteButton button(*box, programFolder, desktop, {212, 9, 22, 22}, QImage(),
                                  &window);
    window.show();
    box->setBytes("ab");
    box->moveCursor(QTextCursor::Start);
    box->moveCursor(QTextCursor::NextCharacter);

    QSignalSpy edited(box, &PictogramLineEdit::textEdited);
    button.click();
    QVERIFY(button.palette->isVisible());
    QVERIFY(button.palette->recentGrid->pictograms().isEmpty());
    emit button.palette->extendedGrid->chosen(numbered("E15"));
    QVERIFY(!button.palette->isVisible());
    QCOMPARE(box->bytes(), QByteArray("a\xF9\xBF" "b"));
    QCOMPARE(edited.size(), 1);

    window.activateWindow();
    box->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(box, Qt::Key_E, Qt::ControlModifier); // the keyboard's way to it
    QVERIFY(button.palette->isVisible());
    button.palette->searchBox->setText(QStringLiteral("晴"));
    QTest::keyClick(button.palette->searchBox, Qt::Key_Return); // the first one found
    QCOMPARE(box->bytes(), QByteArray("a\xF9\xBF&#63647;b"));
    QCOMPARE(SavedRecentPictograms(programFolder, PictogramPalette::RecentCount).value,
             (QStringList{"1", "E15"}));

    // Choosing again moves it to the front; the list keeps the latest sixteen.
    QStringList numbers;
    for (int number = 1; number <= 20; ++number)
        numbers.prepend(QString::number(number));
    QCOMPARE(SaveRecentPictograms(programFolder, numbers), QString());
    button.click();
    emit button.palette->basicGrid->chosen(numbered("18"));
    const QStringList recent =
        SavedRecentPictograms(programFolder, PictogramPalette::RecentCount).value;
    QCOMPARE(recent.size(), PictogramPalette::RecentCount);
    QCOMPARE(recent.mid(0, 3), (QStringList{"18", "20", "19"}));
    QVERIFY(!recent.contains("4"));
}

void PictogramsTest::settingsFile_data()
{
    QTest::addColumn<SettingsPlace>("place");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("handset");
    QTest::addColumn<QStringList>("recent");
    QTest::addColumn<QString>("readProblem");
    QTest::addColumn<QString>("saveProblem");
    QTest::addColumn<QByteArray>("written"); // after the palette's and the handset's saves
    const QString denied = QStringLiteral("ファイルへのアクセスが拒否されました");
    const QByteArray handsetOnly = "[check]\nhandset=D501i\n";
    QTest::newRow("a round trip keeps every other line")
        << SettingsPlace::File
        << QByteArray("[General]\nversion=1\n\n[check]\nhandset=D501i\nother=1\n\n"
                      "[palette]\n; kept\nrecent=1, E15\n\n[later]\nx=y\n")
        << "D501i" << QStringList{"1", "E15"} << "" << ""
        << QByteArray("[General]\nversion=1\n\n[check]\nhandset=SH505i\nother=1\n\n"
                      "[palette]\n; kept\nrecent=18, 1, E15\n\n[later]\nx=y\n");
    QTest::newRow("keys added to their sections") << SettingsPlace::File
        << QByteArray("[check]\nother=1\n\n[later]\nx=y") << "503i" << QStringList() << "" << ""
        << QByteArray("[check]\nother=1\nhandset=SH505i\n\n[later]\nx=y\n\n[palette]\nrecent=18\n");
    QTest::newRow("no file yet") << SettingsPlace::Nothing << QByteArray() << "503i"
                                 << QStringList() << "" << ""
                                 << QByteArray("[palette]\nrecent=18\n\n[check]\nhandset=SH505i\n");
    QStringList numbers;
    for (int number = 1; number <= 8000; ++number)
        numbers << QString::number(number);
    QTest::newRow("a long list of recent pictograms")
        << SettingsPlace::File << "[palette]\nrecent=" + numbers.join(", ").toLatin1() + '\n'
        << "503i" << numbers.mid(0, 16) << "" << ""
        << "[palette]\nrecent=" + (QStringList{"18"} + numbers.mid(0, 15)).join(", ").toLatin1()
               + "\n\n[check]\nhandset=SH505i\n";
    const QByteArray large = handsetOnly + QByteArray(64 * 1024, ';');
    const QString tooLarge = QStringLiteral("ファイルが大きすぎて読み込めません");
    QTest::newRow("a file too large") << SettingsPlace::File << large << "503i" << QStringList()
                                      << tooLarge << tooLarge << large;
    QTest::newRow("a pipe") << SettingsPlace::Pipe << QByteArray() << "503i" << QStringList()
                            << denied << denied << QByteArray();
    QTest::newRow("a folder") << SettingsPlace::Folder << QByteArray() << "503i" << QStringList()
                              << denied << denied << QByteArray();
    QTest::newRow("a folder that cannot be written")
        << SettingsPlace::FileInReadOnlyFolder << handsetOnly << "D501i" << QStringList() << ""
        << denied << handsetOnly;
    QTest::newRow("a program folder that is a file")
        << SettingsPlace::FolderIsAFile << QByteArray() << "503i" << QStringList() << ""
        << QStringLiteral("ファイルが見つかりません") << QByteArray();
}

// The file is read and written whatever lies in its place, at once; a problem gives the
// defaults, and the palette tells of each problem once however often it meets it.
void PictogramsTest::settingsFile()
{
    QFETCH(SettingsPlace, place);
    QFETCH(QByteArray, file);
    QFETCH(QString, handset);
    QFETCH(QStringList, recent);
    QFETCH(QString, readProblem);
    QFETCH(QString, saveProblem);
    QFETCH(QByteArray, written);
    QTemporaryDir folder;
    QString programFolder = folder.path() + '/';
    if (place == SettingsPlace::FolderIsAFile) {
        writeBytes(folder.filePath("program"), {});
        programFolder = folder.filePath("program/");
    }
    const QString path = programFolder + "mopeco.ini";
    if (place == SettingsPlace::File || place == SettingsPlace::FileInReadOnlyFolder)
        writeBytes(path, file);
    if (place == SettingsPlace::Pipe)
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (place == SettingsPlace::Folder)
        QVERIFY(QDir().mkdir(path));
    if (place == SettingsPlace::FileInReadOnlyFolder)
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto writable = qScopeGuard([&folder] {
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    WithoutAccessOverride asUser;
    const auto told = [&path](const QString &what, const QString &reason) {
        return reason.isEmpty() ? QString() : what + '\n' + reason + '\n' + path;
    };
    const QString readNotice = told(QStringLiteral("設定ファイルを読み込めません。前回選んだ機種などは"
                                                   "使わず、最初の設定で続けます。"),
                                    readProblem);
    const QString saveWarning = told(QStringLiteral("設定ファイルに書き込めません。選んだ機種や最近"
                                                    "使った絵文字、最後に使ったフォルダは、次に起動した"
                                                    "ときには残っていません。"),
                                     saveProblem);

    const SavedSetting<QString> savedHandset = SavedHandsetName(programFolder);
    QCOMPARE(savedHandset.value, handset);
    QCOMPARE(savedHandset.problem, readNotice);
    const SavedSetting<QStringList> savedRecent =
        SavedRecentPictograms(programFolder, PictogramPalette::RecentCount);
    QCOMPARE(savedRecent.value, recent);
    QCOMPARE(savedRecent.problem, readNotice);

    RecordingDesktop desktop;
    QWidget window;
    PictogramPaletteButton button(*new PictogramLineEdit(&window), programFolder, desktop,
                                  {212, 9, 22, 22}, QImage(), &window);
    window.show();
    for (int time = 0; time < 2; ++time) {
        button.click();
        emit button.palette->basicGrid->chosen(numbered("18"));
    }
    QStringList warnings{readNotice, saveWarning};
    warnings.removeAll(QString());
    QCOMPARE(desktop.warnings, warnings);
    QCOMPARE(SaveHandsetName(programFolder, "SH505i"), saveWarning);
    if (!written.isEmpty())
        QCOMPARE(readBytes(path), written);
}

QTEST_MAIN(PictogramsTest)
#include "tst_pictograms.moc"
