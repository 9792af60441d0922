#include "drawings/fonts.h"
#include "settings/tool_settings.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "text/ini_text.h"
#include "text/io_error.h"
#include "widgets/byte_line_edit.h"
#include "windows/launchers.h"
#include "windows/tool_settings_dialog.h"
#include "windows/version_dialog.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class ToolSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }
    void settingsFile_data();
    void settingsFile();
    void iniValueComesBackWhole_data();
    void iniValueComesBackWhole();
    void dialogStoresTrimmedAndCancelKeeps();
    void splitCommandLine_data();
    void splitCommandLine();
    void programsStarted_data();
    void programsStarted();
    void versionDialogOpensTheAboutPage();
};

void ToolSettingsTest::settingsFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("written");
    const QByteArray full = crlfLines({sj(" C:\\ftp ソフト\\ftp.exe "), "/usr/bin/gedit -s", "",
                                       " http://example.jp/ ", sj("予備"), "-7", "2147483647"});
    QTest::newRow("seven lines come back unchanged") << full << "" << full;
    QTest::newRow("no file") << QByteArray() << "" << crlfLines({"", "", "", "", "", "0", "0"});
    QTest::newRow("four lines") << crlfLines({"ftp", "edit", "paint", "home"}) << ""
                                << crlfLines({"ftp", "edit", "paint", "home", "", "0", "0"});
    QTest::newRow("numbers with blanks and text after them")
        << crlfLines({"", "", "", "", "", "  12 ignored", "\t-3"}) << ""
        << crlfLines({"", "", "", "", "", "12", "-3"});
    // What was read before a bad number is kept; nothing after it is read.
    QTest::newRow("bad number") << crlfLines({"ftp", "", "", "home", "", "x1", "9"})
                                << "入力値が数値ではありません\n%1set.dat の 6 行目"
                                << crlfLines({"ftp", "", "", "home", "", "0", "0"});
}

void ToolSettingsTest::settingsFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, message);
    QFETCH(QByteArray, written);
    QTemporaryDir folder;
    const QString programFolder = folder.path() + '/';
    if (!file.isEmpty())
        writeBytes(programFolder + "set.dat", file);
    ToolSettings settings;
    QCOMPARE(messageOf([&] { ReadToolSettingsFile(programFolder, settings); }),
             message.arg(programFolder));
    WriteToolSettingsFile(programFolder, settings);
    QCOMPARE(readBytes(programFolder + "set.dat"), written);
}

// A value of mopeco.ini, whatever it holds, is read back byte for byte, and its line is the
// only one of the file that changes: an address pasted with line breaks once made a section
// of its own.
void ToolSettingsTest::iniValueComesBackWhole_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("plain") << QByteArray("http://a.jp/");
    QTest::newRow("a section after a line break")
        << QByteArray("http://a.jp/\n[check]\nhandset=NOPE");
    QTest::newRow("CR LF and a lone CR") << QByteArray("a\r\nb\rc\r");
    QTest::newRow("equals signs") << QByteArray("=a=b=");
    QTest::newRow("NUL and other controls") << QByteArray("a\0b\x01\t\x7F", 7);
    QTest::newRow("backslashes, as escapes would be") << QByteArray("\\n\\x41\\\\ C:\\");
    QTest::newRow("blanks at both ends") << QByteArray("  a b\t ");
    QTest::newRow("UTF-8") << QByteArray("カフェ・モペコ");
    QTest::newRow("empty") << QByteArray();
}

void ToolSettingsTest::iniValueComesBackWhole()
{
    QFETCH(QByteArray, value);
    const QByteArray text = "[check]\nhandset=SH505i\nwindow=800, 600\n\n[folders]\nproject=/home/a\n";
    // A key set anew is one line more; a key there already keeps the lines around it.
    const QByteArray added = withIniValue(text, "folders", "page", value);
    QCOMPARE(iniValue(added, "folders", "page"), value);
    QVERIFY(added.startsWith(text));
    QCOMPARE(added.count('\n'), text.count('\n') + 1);
    const QByteArray replaced = withIniValue(text, "check", "handset", value);
    QCOMPARE(iniValue(replaced, "check", "handset"), value);
    QCOMPARE(replaced.count('\n'), text.count('\n'));
    QVERIFY(replaced.endsWith(text.mid(text.indexOf("\nwindow"))));
    QVERIFY(replaced.startsWith("[check]\nhandset="));
}

void ToolSettingsTest::dialogStoresTrimmedAndCancelKeeps()
{
    ToolSettings settings;
    settings.EditorProgram = {sj("/opt/エディタ/edit"), {}};
    RecordingDesktop desktop;
    TForm6 dialog(settings, desktop);
    const QByteArray before = WriteToolSettings(settings);
    dialog.configure();
    QCOMPARE(dialog.Edit2->text(), QStringLiteral("/opt/エディタ/edit"));
    // Programs are chosen with "参照"; the home page is typed.
    QVERIFY(dialog.Edit1->isReadOnly() && dialog.Edit3->isReadOnly());
    QVERIFY(!dialog.Edit4->isReadOnly());

    // The one file dialog serves all three "参照" and offers the name chosen last.
    desktop.answerWith(QStringLiteral("/opt/ftp tool/ftp"));
    QTest::mouseClick(dialog.Button3, Qt::LeftButton);
    desktop.answerWith(QStringLiteral("/usr/bin/paint"));
    QTest::mouseClick(dialog.Button5, Qt::LeftButton);
    QTest::mouseClick(dialog.Button4, Qt::LeftButton); // cancelled
    QCOMPARE(desktop.dialogs.size(), 3);
    QCOMPARE(desktop.dialogs[2].offeredPath, QStringLiteral("/usr/bin/paint"));
    QTest::keyClicks(dialog.Edit4, "  http://example.jp/  ");

    dialog.Button2Click(); // cancelled: nothing stored, the next opening refills
    QCOMPARE(WriteToolSettings(settings), before);
    dialog.configure();
    QCOMPARE(dialog.Edit1->text(), QString());

    // A program in a folder Shift-JIS cannot name is kept for this run, with a word about it.
    const QString foreign = QStringLiteral("/opt/café/ftp");
    desktop.answerWith(foreign);
    QTest::mouseClick(dialog.Button3, Qt::LeftButton);
    QCOMPARE(desktop.warnings.size(), 1);
    QVERIFY(desktop.warnings[0].contains(QStringLiteral("（é）")));
    QVERIFY(desktop.warnings[0].contains(QStringLiteral("set.dat")));
    QTest::keyClicks(dialog.Edit4, "  http://example.jp/  ");
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(settings.FtpProgram.onDisk(), foreign);
    QCOMPARE(WriteToolSettings(settings), crlfLines({"/opt/caf&#233;/ftp", sj("/opt/エディタ/edit"),
                                                     "", "http://example.jp/", "", "0", "0"}));
}

