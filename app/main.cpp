#include "app/program.h"
#include "model/fonts.h"
#include "model/program_folder.h"
#include "ui/desktop.h"
#include "ui/item_editor.h"
#include "ui/main_window.h"

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

    TForm1 mainWindow(program.page, program.state, program.catalogue, program.pattern,
                      program.generator, program.ProgramFolder, desktop);
    mainWindow.FormCreate();
    TForm3 itemEditor(program.page, program.state, program.ProgramFolder, desktop, &mainWindow);
    mainWindow.setItemEditor(itemEditor);
    mainWindow.showCentred();
    return QApplication::exec();
}
