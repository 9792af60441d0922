#include "app/program.h"
#include "model/fonts.h"
#include "model/program_folder.h"
#include "ui/desktop.h"
#include "ui/item_editor.h"
#include "ui/main_window.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mopeco"));
    QApplication::setApplicationDisplayName(applicationTitle());
    installFontSubstitutions();

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
