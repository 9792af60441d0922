#include "document/page_session.h"

#include "document/unsaved_work.h"
#include "page/project_file.h"
#include "widgets/error_guard.h"
#include "widgets/notice_bar.h"

#include <QDateTime>
#include <QFileInfo>
#include <QScopeGuard>
#include <QUndoStack>

namespace {

const QString replacedNotice = QStringLiteral("保存していない作業を消しました");

bool isProject(const QByteArray &bytes)
{
    return ReadProjectFile(bytes, PageProject()).has_value();
}

} // namespace

PageSession::PageSession(const QString &programFolder, QObject *parent)
    : QObject(parent),
      steps([this](const PageStep &step, bool undone) { restore(step, undone); }),
      programFolder(programFolder)
{
    // The notice offers a replaced page back while its step can be undone, and no longer.
    connect(&steps.stack(), &QUndoStack::indexChanged, this, [this] {
        if (offered != 0 && !steps.canUndo(offered)) {
            if (notice && notice->text() == replacedNotice)
                notice->dismiss();
            offered = 0;
        }
    });
}

// The stack empties itself as it goes: nothing here listens any more.
PageSession::~PageSession()
{
    disconnect(&steps.stack(), nullptr, this, nullptr);
}

void PageSession::keepUnsavedWork(NoticeBar &noticeBar, Desktop &shownOn, ViewNow view)
{
    notice = &noticeBar;
    desktop = &shownOn;
    viewNow = std::move(view);
    unsaved = new UnsavedWork(
        programFolder, QStringLiteral("mpk"), noticeBar, shownOn,
        {[this] { return WriteProject(page); },
         [this](const QByteArray &work) {
             if (std::optional<ProjectRead> read = ReadProjectFile(work, PageProject()))
                 page = std::move(read->page);
             recorded = page;
             emit restored(true);
         },
         viewNow},
        this);
    unsaved->setReplacer([this](const std::function<void(bool &)> &replaceWork, const QString &origin,
                                const std::optional<QByteArray> &unsavedFrom) {
        replace(QStringLiteral("前回の作業を開く"), replaceWork, origin, unsavedFrom);
    });
    connect(unsaved, &UnsavedWork::stateChanged, this, &PageSession::stateChanged);
    // The keeping speaks on the window's notice, and ends with it.
    connect(&noticeBar, &QObject::destroyed, this, [this] {
        delete unsaved;
        unsaved = nullptr;
    });
    startAfresh();
}

void PageSession::startAfresh()
{
    recorded = page;
    steps.stack().clear();
    if (unsaved)
        unsaved->saved();
}

PageSnapshot PageSession::snapshot() const
{
    return {page, location, unsaved ? unsaved->savedBytes() : QByteArray(), projectFile(),
            viewNow ? viewNow() : std::function<void()>()};
}

quint64 PageSession::record(PageStep step)
{
    // The page shares with its snapshot what did not change.
    ShareUnchangedTexts(step.after.page, step.before.page);
    page = step.after.page;
    recorded = page;
    return steps.record(std::move(step));
}

void PageSession::edited(const QString &name)
{
    recordChange(name, PageStep::Kind::Edit, PageChanges::Change::Page);
}

void PageSession::titleTyped(const QByteArray &title)
{
    // An input method may say the text changed when it did not: no step, nothing to redo lost.
    if (title == page.Title)
        return;
    page.Title = title;
    recordChange(QStringLiteral("タイトルの入力"), PageStep::Kind::Title, PageChanges::Change::Title);
}

// A dialog's "決定" that changed nothing is announced as before, but is no step to undo.
void PageSession::recordChange(const QString &name, PageStep::Kind kind, PageChanges::Change what)
{
    if (kind == PageStep::Kind::Title || WriteProject(page) != WriteProject(recorded)) {
        PageStep step;
        step.name = name;
        step.kind = kind;
        step.before.page = recorded;
        step.after.page = page;
        step.lastTyped = QDateTime::currentMSecsSinceEpoch();
        record(std::move(step));
        if (unsaved)
            unsaved->changed();
    }
    changes.announce(what);
}

