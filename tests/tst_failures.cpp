// Every file the program writes meets a read-only folder, a directory in its place and a disk
// that fills up half-way; every file it opens can vanish or be a directory or a pipe. Each time: the
// platform's message, the records in memory as they were and the old file byte for byte.

#include "document/page_session.h"
#include "document/unsaved_work.h"
#include "drawings/fonts.h"
#include "page/page_generator.h"
#include "page/page_project.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "page/project_file.h"
#include "settings/handset_choice.h"
#include "settings/program_settings.h"
#include "settings/tool_settings.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "textmap/map_file.h"
#include "textmap/map_window.h"
#include "textmap/text_map.h"
#include "widgets/byte_line_edit.h"
#include "widgets/error_guard.h"
#include "widgets/notice_bar.h"
#include "windows/main_window.h"
#include "windows/page_commands.h"

#include <QDir>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

enum class Failure { ReadOnlyFolder, DirectoryInPlace, PipeInPlace, DiskFillsUp, Vanished };

// Makes the failure happen for the file operations done inside `act`, then takes it away again.
void withFailure(Failure failure, const QString &folder, const QString &target,
                 const std::function<void()> &act)
{
    switch (failure) {
    case Failure::ReadOnlyFolder: {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        {
            WithoutAccessOverride asUser;
            act();
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        break;
    }
    case Failure::DirectoryInPlace:
        QFile::remove(target);
        QDir().mkdir(target);
        act();
        break;
    case Failure::PipeInPlace:
        QFile::remove(target);
        mkfifo(QFile::encodeName(target).constData(), 0600);
        act();
        break;
    case Failure::DiskFillsUp: {
        // Files may grow to 16 bytes only: every write stops half-way.
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit before = limit;
        limit.rlim_cur = 16;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        act();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
        break;
    }
    case Failure::Vanished:
        act();
        break;
    }
}

} // namespace

class FailuresTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void fileFailures_data();
    void fileFailures();
    void openingStartsAndWritesNothing();
    void unsavedWorkNotKept_data();
    void unsavedWorkNotKept();
    void memoryRunningOutSaysTheFileIsTooLarge();
};

void FailuresTest::fileFailures_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("message");
    const QString denied = QStringLiteral("ファイルへのアクセスが拒否されました");
    for (const char *writer : {"save project", "generate page", "save map data", "save map text",
                               "save map page", "save set.dat"}) {
        QTest::addRow("%s, read-only folder", writer)
            << QString(writer) << Failure::ReadOnlyFolder << denied;
        QTest::addRow("%s, directory in place", writer)
            << QString(writer) << Failure::DirectoryInPlace << denied;
        QTest::addRow("%s, disk fills up", writer)
            << QString(writer) << Failure::DiskFillsUp << QStringLiteral("ディスクがいっぱいです");
    }
    for (const char *reader : {"open project", "open map", "open sample map"}) {
        QTest::addRow("%s, vanished", reader)
            << QString(reader) << Failure::Vanished << QStringLiteral("ファイルが見つかりません");
        QTest::addRow("%s, directory in place", reader)
            << QString(reader) << Failure::DirectoryInPlace << denied;
        QTest::addRow("%s, pipe in place", reader)
            << QString(reader) << Failure::PipeInPlace << denied;
    }
}

void FailuresTest::fileFailures()
{
    QFETCH(QString, action);
    QFETCH(Failure, failure);
    QFETCH(QString, message);
    const bool writes = !action.startsWith("open");
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    QString target = folder.filePath("target");
    if (action == "save set.dat")
        target = programFolder + "set.dat";
    if (action == "open sample map") {
        QDir(folder.path()).mkdir("map");
        target = programFolder + "map/map1.imp";
    }
    const QByteArray old = "the file the user had\r\n";
    if (writes)
        writeBytes(target, old);

    PageProject page;
    page.Title = sj("大事なページ");
    page.Texts[0] = {QByteArray(4096, 't'), ToggleOn};
    const QByteArray pageBefore = WriteProject(page);
    Pattern pattern;
    pattern.Parts[0] = {TextPart, 1};
    pattern.PartCount = 1;
    TextMap map;
    ToolSettings settings{{"ftp", {}}, {"edit", {}}, {"paint", {}}, "home", "reserved", 1, 2};
    RecordingDesktop desktop;
    FileDialog dialog(FileDialog::Mode::Save, {}, {}, {});
    const PageLocation location;
    TForm7 window(map, page, location, programFolder, desktop);
    window.configure();
    window.Edit6->setText(QStringLiteral("地図"));
    window.Image1MouseDown(Qt::LeftButton, QPoint(5, 5));
    window.putCharacter(sj("駅"));

    withFailure(failure, folder.path(), target, [&] {
        desktop.answerWith(target);
        if (action == "save project")
            guarded(desktop, [&] { SaveProject(page, dialog, desktop); });
        else if (action == "generate page")
            guarded(desktop, [&] { GeneratePage(1, page, {}, pattern, dialog, desktop); });
        else if (action == "save map data")
            QTest::mouseClick(window.Button3, Qt::LeftButton);
        else if (action == "save map text")
            QTest::mouseClick(window.Button2, Qt::LeftButton);
        else if (action == "save map page")
            QTest::mouseClick(window.Button1, Qt::LeftButton);
        else if (action == "save set.dat")
            guarded(desktop, [&] { WriteToolSettingsFile(programFolder, settings); });
        else if (action == "open project")
            guarded(desktop, [&] { OpenProject(page, dialog, desktop); });
        else if (action == "open map")
            QTest::mouseClick(window.Button4, Qt::LeftButton);
        else
            QTest::mouseClick(window.Button5, Qt::LeftButton);
    });

    QCOMPARE(desktop.messages, QStringList{message});
    QCOMPARE(WriteProject(page), pageBefore);
    // A file that was not written or read is not offered next time.
    for (const FileDialog *used : {&dialog, &window.SaveDialog1, &window.SaveDialog2, &window.OpenDialog1})
        QCOMPARE(used->offeredPath(), QString());
    QCOMPARE(map.Cells.front(), sj("駅"));
    QCOMPARE(window.Edit6->text(), QStringLiteral("地図"));
    if (!writes)
        return;
    if (failure == Failure::DirectoryInPlace)
        QVERIFY(QFileInfo(target).isDir());
    else
        QCOMPARE(readBytes(target), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(target).fileName()}); // no temporary file left behind
}

