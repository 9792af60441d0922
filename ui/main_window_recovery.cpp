// The main window's unsaved work: kept in a recovery file a little after each change and at the
// end, and offered back after 新規作成 or データ開く replaced it, and at the next start when the
// program ended before it was saved. Nothing asks a question; a notice offers.

#include "ui/main_window.h"

#include "model/io_error.h"
#include "model/project_file.h"
#include "widgets/error_guard.h"
#include "widgets/notice_bar.h"

#include <QFileInfo>
#include <QLocale>
#include <QScopeGuard>

#include <utility>

namespace {

bool isProject(const QByteArray &bytes)
{
    return ReadProjectFile(bytes, PageProject()).has_value();
}

} // namespace

std::optional<TForm1::ReplacedWork> TForm1::unsavedWork() const
{
    QByteArray work = WriteProject(page);
    if (work == savedWork)
        return std::nullopt;
    return ReplacedWork{std::move(work), savedWork, projectFile, state};
}

void TForm1::workChanged()
{
    if (replacing)
        return;
    // The work replaced is offered until the next change.
    if (replaced) {
        replaced.reset();
        notice->dismiss();
    }
    keepTimer.start();
}

void TForm1::keepWork()
{
    keepTimer.stop();
    const QByteArray work = WriteProject(page);
    try {
        if (work != savedWork)
            recovery.keep(work, projectFile);
        else if (replaced)
            recovery.keep(replaced->work, replaced->projectFile);
        else
            recovery.remove();
    } catch (const UserError &error) {
        if (!keepingFailed)
            notice->showNotice(QStringLiteral("保存していない作業の控えを書けません（%1）。"
                                              "データ保存で保存してください。")
                                   .arg(error.message().section(QLatin1Char('\n'), 0, 0)),
                               {{QStringLiteral("閉じる"), {}}});
        keepingFailed = true;
    }
}

void TForm1::workSaved(const QString &savedTo)
{
    projectFile = savedTo;
    savedWork = WriteProject(page);
    keepWork();
}

void TForm1::replacePage(const std::function<void(bool &)> &replace,
                         const std::function<void()> &afterwards)
{
    std::optional<ReplacedWork> before = unsavedWork();
    bool pageReplaced = false;
    replacing = true;
    // Also when showing the new page stops half-way, it is the page now.
    const auto settle = qScopeGuard([&] {
        replacing = false;
        if (!pageReplaced)
            return;
        afterwards();
        replaced = std::move(before);
        keepWork();
        if (replaced)
            notice->showNotice(QStringLiteral("保存していない作業を消しました"),
                               {{QStringLiteral("元に戻す"), [this] {
                                     if (std::optional<ReplacedWork> work = std::exchange(replaced, std::nullopt))
                                         guarded(desktop, [&] { bringBack(*work); });
                                 }}});
        else
            notice->dismiss();
    });
    replace(pageReplaced);
}

// The work as it was: the page, its slots and folders, and where it was last saved; still
// unsaved.
void TForm1::bringBack(const ReplacedWork &work)
{
    replacePage(
        [&](bool &pageReplaced) {
            if (std::optional<ProjectRead> read = ReadProjectFile(work.work, PageProject()))
                page = std::move(read->page);
            state = work.state;
            pageReplaced = true;
            showSlotCaptions();
            showOpenedPage();
            ShowSummaryPage(work.state.SummaryPage);
        },
        [&] {
            projectFile = work.projectFile;
            savedWork = work.savedWork;
        });
}

void TForm1::offerLeftWork()
{
    const LeftWorkFound found = FindLeftWork(programFolder, QStringLiteral("mpk"), isProject);
    if (!found.work) {
        if (!found.setAside.isEmpty())
            notice->showNotice(found.setAside, {{QStringLiteral("閉じる"), {}}});
        return;
    }
    const LeftWork left = *found.work;
    const auto open = [this, left] {
        // It comes back as a new page's work: データ保存 offers the file it came from.
        WorkingState cameBack = state;
        if (!left.origin.isEmpty()) {
            SaveDialog2.remember(left.origin);
            cameBack.ProjectFolder = QFileInfo(left.origin).absolutePath();
        }
        guarded(desktop, [&] { bringBack({left.work, WriteProject(PageProject()), {}, cameBack}); });
        ForgetLeftWork(left);
    };
    notice->showNotice(
        QStringLiteral("前回保存していない作業があります（%1）")
            .arg(QLocale(QLocale::Japanese).toString(left.when, QStringLiteral("M月d日 H:mm"))),
        {{QStringLiteral("開く"), open},
         {QStringLiteral("捨てる"), [left] { ForgetLeftWork(left); }}});
}