void ToolSettingsTest::splitCommandLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("blanks") << " ftp \t-v  host " << QStringList{"ftp", "-v", "host"};
    QTest::newRow("single quotes keep all") << R"('/opt/my tools/ftp' 'a\"b' '')"
                                            << QStringList{"/opt/my tools/ftp", R"(a\"b)", ""};
    QTest::newRow("double quotes") << R"("a b" "\$x \" \\ \n" "")"
                                   << QStringList{"a b", R"($x " \ \n)", ""};
    QTest::newRow("backslash outside quotes") << R"(my\ tool \'q)" << QStringList{"my tool", "'q"};
    QTest::newRow("pieces join into one word") << R"(a'b c'"d e"f)" << QStringList{"ab cd ef"};
    QTest::newRow("unclosed quote runs to the end") << "edit 'my file" << QStringList{"edit", "my file"};
    QTest::newRow("nothing") << "   " << QStringList{};
}

void ToolSettingsTest::splitCommandLine()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QCOMPARE(::splitCommandLine(line), words);
}

void ToolSettingsTest::programsStarted_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QStringList>("started"); // FTP, editor, paint: program|arguments
    // %1 is a folder holding "my tools/run it", "資料〜/ftp" and "tool"; %2 is the PATH.
    QTest::newRow("chosen in this run, spaces and all")
        << QByteArray("ignored") << "/opt/my tools/run it" << QStringList{}
        << QStringList(3, "/opt/my tools/run it");
    QTest::newRow("a stored file named whole") << QByteArray("%1/my tools/run it") << ""
                                               << QStringList{} << QStringList(3, "%1/my tools/run it");
    QTest::newRow("split as a shell would")
        << QByteArray(R"('%1/my tools/run it' -a "b c" d\ e)") << "" << QStringList{}
        << QStringList(3, "%1/my tools/run it|-a|b c|d e");
    QTest::newRow("a stored path under its JIS reading") << sj("%1/資料～/ftp -v") << ""
                                                         << QStringList{} << QStringList(3, "%1/資料〜/ftp|-v");
    QTest::newRow("a bare name on the PATH") << QByteArray("tool -x") << "" << QStringList{"tool"}
                                             << QStringList(3, "%2/tool|-x");
    QTest::newRow("a bare name only in the current folder")
        << QByteArray("tool -x") << "" << QStringList{} << QStringList(3, "");
    QTest::newRow("empty: the desktop's usual programs")
        << QByteArray() << "" << QStringList{"mousepad", "gedit", "gimp"}
        << QStringList{"", "%2/gedit", "%2/gimp"};
    QTest::newRow("empty and none installed") << QByteArray() << "" << QStringList{}
                                              << QStringList(3, QString());
}

void ToolSettingsTest::programsStarted()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, chosen);
    QFETCH(QStringList, onPath);
    QFETCH(QStringList, started);
    QTemporaryDir folder;
    QTemporaryDir bin;
    const auto makeProgram = [](const QString &path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeBytes(path, "#!/bin/sh\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    };
    for (const char *name : {"my tools/run it", "資料〜/ftp", "tool"})
        makeProgram(folder.filePath(QString::fromUtf8(name)));
    for (const QString &program : onPath)
        makeProgram(bin.filePath(program));
    const QByteArray path = qgetenv("PATH");
    const QString currentFolder = QDir::currentPath();
    qputenv("PATH", bin.path().toLocal8Bit());
    QDir::setCurrent(folder.path());
    const StoredPath setting{QByteArray(stored).replace("%1", folder.path().toUtf8()), chosen};
    const ToolSettings settings{setting, setting, setting, {}, {}, 0, 0};
    QStringList found;
    for (const auto &start : {ftpProgram(settings), editorProgram(settings), paintProgram(settings)})
        found << (start ? (QStringList{start->program} + start->arguments).join('|') : QString());
    qputenv("PATH", path);
    QDir::setCurrent(currentFolder);
    for (QString &expected : started)
        expected = expected.replace("%1", folder.path()).replace("%2", bin.path());
    QCOMPARE(found, started);
}

void ToolSettingsTest::versionDialogOpensTheAboutPage()
{
    const QString programFolder = QStringLiteral("/opt/モペコ/");
    RecordingDesktop desktop;
    TForm5 dialog(programFolder, desktop);
    dialog.show();
    QTest::mouseClick(dialog.Button2, Qt::LeftButton);
    QCOMPARE(desktop.opened, QStringList{"/opt/モペコ/help/about.html"});
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(ToolSettingsTest)
#include "tst_tool_settings.moc"
