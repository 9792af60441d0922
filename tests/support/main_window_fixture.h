#pragma once

#include "app/program.h"
#include "support/recording_desktop.h"
#include "windows/main_window.h"

#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QAbstractButton;
class QPushButton;
class TForm3;

// The program's records with a program folder of its own for each case, holding the shipped
// catalogue and patterns.
struct MainWindowFixture : Program {
    MainWindowFixture();
    // The window and the steps, with the recovery files they hold, go while the folder is there.
    ~MainWindowFixture();

    PageProject &page = session.page;
    PageChanges &changes = session.changes;

    TForm1 &start();
    // Starts the window and shows it, active, so that its keys work.
    TForm1 &startShown();

    // Presses an item button; the editor that opens is handed to `inEditor`, then closed.
    void openEditor(QPushButton *button, const std::function<void(TForm3 &)> &inEditor);

    static void click(QAbstractButton *button, int times = 1);
    // Presses the keys in the main window, as its actions take them.
    void press(QKeyCombination keys);

    QImage preview() const;
    QImage summary() const;
    QStringList captions() const;

    QTemporaryDir folder;
    RecordingDesktop desktop;
    std::unique_ptr<TForm1> form;
};
