#include "windows/main_window.h"

#include "document/page_session.h"
#include "drawings/fonts.h"
#include "drawings/pattern_preview.h"
#include "page/page_project.h"
#include "page/page_title.h"
#include "page/pattern.h"
#include "page/pattern_catalogue.h"
#include "page/project_file.h"
#include "pictures/background_picture.h"
#include "settings/program_settings.h"
#include "settings/tool_settings.h"
#include "text/program_folder.h"
#include "text/sjis.h"
#include "widgets/controls.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/notice_bar.h"
#include "widgets/pictogram_line_edit.h"
#include "widgets/title_band_drag.h"
#include "windows/basic_settings.h"
#include "windows/item_editor.h"
#include "windows/launchers.h"
#include "windows/page_check_panel.h"
#include "windows/page_commands.h"
#include "windows/pattern_selection.h"
#include "windows/picture_fitting_dialog.h"
#include "windows/preview_box.h"
#include "windows/publish_window.h"
#include "windows/summary_panel.h"
#include "windows/tool_settings_dialog.h"
#include "windows/version_dialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>

#include <future>

namespace {

const QString projectFilter = QStringLiteral("プロジェクトファイル(*.mpk)|*.mpk");

} // namespace

TForm1::TForm1(PageSession &session, HandsetChoice &handsetChoice, WorkingState &state,
               PatternCatalogue &catalogue, Pattern &pattern,
               ToolSettings &toolSettings, const QString &programFolder, Desktop &desktop,
               QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      dialogs(*this, session, state, catalogue, pattern, toolSettings, handsetChoice, programFolder,
              desktop),
      SaveDialog1(FileDialog::Mode::Save, QStringLiteral("HTMLファイルを保存"),
                  QStringLiteral("HTMLファイル(*.html)|*.html|すべてのファイル(*.*)|*.*"),
                  QStringLiteral("html")),
      OpenDialog1(FileDialog::Mode::Open, QStringLiteral("データファイルを開く"), projectFilter,
                  QStringLiteral("mpk")),
      SaveDialog2(FileDialog::Mode::Save, QStringLiteral("データファイルを保存"), projectFilter,
                  QStringLiteral("mpk")),
      session(session),
      page(session.page),
      state(state),
      catalogue(catalogue),
      pattern(pattern),
      toolSettings(toolSettings),
      programFolder(programFolder),
      desktop(desktop)
{
    // The item strips take some milliseconds of font work: they are drawn on a second thread
    // while the controls are made.
    std::future<StripPictures> strips = std::async(std::launch::async, makeStripPictures);
    // The page, its project and the project's pages are kept together: each dialog starts
    // where any of them was used last.
    OpenDialog1.shareFolderWith(SaveDialog1);
    SaveDialog2.shareFolderWith(SaveDialog1);
    setWindowTitle(applicationTitle());
    setFixedSize(680, 495);
    setFont(fontWithCellHeight(proportionalGothic(), 12));
    setAutoFillBackground(true);

    Image2 = new QLabel(this);
    Image2->setGeometry(0, 20, 680, 475);
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    createTitleBar();
    createToolbar();
    createWorkArea();
    createSummaryArea();
    // The page check, in the free band above the summary, opens the items it names.
    pageCheck = new PageCheckPanel(
        *this, {40, 201, 432, 24}, page, session.location, state, pattern, handsetChoice, programFolder, desktop,
        {[this](ItemKind kind) { showSlotCaptions(); openItemEditor(kind); },
         [this] { Button1Click(); }, [this] { Edit1->setFocus(); },
         [this](const LineOrigin &origin, const QString &source) {
             dialogs.pictureFitting().fitFor(origin, source);
         },
         [this] { return qrSubject(); }});
    previewButton = addButton(this, {356, 93, 100, 25}, QStringLiteral("ケータイ表示"));
    previewButton->setToolTip(QStringLiteral("ページを、選んだ機種で見たように表示します。"));
    connect(previewButton, &QPushButton::clicked, pageCheck, &PageCheckPanel::showPreview);
    publishButton = addButton(this, {356, 60, 100, 25}, QStringLiteral("公開…"));
    publishButton->setToolTip(QStringLiteral("ページと画像を、ホームページのサーバーに送ります。"));
    connect(publishButton, &QPushButton::clicked, this, [this] { guarded(this->desktop, [this] { publishPage(); }); });
    // Whoever changed the page, the summary and the check follow it.
    connect(&session.changes, &PageChanges::changed, this, [this](PageChanges::Change what) {
        if (what == PageChanges::Change::Page)
            RedrawSummary();
    });
    connect(&session.changes, &PageChanges::changed, pageCheck, &PageCheckPanel::checkAgain);
    keepUnsavedWork();
    connectHandlers();
    createActions();
    setFocusOrder();
    ImageList1 = strips.get();
}

void TForm1::showCentred()
{
    centreOnScreen(*this);
    show();
    ScrollBox1->setFocus(); // the first in the focus order
}

void TForm1::FormCreate()
{
    guarded(desktop, [this] { loadBackgroundPicture(); });
    guarded(desktop, [this] { ReadPatternCatalogueFile(programFolder, catalogue); });
    // Each step stops with its message alone; resetting the page shows summary page 1.
    guarded(desktop, [this] { ResetPage(); });
    session.startAfresh();
    guarded(desktop, [this] { ReadToolSettingsFile(programFolder, toolSettings); });
    // The file dialogs start where projects, else pages, were opened or saved last time.
    const KeptFolders kept = SavedFolders(programFolder).value;
    for (const QString &folder : {kept.project, kept.page})
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            OpenDialog1.startIn(folder);
            break;
        }
    // Once the window shows: the start waits for no look into the folder.
    QTimer::singleShot(0, this, [this] {
        guarded(desktop, [this] {
            session.offerLeftWork([this](const QString &origin) {
                // データ保存 offers the file it came from.
                if (origin.isEmpty())
                    return;
                SaveDialog2.remember(origin);
                session.projectFolderIs(QFileInfo(origin).absolutePath());
            });
        });
    });
}

