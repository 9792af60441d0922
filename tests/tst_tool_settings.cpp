#include "model/fonts.h"
#include "model/io_error.h"
#include "support/recording_desktop.h"
#include "support/test_files.h"
#include "ui/byte_line_edit.h"
#include "ui/launchers.h"
#include "ui/tool_settings.h"
#include "ui/tool_settings_dialog.h"
#include "ui/version_dialog.h"

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
    void dialogStoresTrimmedAndCancelKeeps();
    void commandLines_data();
    void commandLines();
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
                                << "入力値が数値ではありません"
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
    QCOMPARE(messageOf([&] { ReadToolSettingsFile(programFolder, settings); }), message);
    WriteToolSettingsFile(programFolder, settings);
    QCOMPARE(readBytes(programFolder + "set.dat"), written);
}

void ToolSettingsTest::dialogStoresTrimmedAndCancelKeeps()
{
    ToolSettings settings;
    settings.EditorProgram = sj("/opt/エディタ/edit");
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
    QCOMPARE(desktop.dialogs[2].offeredName, QStringLiteral("/usr/bin/paint"));
    QTest::keyClicks(dialog.Edit4, "  http://example.jp/  ");

    dialog.Button2Click(); // cancelled: nothing stored, the next opening refills
    QCOMPARE(WriteToolSettings(settings), before);
    dialog.configure();
    QCOMPARE(dialog.Edit1->text(), QString());

    desktop.answerWith(QStringLiteral("/opt/ftp tool/ftp"));
    QTest::mouseClick(dialog.Button3, Qt::LeftButton);
    QTest::keyClicks(dialog.Edit4, "  http://example.jp/  ");
    QTest::mouseClick(dialog.Button1, Qt::LeftButton);
    QCOMPARE(WriteToolSettings(settings), crlfLines({"/opt/ftp tool/ftp", sj("/opt/エディタ/edit"), "",
                                                     "http://example.jp/", "", "0", "0"}));
}

void ToolSettingsTest::commandLines_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QStringList>("onPath");
    QTest::addColumn<QStringList>("lines"); // FTP, editor, paint
    QTest::newRow("as stored, spaces and all") << QByteArray(" /opt/my tools/run it ")
                                               << QStringList{"gedit", "pinta"}
                                               << QStringList(3, " /opt/my tools/run it ");
    QTest::newRow("empty: the desktop's usual programs")
        << QByteArray() << QStringList{"mousepad", "gedit", "gimp"}
        << QStringList{"", "gedit", "gimp"};
    QTest::newRow("empty and none installed") << QByteArray() << QStringList{}
                                              << QStringList(3, QString());
}

void ToolSettingsTest::commandLines()
{
    QFETCH(QByteArray, stored);
    QFETCH(QStringList, onPath);
    QFETCH(QStringList, lines);
    QTemporaryDir bin;
    for (const QString &program : onPath) {
        writeBytes(bin.filePath(program), "#!/bin/sh\n");
        QFile::setPermissions(bin.filePath(program), QFile::ReadOwner | QFile::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toLocal8Bit());
    const ToolSettings settings{stored, stored, stored, {}, {}, 0, 0};
    const QStringList found{ftpCommandLine(settings), editorCommandLine(settings),
                            paintCommandLine(settings)};
    qputenv("PATH", path);
    QCOMPARE(found, lines);
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