void PageSession::replace(const QString &name, const std::function<void(bool &)> &replaceWork,
                          const QString &origin, const std::optional<QByteArray> &unsavedFrom)
{
    PageStep step;
    step.name = name;
    step.kind = PageStep::Kind::Replace;
    step.before = snapshot();
    const bool wasUnsaved = isUnsaved();
    bool replaced = false;
    // Also when showing the new page stops half-way, it is the page now.
    const auto settle = qScopeGuard([&] {
        if (!replaced)
            return;
        if (unsaved)
            unsaved->takeAsSaved(unsavedFrom ? *unsavedFrom : WriteProject(page), origin);
        step.after = snapshot();
        step.keptUndone = std::make_shared<RecoveryFile>(programFolder, QStringLiteral("mpk"));
        if (wasUnsaved && unsaved)
            unsaved->keepAside(step.keptAside, WriteProject(step.before.page), step.before.savedAs);
        const quint64 serial = record(std::move(step));
        changes.announce(PageChanges::Change::Page);
        changes.announce(PageChanges::Change::Folders);
        if (wasUnsaved)
            offerBack(serial);
        else if (notice && notice->text() == replacedNotice)
            notice->dismiss();
    });
    replaceWork(replaced);
}

void PageSession::offerBack(quint64 serial)
{
    if (!notice)
        return;
    offered = serial;
    notice->showNotice(replacedNotice, {{QStringLiteral("元に戻す"), [this, serial] {
                                             guarded(*desktop, [&] { steps.undoTo(serial); });
                                         }}});
}

void PageSession::restore(const PageStep &step, bool undone)
{
    const PageSnapshot &to = undone ? step.before : step.after;
    const bool patternChanged = to.page.PatternNumber != page.PatternNumber;
    page = to.page;
    recorded = page;
    if (step.kind == PageStep::Kind::Replace) {
        location = to.location;
        if (unsaved) {
            unsaved->takeAsSaved(to.savedWork, to.savedAs);
            // The replaced work is kept aside while the replacing stands.
            std::shared_ptr<RecoveryFile> kept = step.keptAside;
            if (kept && undone)
                kept->remove();
            else if (kept)
                unsaved->keepAside(kept, WriteProject(step.before.page), step.before.savedAs);
            // Undone, the page the step brought is kept too where it is work not saved anywhere.
            std::shared_ptr<RecoveryFile> brought = step.keptUndone;
            const QByteArray broughtWork = WriteProject(step.after.page);
            if (brought && undone && broughtWork != step.after.savedWork)
                unsaved->keepAside(brought, broughtWork, step.after.savedAs);
            else if (brought && !undone)
                brought->remove();
        }
        if (to.view)
            to.view();
    }
    emit restored(patternChanged);
    if (unsaved)
        unsaved->changed();
    changes.announce(PageChanges::Change::Page);
    if (step.kind == PageStep::Kind::Replace)
        changes.announce(PageChanges::Change::Folders);
}

void PageSession::saved(const QString &file)
{
    location.ProjectFolder = QFileInfo(file).absolutePath();
    if (unsaved)
        unsaved->saved(file);
    steps.stack().setClean();
    changes.announce(PageChanges::Change::Folders);
}

void PageSession::pageWritten(const QString &file)
{
    writtenTo = file;
    location.PageFolder = QFileInfo(file).absolutePath();
    changes.announce(PageChanges::Change::Folders);
}

void PageSession::projectFolderIs(const QString &folder)
{
    location.ProjectFolder = folder;
    changes.announce(PageChanges::Change::Folders);
}

QString PageSession::projectFile() const
{
    return unsaved ? unsaved->origin() : QString();
}

bool PageSession::isUnsaved() const
{
    return unsaved && unsaved->isUnsaved();
}

QUndoStack &PageSession::history()
{
    return steps.stack();
}

void PageSession::keepNow()
{
    if (unsaved)
        unsaved->keepNow();
}

void PageSession::offerLeftWork(const std::function<void(const QString &)> &opened)
{
    if (unsaved)
        unsaved->offerLeftWork(isProject, QStringLiteral("作業"), WriteProject(PageProject()), opened);
}
