#pragma once

#include "drawings/strip_pictures.h"
#include "widgets/file_dialog.h"
#include "windows/main_window_dialogs.h"
#include "windows/qr_code_window.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class PictogramLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class TitleBandDrag;
class PageCheckPanel;
class HandsetChoice;
class NoticeBar;
class PageSession;

struct PageProject;
struct WorkingState;
struct PatternCatalogue;
struct Pattern;
struct ToolSettings;
class Desktop;
enum class ItemKind : std::uint8_t;

// The main window: its own title band, the toolbar, the page title, the item buttons with
// their slot steppers, the pattern preview and the summary panel.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    TForm1(PageSession &session, HandsetChoice &handsetChoice, WorkingState &state,
           PatternCatalogue &catalogue, Pattern &pattern,
           ToolSettings &toolSettings, const QString &programFolder, Desktop &desktop,
           QWidget *parent = nullptr);

    // The text map maker lies in a layer of its own: the program hands over its opening.
    void setTextMapOpener(std::function<void()> open) { openTextMap = std::move(open); }

    // Start-up: the background picture, the pattern catalogue, the page defaults, the tool
    // settings and the first summary page. Each step that fails shows its message and the
    // later steps still run, so the page always ends with its defaults.
    void FormCreate();

    // What the page's QR code is made of: its title, the home page, and the files the page and
    // the project were last written to.
    QrSubject qrSubject() const;

    // Opens the project file as "データ開く" would have read it: a file that cannot be read or
    // is no project is said, and the page stays as it was.
    void openProjectFile(const QString &path);

    // Shut-down: the tool settings are written to "set.dat", and unsaved work is kept.
    void FormDestroy();

    void showCentred();

    // "新規作成": every field to its default, pattern 1 loaded and shown, the title emptied,
    // the item buttons back at slot 1 and summary page 1.
    void ResetPage();

    // Makes pattern `number` current and shows its preview in Image3.
    void loadPatternAndShow(int number);
    void showPatternPreview();

    void ShowSummaryPage(int pageNumber);
    void RedrawSummary();
    // A dialog stored what the user entered into the page, as `step` says.
    void pageStored(const QString &step);

    void Image1MouseDown(Qt::MouseButtons held);
    void SpeedButton1Click();
    void SpeedButton22Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void publishPage();
    void SpeedButton9Click();
    void SpeedButton10Click();
    void SpeedButton11Click();
    void SpeedButton12Click();
    void SpeedButton21Click();
    void SpeedButton13Click();
    void SpeedButton14Click();
    void SpeedButton15Click();
    void SpeedButton16Click();
    void SpeedButton17Click();
    void SpeedButton18Click();
    void SpeedButton19Click();
    void SpeedButton20Click();
    void Button1Click();
    void Button7Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button8Click();
    void Button6Click();
    void Button9Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();

    QFrame *Panel1;
    QLabel *Image1;
    QToolButton *SpeedButton22;
    QToolButton *SpeedButton1;
    QLabel *Image2;
    QFrame *Panel2;
    QToolButton *SpeedButton2;
    QToolButton *SpeedButton21;
    QToolButton *SpeedButton3;
    QToolButton *SpeedButton4;
    QToolButton *SpeedButton5;
    QToolButton *SpeedButton6;
    QToolButton *SpeedButton7;
    QToolButton *SpeedButton8;
    QToolButton *SpeedButton9;
    QToolButton *SpeedButton10;
    QToolButton *SpeedButton11;
    QToolButton *SpeedButton12;
    QPushButton *Button7;
    QLabel *Label1;
    PictogramLineEdit *Edit1;
    QPushButton *Button1;
    QPushButton *Button2;
    QPushButton *Button3;
    QPushButton *Button4;
    QPushButton *Button5;
    QPushButton *Button8;
    QToolButton *SpeedButton13;
    QToolButton *SpeedButton14;
    QToolButton *SpeedButton15;
    QToolButton *SpeedButton16;
    QToolButton *SpeedButton17;
    QToolButton *SpeedButton18;
    QToolButton *SpeedButton19;
    QToolButton *SpeedButton20;
    QFrame *Panel3;
    QScrollArea *ScrollBox1;
    QLabel *Image3;
    QFrame *Panel4;
    QLabel *Image4;
    QPushButton *Button9;
    QPushButton *Button10;
    QPushButton *Button11;
    QPushButton *Button12;
    QPushButton *Button6;

    // The dialogs this window opens, each made on first use as its child.
    MainWindowDialogs dialogs;
    // The handset, the size meter and the findings of the page check.
    PageCheckPanel *pageCheck = nullptr;
    QPushButton *previewButton; // "ケータイ表示", beside the title box
    QPushButton *publishButton; // "公開…", above it

    FileDialog SaveDialog1;
    FileDialog OpenDialog1;
    FileDialog SaveDialog2;
    StripPictures ImageList1;

    // Which project is open and whether it holds unsaved changes, in the free band above the
    // title box, under the notice.
    QLabel *documentLabel;
    // Unsaved work offered back, in the free band above the title box.
    NoticeBar *notice;

private:
    void createTitleBar();
    void createToolbar();
    void createWorkArea();
    void createSummaryArea();
    void connectHandlers();
    void setFocusOrder();
    void loadBackgroundPicture();
    void showSlotCaptions();
    void openItemEditor(ItemKind kind);
    void showOpenedPage();
    // An undo, a redo or work taken back put a page in place.
    void showRestoredPage(bool patternChanged);
    void openPage(const std::function<std::optional<QString>()> &read);
    void keepUnsavedWork();
    // The commands with their keys, which the toolbar's buttons give as well.
    void createActions();
    // Saves the project into the file it was opened from or saved to, asking as "データ保存"
    // where there is none yet.
    void saveProjectToItsFile();
    void projectSaved(const QString &file);
    void showDocument();
    // A save said on the notice, which leaves by itself.
    void saySaved(const QString &file);

    PageSession &session;
    PageProject &page; // the session's
    WorkingState &state;
    PatternCatalogue &catalogue;
    Pattern &pattern;
    ToolSettings &toolSettings;
    const QString &programFolder;
    Desktop &desktop;
    std::function<void()> openTextMap;

    TitleBandDrag *titleBandDrag = nullptr;
};
