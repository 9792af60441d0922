// Every file the program writes meets a read-only folder, a directory in its place and a disk
// that fills up half-way; every file it opens can vanish or be a directory. Each time: the
// platform's message, the old file byte for byte, and the records in memory as they were.

#include "generator/page_generator.h"
#include "model/fonts.h"
#include "model/page_project.h"
#include "model/pattern.h"
#include "model/pattern_catalogue.h"
#include "model/project_file.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "textmap/map_file.h"
#include "textmap/map_window.h"
#include "textmap/text_map.h"
#include "ui/byte_line_edit.h"
#include "ui/error_guard.h"
#include "ui/main_window.h"
#include "ui/page_commands.h"
#include "ui/tool_settings.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>

namespace {

enum class Failure { ReadOnlyFolder, DirectoryInPlace, DiskFillsUp };

// Makes the failure happen for the writes done inside `write`, then takes it away again.
void withFailure(Failure failure, const QString &folder, const QString &target,
                 const std::function<void()> &write)
{
    switch (failure) {
    case Failure::ReadOnlyFolder: {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        {
            WithoutAccessOverride asUser;
            write();
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        break;
    }
    case Failure::DirectoryInPlace:
        QFile::remove(target);
        QDir().mkdir(target);
        write();
        break;
    case Failure::DiskFillsUp: {
        // Files may grow to 16 bytes only: every write stops half-way.
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit before = limit;
        limit.rlim_cur = 16;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        write();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
        break;
    }
    }
}

QString expectedMessage(Failure failure)
{
    return failure == Failure::DiskFillsUp ? QStringLiteral("ディスクがいっぱいです")
                                           : QStringLiteral("ファイルへのアクセスが拒否されました");
}

} // namespace

class FailuresTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void writesKeepTheOldFile_data();
    void writesKeepTheOldFile();
    void openingWhatIsNotAFile_data();
    void openingWhatIsNotAFile();
    void openingStartsAndWritesNothing();
};

void FailuresTest::writesKeepTheOldFile_data()
{
    QTest::addColumn<QString>("writer");
    QTest::addColumn<int>("failure");
    const QStringList failures{"read-only folder", "directory in place", "disk fills up"};
    for (const QString writer : {"project", "page", "map data", "map text", "map page", "set.dat"})
        for (int failure = 0; failure < failures.size(); ++failure)
            QTest::newRow(qPrintable(writer + ", " + failures[failure])) << writer << failure;
}

void FailuresTest::writesKeepTheOldFile()
{
    QFETCH(QString, writer);
    QFETCH(int, failure);
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    const QString target = writer == "set.dat" ? programFolder + "set.dat"
                                               : folder.filePath("target");
    const QByteArray old = "the file the user had\r\n";
    writeBytes(target, old);

    PageProject page;
    page.Title = sj("大事なページ");
    page.Texts[0] = {QByteArray(4096, 't'), ToggleOn};
    const QByteArray pageBefore = WriteProject(page);
    Pattern pattern;
    pattern.Parts[0] = {TextPart, 1};
    pattern.PartCount = 1;
    GeneratorState generator;
    TextMap map;
    ToolSettings settings{"ftp", "edit", "paint", "home", "reserved", 1, 2};
    RecordingDesktop desktop;
    FileDialog dialog(FileDialog::Mode::Save, {}, {});
    TForm7 window(map, page, programFolder, dialog, desktop);
    window.configure();
    window.Edit6->setText(QStringLiteral("地図"));
    const QByteArray cellsBefore = map.Cells.front();

    withFailure(Failure(failure), folder.path(), target, [&] {
        desktop.answerWith(target);
        if (writer == "project")
            guarded(desktop, [&] { SaveProject(page, dialog, desktop); });
        else if (writer == "page")
            guarded(desktop, [&] { GeneratePage(1, page, pattern, generator, dialog, desktop); });
        else if (writer == "map data")
            QTest::mouseClick(window.Button3, Qt::LeftButton);
        else if (writer == "map text")
            QTest::mouseClick(window.Button2, Qt::LeftButton);
        else if (writer == "map page")
            QTest::mouseClick(window.Button1, Qt::LeftButton);
        else
            guarded(desktop, [&] { WriteToolSettingsFile(programFolder, settings); });
    });

    QCOMPARE(desktop.messages, QStringList{expectedMessage(Failure(failure))});
    if (Failure(failure) == Failure::DirectoryInPlace)
        QVERIFY(QFileInfo(target).isDir());
    else
        QCOMPARE(readBytes(target), old);
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(target).fileName()}); // no temporary file left behind
    QCOMPARE(WriteProject(page), pageBefore);
    QCOMPARE(map.Cells.front(), cellsBefore);
    QCOMPARE(window.Edit6->text(), QStringLiteral("地図"));
    QCOMPARE(settings.ReservedText, QByteArray("reserved"));
}

void FailuresTest::openingWhatIsNotAFile_data()
{
    QTest::addColumn<QString>("reader");
    QTest::addColumn<bool>("directory"); // a directory in place, or nothing at all
    for (const char *reader : {"project", "map", "sample map"}) {
        QTest::addRow("%s, vanished", reader) << QString(reader) << false;
        QTest::addRow("%s, directory", reader) << QString(reader) << true;
    }
}

void FailuresTest::openingWhatIsNotAFile()
{
    QFETCH(QString, reader);
    QFETCH(bool, directory);
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    QDir(folder.path()).mkdir("map");
    const QString path = reader == "sample map" ? programFolder + "map/map1.imp"
                                                : folder.filePath("chosen");
    if (directory)
        QDir().mkdir(path);
    PageProject page;
    page.Title = "kept";
    RecordingDesktop desktop;
    FileDialog dialog(FileDialog::Mode::Open, {}, {});
    TextMap map;
    TForm7 window(map, page, programFolder, dialog, desktop);
    window.configure();
    window.Image1MouseDown(Qt::LeftButton, QPoint(5, 5));
    window.putCharacter(sj("駅"));

    desktop.answerWith(path);
    if (reader == "project")
        guarded(desktop, [&] { OpenProject(page, dialog, desktop); });
    else if (reader == "map")
        QTest::mouseClick(window.Button4, Qt::LeftButton);
    else
        QTest::mouseClick(window.Button5, Qt::LeftButton);

    QCOMPARE(desktop.messages, QStringList{directory ? "ファイルへのアクセスが拒否されました"
                                                     : "ファイルが見つかりません"});
    QCOMPARE(page.Title, QByteArray("kept"));
    QCOMPARE(map.Cells.front(), sj("駅"));
}

void FailuresTest::openingStartsAndWritesNothing()
{
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    for (const QString &name : QDir(dataFolder()).entryList({"*.dat"}, QDir::Files))
        QFile::copy(dataFolder() + name, programFolder + name);
    PageProject crafted;
    crafted.Title = "http://example.jp/";
    crafted.BodyFile = "/bin/sh";
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

    PageProject page;
    WorkingState state;
    PatternCatalogue catalogue;
    Pattern pattern;
    GeneratorState generator;
    ToolSettings settings;
    TextMap map;
    RecordingDesktop desktop;
    TForm1 form(page, state, catalogue, pattern, generator, settings, programFolder, desktop);
    form.FormCreate();
    TForm7 window(map, page, programFolder, form.SaveDialog1, desktop);
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
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), filesBefore);
}

QTEST_MAIN(FailuresTest)
#include "tst_failures.moc"