void TForm1::FormDestroy()
{
    // The work first: a message on the settings waits for the user, who may not come.
    session.keepNow();
    guarded(desktop, [this] { WriteToolSettingsFile(programFolder, toolSettings); });
}

// An offer on the notice (work to take back) stays: the name above the title shows the save.
void TForm1::saySaved(const QString &file)
{
    if (!notice->captions().isEmpty())
        return;
    notice->showBriefly(QStringLiteral("保存しました: %1").arg(QFileInfo(file).fileName()));
}

// The page's work is kept a little after each change, and whatever replaces it unsaved offers
// it back on a notice in the free band above the title.
void TForm1::keepUnsavedWork()
{
    documentLabel = new QLabel(this);
    documentLabel->setGeometry(12, 63, 336, 20);
    notice = new NoticeBar(this, {8, 61, 504, 24});
    session.keepUnsavedWork(*notice, desktop, [this] {
        return [this, kept = state] {
            state = kept;
            showSlotCaptions();
            ShowSummaryPage(kept.SummaryPage);
        };
    });
    connect(&session, &PageSession::stateChanged, this, &TForm1::showDocument);
    connect(&session, &PageSession::restored, this, &TForm1::showRestoredPage);
    showDocument();
}

void TForm1::loadBackgroundPicture()
{
    const QImage picture = BackgroundPicture(programFolder, Image2->size());
    if (!picture.isNull())
        Image2->setPixmap(QPixmap::fromImage(picture));
}

void TForm1::ResetPage()
{
    ::ResetPage(page, state);
    Edit1->clear();
    showSlotCaptions();
    ShowSummaryPage(1);
    loadPatternAndShow(1);
}

