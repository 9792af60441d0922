#pragma once

#include <QString>

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class PictureFittingDialog;
class PublishWindow;
class HandsetChoice;
class Desktop;
class PageSession;
struct WorkingState;
struct PatternCatalogue;
struct Pattern;
struct ToolSettings;

// The main window's dialogs. Each is made on first use as the window's child, so the window
// owns it whatever order the program makes things in, and it is kept for the rest of the run
// (the basic settings keep their colour mix from one opening to the next).
class MainWindowDialogs {
public:
    MainWindowDialogs(TForm1 &owner, PageSession &session, WorkingState &state,
                      PatternCatalogue &catalogue, Pattern &pattern, ToolSettings &toolSettings,
                      HandsetChoice &handsetChoice, const QString &programFolder,
                      Desktop &desktop);

    TForm2 &basicSettings();
    TForm3 &itemEditor();
    TForm4 &patternSelection();
    TForm5 &version();
    TForm6 &toolSettings();
    PictureFittingDialog &pictureFitting();
    PublishWindow &publish();

private:
    TForm1 &owner;
    PageSession &session;
    WorkingState &state;
    PatternCatalogue &catalogue;
    Pattern &pattern;
    ToolSettings &toolSettingsRecord;
    HandsetChoice &handsetChoice;
    const QString &programFolder;
    Desktop &desktop;
    TForm2 *basicSettingsWindow = nullptr;
    TForm3 *itemEditorWindow = nullptr;
    TForm4 *patternSelectionWindow = nullptr;
    TForm5 *versionWindow = nullptr;
    TForm6 *toolSettingsWindow = nullptr;
    PictureFittingDialog *pictureFittingWindow = nullptr;
    PublishWindow *publishWindow = nullptr;
};
