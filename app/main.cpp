#include "app/program.h"
#include "model/fonts.h"
#include "model/program_folder.h"
#include "textmap/map_window.h"
#include "widgets/desktop.h"
#include "ui/basic_settings.h"
#include "ui/item_editor.h"
#include "ui/main_window.h"
#include "ui/pattern_selection.h"
#include "ui/tool_settings_dialog.h"
#include "ui/version_dialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

namespace {

// The six dialogs, made once and in this order, each owned by the main window.
struct DialogWindows {
    DialogWindows(Program &program, Desktop &desktop, TForm1 &mainWindow)
        : basicSettings(program.page, &mainWindow),
          itemEditor(program.page, program.state, program.ProgramFolder, desktop, &mainWindow),
          version(program.ProgramFolder, desktop, &mainWindow),
          patternSelection(program.page, program.catalogue, program.pattern,
                           program.ProgramFolder, mainWindow.ImageList1, desktop, &mainWindow),
          toolSettings(program.toolSettings, desktop, &mainWindow),
          textMap(program.textMap, program.page, program.ProgramFolder, mainWindow.SaveDialog1,
                  desktop, &mainWindow)
    {
    }

    TForm1::Dialogs forMainWindow()
    {
        return {&basicSettings, &itemEditor, &patternSelection, &version, &toolSettings, [this] {
                    textMap.configure();
                    textMap.exec();
                }};
    }

    TForm2 basicSettings;
    TForm3 itemEditor;
    TForm5 version;
    TForm4 patternSelection;
    TForm6 toolSettings;
    TForm7 textMap;
};

// Runs an action once, right after the window's first paint.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget &window, std::function<void()> action)
        : window(window), action(std::move(action))
    {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &window && event->type() == QEvent::Paint) {
            window.removeEventFilter(this);
            QTimer::singleShot(0, this, action);
        }
        return false;
    }

private:
    QWidget &window;
    std::function<void()> action;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mopeco"));
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

    // The dialogs are made as soon as the main window has painted itself: none of them shows
    // before a button is pressed, and the window is on the screen that much sooner.
    std::unique_ptr<DialogWindows> dialogs;
    AfterFirstPaint makeDialogs(mainWindow, [&] {
        dialogs = std::make_unique<DialogWindows>(program, desktop, mainWindow);
        mainWindow.setDialogs(dialogs->forMainWindow());
    });

    mainWindow.showCentred();
    const int result = QApplication::exec();
    mainWindow.FormDestroy();
    return result;
}
