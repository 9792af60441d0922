#include "app/program.h"
#include "model/fonts.h"
#include "model/program_folder.h"
#include "ui/desktop.h"
#include "textmap/map_window.h"
#include "ui/basic_settings.h"
#include "ui/item_editor.h"
#include "ui/main_window.h"
#include "ui/pattern_selection.h"
#include "ui/tool_settings_dialog.h"
#include "ui/version_dialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mopeco"));
    QApplication::setApplicationDisplayName(applicationTitle());
    installFontSubstitutions();

    // The desktop's own dialogs speak Japanese with the rest of the program.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"),
                            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    Program program;
    program.ProgramFolder = ProgramFolder(QCoreApplication::applicationFilePath());
    QtDesktop desktop;

    // The main window first: its start-up runs before the dialogs exist.
    TForm1 mainWindow(program.page, program.state, program.catalogue, program.pattern,
                      program.generator, program.toolSettings, program.ProgramFolder, desktop);
    mainWindow.FormCreate();
    TForm2 basicSettings(program.page, &mainWindow);
    TForm3 itemEditor(program.page, program.state, program.ProgramFolder, desktop, &mainWindow);
    TForm5 version(program.ProgramFolder, desktop, &mainWindow);
    TForm4 patternSelection(program.page, program.catalogue, program.pattern,
                            program.ProgramFolder, mainWindow.ImageList1, desktop, &mainWindow);
    TForm6 toolSettings(program.toolSettings, desktop, &mainWindow);
    TForm7 textMap(program.textMap, program.page, program.ProgramFolder, mainWindow.SaveDialog1,
                   desktop, &mainWindow);
    mainWindow.setDialogs({&basicSettings, &itemEditor, &patternSelection, &version,
                           &toolSettings, [&textMap] {
                               textMap.configure();
                               textMap.exec();
                           }});

    mainWindow.showCentred();
    const int result = QApplication::exec();
    mainWindow.FormDestroy();
    return result;
}