void FailuresTest::openingStartsAndWritesNothing()
{
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    for (const QString &name : QDir(dataFolder()).entryList({"*.dat"}, QDir::Files))
        QFile::copy(dataFolder() + name, programFolder + name);
    PageProject crafted;
    crafted.Title = "http://example.jp/";
    crafted.BodyFile = {"/bin/sh", {}};
    crafted.BodyUsed = ToggleOn;
    for (LinkSlot &link : crafted.Links)
        link = {"mopeco", "file:///etc/passwd", ToggleOn, ToggleOn, ToggleOn, ToggleOn};
    crafted.Directs[0] = {"<script>", ToggleOn};
    writeBytes(programFolder + "crafted.mpk", WriteProject(crafted));
    MapData craftedMap;
    craftedMap.title = "http://example.jp/";
    craftedMap.cells.fill("/usr/bin/xterm");
    writeBytes(programFolder + "crafted.imp", WriteMapData(craftedMap));
    const QStringList filesBefore = QDir(folder.path()).entryList(QDir::Files);

    PageSession session(programFolder);
    PageProject &page = session.page;
    WorkingState state;
    PatternCatalogue catalogue;
    Pattern pattern;
    ToolSettings settings;
    TextMap map;
    RecordingDesktop desktop;
    HandsetChoice handsetChoice(programFolder);
    TForm1 form(session, handsetChoice, state, catalogue, pattern, settings, programFolder, desktop);
    form.FormCreate();
    TForm7 window(map, page, session.location, programFolder, desktop);
    desktop.answerWith(programFolder + "crafted.mpk");
    QTest::mouseClick(form.SpeedButton5, Qt::LeftButton);
    window.configure();
    desktop.answerWith(programFolder + "crafted.imp");
    QTest::mouseClick(window.Button4, Qt::LeftButton);

    QCOMPARE(page.Title, QByteArray("http://example.jp/"));
    QCOMPARE(map.Cells.back(), QByteArray("/usr/bin/xterm"));
    QVERIFY(desktop.started.isEmpty());
    QVERIFY(desktop.opened.isEmpty());
    QVERIFY(desktop.messages.isEmpty());
    // Nothing is written but the setting that keeps the folder the project came from.
    QStringList filesAfter = QDir(folder.path()).entryList(QDir::Files);
    filesAfter.removeOne(QStringLiteral("mopeco.ini"));
    QCOMPARE(filesAfter, filesBefore);
    QCOMPARE(SavedFolders(programFolder).value.project, folder.path());
}

void FailuresTest::memoryRunningOutSaysTheFileIsTooLarge()
{
    RecordingDesktop desktop;
    guarded(desktop, [] { throw std::bad_alloc(); });
    QCOMPARE(desktop.messages, QStringList{"ファイルが大きすぎて読み込めません"});
}

// Unsaved work that the program folder cannot take: it goes to the user's folder, which the
// notice names once; when that cannot take it either, the notice says so, once, and the work
// stays as it is.
void FailuresTest::unsavedWorkNotKept_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<bool>("keptForUser");
    QTest::newRow("read-only folder") << Failure::ReadOnlyFolder << QStringLiteral("控えは「%1」に置きます")
                                      << true;
    QTest::newRow("disk fills up")
        << Failure::DiskFillsUp << QStringLiteral("控えを書けません（ディスクがいっぱいです）") << false;
}

void FailuresTest::unsavedWorkNotKept()
{
    QFETCH(Failure, failure);
    QFETCH(QString, notice);
    QFETCH(bool, keptForUser);
    QTemporaryDir folder;
    QTemporaryDir userData;
    qputenv("XDG_DATA_HOME", QFile::encodeName(userData.path()));
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QWidget window;
    NoticeBar noticeBar(&window, {0, 0, 500, 24});
    RecordingDesktop desktop;
    QByteArray work = "saved";
    UnsavedWork unsaved(folder.path(), QStringLiteral("mpk"), noticeBar, desktop,
                        {[&work] { return work; }, {}, {}});
    unsaved.saved();
    work = QByteArray(4096, 'w'); // typed, not saved

    withFailure(failure, folder.path(), {}, [&] {
        unsaved.keepNow();
        QVERIFY2(noticeBar.text().contains(QString(notice).replace("%1", userFolder)),
                 qPrintable(noticeBar.text()));
        noticeBar.dismiss();
        unsaved.keepNow();
        QVERIFY(noticeBar.isHidden());
    });
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(desktop.messages, QStringList());
    QCOMPARE(work, QByteArray(4096, 'w'));
    QCOMPARE(QDir(folder.path()).entryList({QStringLiteral("recovery-*.mpk")}), QStringList());
    const QStringList kept = QDir(userFolder).entryList({QStringLiteral("recovery-*.mpk")});
    QCOMPARE(kept.size(), keptForUser ? 1 : 0);
    if (keptForUser)
        QCOMPARE(readBytes(QDir(userFolder).filePath(kept.constFirst())), work);
}

QTEST_MAIN(FailuresTest)
#include "tst_failures.moc"
