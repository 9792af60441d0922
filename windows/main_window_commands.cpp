// The main window's commands with their keys (each is the toolbar button's own command, so a
// key does what a click does, inside the same guard), and those on the project file: opening
// one handed over, saving into its own file, and saying which one is open.
#include "windows/main_window.h"

#include "document/page_session.h"
#include "page/project_file.h"
#include "settings/program_settings.h"
#include "settings/tool_settings.h"
#include "text/text_writer.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "windows/page_check_panel.h"
#include "windows/page_commands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QUndoStack>

void TForm1::createActions()
{
    const auto add = [this](const QString &name, const QList<QKeySequence> &keys,
                            const std::function<void()> &run, QAbstractButton *button,
                            const QString &keyDoes = {}) {
        auto *action = new QAction(name, this);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, run] { guarded(desktop, run); });
        addAction(action);
        // The button's hint names the key, so the key can be found by pointing at the button.
        if (button)
            button->setToolTip(QStringLiteral("%1（%2）")
                                   .arg(button->toolTip().isEmpty() ? name : button->toolTip(),
                                        keys.constFirst().toString(QKeySequence::NativeText) + keyDoes));
        return action;
    };
    add(QStringLiteral("新規作成"), {QKeySequence::New}, [this] { SpeedButton2Click(); }, SpeedButton2);
    add(QStringLiteral("データ開く"), {QKeySequence::Open}, [this] { SpeedButton5Click(); }, SpeedButton5);
    // As editors save: into the file the project is known by, without asking again.
    add(QStringLiteral("上書き保存"), {QKeySequence::Save}, [this] { saveProjectToItsFile(); }, SpeedButton4,
        QStringLiteral(" で、開いたファイルに上書き"));
    add(QStringLiteral("HTML保存"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
        [this] { SpeedButton3Click(); }, SpeedButton3);
    add(QStringLiteral("ケータイ表示"), {QKeySequence(Qt::Key_F5)}, [this] { pageCheck->showPreview(); },
        previewButton);
    add(QStringLiteral("公開"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U)}, [this] { publishPage(); },
        publishButton);
    add(QStringLiteral("ページのチェック"), {QKeySequence(Qt::Key_F7)}, [this] { pageCheck->showFindings(); },
        nullptr);
    // The page's own undo: the title box keeps none of its own, so the keys reach these.
    QUndoStack &history = session.history();
    QAction *undo = add(QStringLiteral("元に戻す"), {QKeySequence::Undo}, [&history] { history.undo(); }, nullptr);
    QAction *redo = add(QStringLiteral("やり直し"),
                        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
                        [&history] { history.redo(); }, nullptr);
    const auto follow = [this, &history, undo, redo] {
        undo->setEnabled(history.canUndo());
        undo->setText(history.canUndo() ? QStringLiteral("元に戻す: %1").arg(history.undoText())
                                        : QStringLiteral("元に戻す"));
        redo->setEnabled(history.canRedo());
        redo->setText(history.canRedo() ? QStringLiteral("やり直し: %1").arg(history.redoText())
                                        : QStringLiteral("やり直し"));
    };
    connect(&history, &QUndoStack::indexChanged, this, follow);
    connect(&history, &QUndoStack::cleanChanged, this, follow);
    follow();
    add(QStringLiteral("ヘルプ"), {QKeySequence(Qt::Key_F1)}, [this] { SpeedButton7Click(); }, SpeedButton7);
    add(QStringLiteral("終了"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { SpeedButton1Click(); },
        SpeedButton1);
}

void TForm1::saveProjectToItsFile()
{
    const QString file = session.projectFile();
    if (file.isEmpty()) {
        SpeedButton4Click();
        return;
    }
    saveFileBytes(file, WriteProject(page));
    SaveDialog2.remember(file);
    projectSaved(file);
}

void TForm1::showDocument()
{
    const QString file = session.projectFile();
    QString said = file.isEmpty() ? QStringLiteral("無題") : QFileInfo(file).fileName();
    if (session.isUnsaved())
        said += QStringLiteral("　＊保存していない変更があります");
    documentLabel->setText(said);
    documentLabel->setToolTip(QDir::toNativeSeparators(file));
}

void TForm1::projectSaved(const QString &file)
{
    session.saved(file);
    desktop.showWarningOnce(SaveProjectFolder(programFolder, session.location.ProjectFolder));
    saySaved(file);
}

void TForm1::openProjectFile(const QString &path)
{
    guarded(desktop, [&] {
        openPage([&]() -> std::optional<QString> {
            if (!ReadProjectInto(page, path, desktop)) {
                desktop.showMessage(QStringLiteral("プロジェクトファイルではないので開けません。\n%1")
                                        .arg(QDir::toNativeSeparators(path)));
                return std::nullopt;
            }
            // データ開く offers it next, as if it had been chosen there.
            OpenDialog1.remember(QFileInfo(path).absoluteFilePath());
            return OpenDialog1.FileName;
        });
    });
}

// Replaces the page by the project `read` reads, which says from which file; what it replaced
// unsaved is offered back.
void TForm1::openPage(const std::function<std::optional<QString>()> &read)
{
    // The file is known only once it was read: the page's work is told so then.
    QString opened;
    session.replace(
        QStringLiteral("データ開く"),
        [&](bool &pageReplaced) {
            const std::optional<QString> file = read();
            if (!file)
                return;
            pageReplaced = true;
            opened = *file;
            session.location.ProjectFolder = OpenDialog1.lastFolder();
            desktop.showWarningOnce(SaveProjectFolder(programFolder, session.location.ProjectFolder));
            showOpenedPage();
        },
        opened);
}

QrSubject TForm1::qrSubject() const
{
    return {page.Title, toolSettings.HomePage, session.pageFile(), session.projectFile()};
}