void TForm1::showSlotCaptions()
{
    Button3->setText(QStringLiteral("画像%1").arg(state.CurrentImage));
    Button4->setText(QStringLiteral("テキスト　%1").arg(state.CurrentText));
    Button5->setText(QStringLiteral("リンク%1").arg(state.CurrentLink));
    Button8->setText(QStringLiteral("直接入力%1").arg(state.CurrentDirect));
}

void TForm1::loadPatternAndShow(int number)
{
    page.PatternNumber = number;
    // The preview shows whatever pattern is current, also when reading stopped half-way.
    const auto showAnyway = qScopeGuard([this] { showPatternPreview(); });
    LoadPattern(number, catalogue, programFolder, pattern, page.PatternNumber);
}

void TForm1::showPatternPreview()
{
    showPreview(Image3, DrawPatternPreview(pattern, ImageList1));
}

void TForm1::ShowSummaryPage(int pageNumber)
{
    state.SummaryPage = static_cast<std::uint8_t>(pageNumber);
    RedrawSummary();
}

void TForm1::pageStored(const QString &step)
{
    session.edited(step);
}

void TForm1::RedrawSummary()
{
    Image4->setPixmap(QPixmap::fromImage(DrawSummaryPage(page, state.SummaryPage)));
}

// The title band stands in for a title bar: with the left button held it moves the window.
void TForm1::Image1MouseDown(Qt::MouseButtons held)
{
    if (held & Qt::LeftButton)
        titleBandDrag->start();
}

void TForm1::SpeedButton1Click()
{
    close();
}

void TForm1::SpeedButton22Click()
{
    showMinimized();
}

void TForm1::SpeedButton2Click()
{
    session.replace(
        QStringLiteral("新規作成"),
        [this](bool &pageReplaced) {
            pageReplaced = true;
            ResetPage();
        },
        {});
}

// The pictures of a page are looked for where it was saved.
void TForm1::SpeedButton3Click()
{
    if (!GeneratePage(pattern.PartCount, page, session.location, pattern, SaveDialog1, desktop))
        return;
    session.pageWritten(SaveDialog1.FileName);
    desktop.showWarningOnce(SavePageFolder(programFolder, session.location.PageFolder));
    saySaved(SaveDialog1.FileName);
}

void TForm1::SpeedButton4Click()
{
    if (SaveProject(page, SaveDialog2, desktop))
        projectSaved(SaveDialog2.FileName);
}

void TForm1::SpeedButton5Click()
{
    openPage([this]() -> std::optional<QString> {
        if (!OpenProject(page, OpenDialog1, desktop))
            return std::nullopt;
        return OpenDialog1.FileName;
    });
}

// The page just read: its title, summary page 1 and its pattern.
void TForm1::showOpenedPage()
{
    if (page.Title.size() > LongestTitleBytes) {
        const qsizetype read = page.Title.size();
        page.Title = ShortenedTitle(page.Title);
        desktop.showWarning(QStringLiteral("タイトルが長すぎる（%1 バイト）ので、はじめの %2 バイトだけにしました。"
                                           "プロジェクトファイルは、保存するまで元のままです。")
                                .arg(QLocale(QLocale::Japanese).toString(read))
                                .arg(page.Title.size()));
    }
    Edit1->setBytes(page.Title);
    ShowSummaryPage(1);
    loadPatternAndShow(page.PatternNumber);
}

// The page put back: its title (the box left alone when it shows it already, so the cursor
// stays), the slots and, when it is another, its pattern; the page keeps its number as it was.
void TForm1::showRestoredPage(bool patternChanged)
{
    if (Edit1->bytes() != page.Title)
        Edit1->setBytes(page.Title);
    showSlotCaptions();
    if (!patternChanged)
        return;
    const std::int32_t number = page.PatternNumber;
    const auto keepNumber = qScopeGuard([this, number] { page.PatternNumber = number; });
    guarded(desktop, [this, number] { loadPatternAndShow(number); });
}

void TForm1::SpeedButton6Click()
{
    dialogs.toolSettings().configure();
    dialogs.toolSettings().exec();
}

void TForm1::SpeedButton7Click()
{
    desktop.openForUser(programFilePath(programFolder, "help.html"));
}

