// A project whose title is 5 MB, as a hostile file may hold: opened in the main window, and one
// key typed into its title box, with everything that follows a change (the summary, the page
// check, the preview, the undo step and the recovery of unsaved work).
// Run: QT_QPA_PLATFORM=offscreen build/bench/bench_long_title (Qt Test's benchmark options apply).

#include "drawings/fonts.h"
#include "support/main_window_fixture.h"
#include "support/test_files.h"
#include "widgets/pictogram_line_edit.h"
#include "windows/page_check_panel.h"

#include <QTest>

namespace {

// A project of the sample's shape, its title line 5 MB of Shift-JIS text and pictograms.
QString longTitleProject(const QString &folder)
{
    const QByteArray title = QByteArray("\x8B\x69\x92\x83\xF8\x9F" "cafe ").repeated(5'000'000 / 11);
    QByteArray project = "ver2.10\r\n1\r\n" + title + "\r\n";
    const QString path = folder + QStringLiteral("/long.mpk");
    writeBytes(path, project);
    return path;
}

} // namespace

class LongTitleBenchmark : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installFontSubstitutions(); }

    void open()
    {
        MainWindowFixture fixture;
        TForm1 &form = fixture.startShown();
        const QString project = longTitleProject(fixture.folder.path());
        QBENCHMARK {
            form.openProjectFile(project);
            QCoreApplication::processEvents();
        }
    }

    void typeAKey()
    {
        MainWindowFixture fixture;
        TForm1 &form = fixture.startShown();
        form.openProjectFile(longTitleProject(fixture.folder.path()));
        QCoreApplication::processEvents();
        form.Edit1->setFocus();
        form.Edit1->moveCursor(QTextCursor::Start);
        QBENCHMARK {
            QTest::keyClick(form.Edit1, Qt::Key_A);
            QCoreApplication::processEvents();
        }
    }
};

QTEST_MAIN(LongTitleBenchmark)
#include "bench_long_title.moc"
