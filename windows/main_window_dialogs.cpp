#include "windows/main_window_dialogs.h"

#include "document/page_session.h"
#include "windows/basic_settings.h"
#include "windows/item_editor.h"
#include "windows/main_window.h"
#include "windows/pattern_selection.h"
#include "windows/picture_fitting_dialog.h"
#include "windows/publish_window.h"
#include "windows/tool_settings_dialog.h"
#include "windows/version_dialog.h"

MainWindowDialogs::MainWindowDialogs(TForm1 &owner, PageSession &session, WorkingState &state,
                                     PatternCatalogue &catalogue, Pattern &pattern,
                                     ToolSettings &toolSettings, HandsetChoice &handsetChoice,
                                     const QString &programFolder, Desktop &desktop)
    : owner(owner),
      session(session),
      state(state),
      catalogue(catalogue),
      pattern(pattern),
      toolSettingsRecord(toolSettings),
      handsetChoice(handsetChoice),
      programFolder(programFolder),
      desktop(desktop)
{
}

TForm2 &MainWindowDialogs::basicSettings()
{
    if (!basicSettingsWindow) {
        basicSettingsWindow = new TForm2(session.page, desktop, &owner);
        QObject::connect(basicSettingsWindow, &TForm2::stored, &owner, &TForm1::pageStored);
    }
    return *basicSettingsWindow;
}

TForm3 &MainWindowDialogs::itemEditor()
{
    if (!itemEditorWindow) {
        itemEditorWindow = new TForm3(session.page, state, programFolder, desktop, &owner);
        QObject::connect(itemEditorWindow, &TForm3::stored, &owner, &TForm1::pageStored);
        itemEditorWindow->fitPicture = [this](const LineOrigin &origin, const QString &source) {
            return pictureFitting().fitFor(origin, source, PictureFittingDialog::Into::Editor);
        };
        itemEditorWindow->takeBackPicture = [this](const WrittenPicture &picture) {
            pictureFitting().takeBack(picture);
        };
    }
    return *itemEditorWindow;
}

TForm4 &MainWindowDialogs::patternSelection()
{
    if (!patternSelectionWindow) {
        patternSelectionWindow = new TForm4(session.page, catalogue, pattern, programFolder,
                                            owner.ImageList1, desktop, &owner);
        QObject::connect(patternSelectionWindow, &TForm4::pagePatternChanged, &owner,
                         &TForm1::showPatternPreview);
    }
    return *patternSelectionWindow;
}

TForm5 &MainWindowDialogs::version()
{
    if (!versionWindow)
        versionWindow = new TForm5(programFolder, desktop, &owner);
    return *versionWindow;
}

TForm6 &MainWindowDialogs::toolSettings()
{
    if (!toolSettingsWindow)
        toolSettingsWindow = new TForm6(toolSettingsRecord, desktop, &owner);
    return *toolSettingsWindow;
}

PictureFittingDialog &MainWindowDialogs::pictureFitting()
{
    if (!pictureFittingWindow) {
        pictureFittingWindow =
            new PictureFittingDialog(session.page, session.location, pattern, handsetChoice, desktop,
                                     &owner);
        QObject::connect(pictureFittingWindow, &PictureFittingDialog::stored, &owner,
                         &TForm1::pageStored);
    }
    return *pictureFittingWindow;
}

PublishWindow &MainWindowDialogs::publish()
{
    if (!publishWindow)
        publishWindow = new PublishWindow(session.page, session.location, pattern, programFolder, desktop, &owner);
    return *publishWindow;
}