// With no FTP program set, the program puts the page on the server itself.
void TForm1::SpeedButton8Click()
{
    if (toolSettings.FtpProgram.bytes.trimmed().isEmpty() && toolSettings.FtpProgram.chosen.isEmpty()) {
        publishPage();
        return;
    }
    startWith(desktop, QStringLiteral("FTPソフト"), ftpProgram(toolSettings));
}

void TForm1::publishPage()
{
    dialogs.publish().openFor(session.projectFile());
}

void TForm1::SpeedButton9Click()
{
    startWith(desktop, QStringLiteral("テキストエディタ"), editorProgram(toolSettings));
}

void TForm1::SpeedButton10Click()
{
    startWith(desktop, QStringLiteral("ペイントソフト"), paintProgram(toolSettings));
}

void TForm1::SpeedButton11Click()
{
    desktop.openForUser(sjis::toUnicode(toolSettings.HomePage));
}

void TForm1::SpeedButton12Click()
{
    dialogs.version().exec();
}

void TForm1::SpeedButton21Click()
{
    if (openTextMap)
        openTextMap();
}

// A page colour that does not convert stops the opening with its message.
void TForm1::Button1Click()
{
    dialogs.basicSettings().configure();
    dialogs.basicSettings().exec();
}

void TForm1::Button7Click()
{
    dialogs.patternSelection().configure();
    if (dialogs.patternSelection().exec() == QDialog::Accepted)
        session.edited(QStringLiteral("型の変更"));
}

void TForm1::SpeedButton13Click()
{
    state.CurrentImage = steppedSlot(state.CurrentImage, ImageSlotCount, 1);
    showSlotCaptions();
}

void TForm1::SpeedButton14Click()
{
    state.CurrentText = steppedSlot(state.CurrentText, TextSlotCount, 1);
    showSlotCaptions();
}

void TForm1::SpeedButton15Click()
{
    state.CurrentLink = steppedSlot(state.CurrentLink, LinkSlotCount, 1);
    showSlotCaptions();
}

void TForm1::SpeedButton16Click()
{
    state.CurrentDirect = steppedSlot(state.CurrentDirect, DirectSlotCount, 1);
    showSlotCaptions();
}

void TForm1::SpeedButton17Click()
{
    state.CurrentImage = steppedSlot(state.CurrentImage, ImageSlotCount, -1);
    showSlotCaptions();
}

void TForm1::SpeedButton18Click()
{
    state.CurrentText = steppedSlot(state.CurrentText, TextSlotCount, -1);
    showSlotCaptions();
}

void TForm1::SpeedButton19Click()
{
    state.CurrentLink = steppedSlot(state.CurrentLink, LinkSlotCount, -1);
    showSlotCaptions();
}

void TForm1::SpeedButton20Click()
{
    state.CurrentDirect = steppedSlot(state.CurrentDirect, DirectSlotCount, -1);
    showSlotCaptions();
}

void TForm1::openItemEditor(ItemKind kind)
{
    dialogs.itemEditor().configureFor(kind);
    dialogs.itemEditor().exec();
}

void TForm1::Button2Click()
{
    openItemEditor(ItemKind::Body);
}

void TForm1::Button3Click()
{
    openItemEditor(ItemKind::Image);
}

void TForm1::Button4Click()
{
    openItemEditor(ItemKind::Text);
}

void TForm1::Button5Click()
{
    openItemEditor(ItemKind::Link);
}

void TForm1::Button8Click()
{
    openItemEditor(ItemKind::Direct);
}

void TForm1::Button6Click()
{
    ShowSummaryPage(state.SummaryPage % SummaryPageCount + 1);
}

void TForm1::Button9Click()
{
    ShowSummaryPage(4);
}

void TForm1::Button10Click()
{
    ShowSummaryPage(3);
}

void TForm1::Button11Click()
{
    ShowSummaryPage(1);
}

void TForm1::Button12Click()
{
    ShowSummaryPage(2);
}
