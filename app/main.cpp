#include "app/command_line.h"
#include "app/ending_signals.h"
#include "app/font_configuration_warmup.h"
#include "app/program.h"
#include "app/startup_marks.h"
#include "document/page_session.h"
#include "document/unsaved_work.h"
#include "drawings/fonts.h"
#include "text/program_folder.h"
#include "textmap/map_window.h"
#include "widgets/desktop.h"
#include "windows/main_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>
#include <QUndoStack>

#include <memory>

namespace {

// Qt's own texts in the desktop's dialogs speak Japanese with the rest of the program. The
// command line writes all of its texts itself.
void speakJapanese(QTranslator &translations)
{
    if (translations.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translations);
}

// The arguments as the application object would decode them, read before there is one.
QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    StartupMarks marks;
    const CommandLine commandLine = parseCommandLine(argumentsOf(argc, argv));
    if (commandLine.run != CommandLine::Run::Window) {
        // Drawing the preview needs fonts and pictures, not a display; nothing else needs either.
        std::unique_ptr<QCoreApplication> application;
        if (commandLine.run == CommandLine::Run::Preview) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            application = std::make_unique<QGuiApplication>(argc, argv);
            installFontSubstitutions();
        } else {
            application = std::make_unique<QCoreApplication>(argc, argv);
        }
        QCoreApplication::setApplicationName(QStringLiteral("mopeco"));
        return RunCommandLine(commandLine, ProgramFolder(QCoreApplication::applicationFilePath()));
    }
    FontConfigurationWarmup fontConfiguration;
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mopeco"));
    installFontSubstitutions();
    QTranslator qtTranslations;
    speakJapanese(qtTranslations);
    marks.mark("application");

    Program program;
    program.ProgramFolder = ProgramFolder(QCoreApplication::applicationFilePath());
    // Qt's file dialog keeps its history as a user setting: it goes to the program folder, as
    // everything the program keeps does.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, program.ProgramFolder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, program.ProgramFolder);
    QtDesktop desktop;
    fontConfiguration.wait();

    // The main window's start-up runs before any other window exists; it makes each of its
    // dialogs, as its children, when first asked for it.
    TForm1 mainWindow(program.session, program.handsetChoice, program.state,
                      program.catalogue, program.pattern,
                      program.toolSettings, program.ProgramFolder, desktop);
    marks.mark("window");
    mainWindow.FormCreate();
    // A project handed over by the file manager opens before any left work is offered.
    if (!commandLine.project.isEmpty()) {
        mainWindow.openProjectFile(commandLine.project);
        // The empty page it replaced was nobody's work: there is nothing to undo yet.
        program.session.history().clear();
    }
    marks.mark("data");
    mainWindow.setTextMapOpener([&program, &desktop, &mainWindow,
                                 textMap = static_cast<TForm7 *>(nullptr)]() mutable {
        if (!textMap)
            textMap = new TForm7(program.textMap, program.session.page, program.session.location,
                                 program.ProgramFolder, desktop, &mainWindow);
        textMap->configure();
        textMap->exec();
    });

    // A shut-down or a logout ends the program as its close does, its open work (the page's,
    // the text map's) kept first, whatever dialog is open.
    EndingSignals endingSignals([&mainWindow, &program] {
        program.session.keepNow();
        for (UnsavedWork *work : mainWindow.findChildren<UnsavedWork *>())
            work->keepNow();
        QApplication::exit(0);
    });

    marks.markFirstPaintOf(mainWindow);
    mainWindow.showCentred();
    marks.mark("shown");
    const int result = QApplication::exec();
    mainWindow.FormDestroy();
    return result;
}
