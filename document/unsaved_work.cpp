#include "document/unsaved_work.h"

#include "text/io_error.h"
#include "widgets/desktop.h"
#include "widgets/error_guard.h"
#include "widgets/notice_bar.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QScopeGuard>

#include <utility>

UnsavedWork::UnsavedWork(const QString &programFolder, const QString &extension,
                         NoticeBar &notice, Desktop &desktop, Hooks hooks, QObject *parent)
    : QObject(parent),
      notice(notice),
      desktop(desktop),
      hooks(std::move(hooks)),
      programFolder(programFolder),
      extension(extension),
      recovery(programFolder, extension)
{
    quiet.setSingleShot(true);
    quiet.setInterval(2000);
    connect(&quiet, &QTimer::timeout, this, &UnsavedWork::keepNow);
    // Typing on without a pause of two seconds would put the keeping off for good.
    deadline.setSingleShot(true);
    deadline.setInterval(5000);
    connect(&deadline, &QTimer::timeout, this, &UnsavedWork::keepNow);
}

void UnsavedWork::saved(const QString &origin)
{
    replaced.reset();
    savedWork = hooks.workNow();
    savedAs = origin;
    keepNow();
    emit stateChanged();
}

void UnsavedWork::changed()
{
    if (replacing)
        return;
    // What was replaced is offered until the next change.
    if (replaced) {
        replaced.reset();
        notice.dismiss();
    }
    quiet.start();
    if (!deadline.isActive())
        deadline.start();
    emit stateChanged();
}

std::optional<UnsavedWork::Replaced> UnsavedWork::unsaved() const
{
    QByteArray work = hooks.workNow();
    if (work == savedWork)
        return std::nullopt;
    return Replaced{std::move(work), savedWork, savedAs,
                    hooks.viewNow ? hooks.viewNow() : std::function<void()>(), {}};
}

void UnsavedWork::keepNow()
{
    quiet.stop();
    deadline.stop();
    const QByteArray work = hooks.workNow();
    if (work == savedWork)
        recovery.remove();
    else
        keepIn(recovery, work, savedAs);
}

void UnsavedWork::keepIn(RecoveryFile &file, const QByteArray &work, const QString &origin)
{
    try {
        file.keep(work, origin);
        // Said when the notice is free: left work offered on it stays there to be taken.
        if (file.inUserFolder() && !saidWhere && notice.isHidden()) {
            notice.showNotice(QStringLiteral("プログラムのフォルダに書けないため、保存していない"
                                             "作業の控えは「%1」に置きます。")
                                  .arg(QDir::toNativeSeparators(QFileInfo(file.path()).path())),
                              {{QStringLiteral("閉じる"), {}}});
            saidWhere = true;
        }
    } catch (const UserError &error) {
        if (!keepingFailed)
            notice.showNotice(QStringLiteral("保存していない作業の控えを書けません（%1）。"
                                             "忘れずに保存してください。")
                                  .arg(error.message().section(QLatin1Char('\n'), 0, 0)),
                              {{QStringLiteral("閉じる"), {}}});
        keepingFailed = true;
    }
}

void UnsavedWork::replace(const std::function<void(bool &)> &replaceWork, const QString &origin,
                          const std::optional<QByteArray> &unsavedFrom)
{
    std::optional<Replaced> before = unsaved();
    bool workReplaced = false;
    replacing = true;
    // Also when showing the new work stops half-way, it is the work now.
    const auto settle = qScopeGuard([&] {
        replacing = false;
        if (!workReplaced)
            return;
        savedWork = unsavedFrom ? *unsavedFrom : hooks.workNow();
        savedAs = origin;
        replaced = std::move(before);
        if (replaced)
            keepReplaced(*replaced);
        keepNow();
        emit stateChanged();
        if (!replaced) {
            notice.dismiss();
            return;
        }
        notice.showNotice(QStringLiteral("保存していない作業を消しました"),
                          {{QStringLiteral("元に戻す"), [this] {
                                if (std::optional<Replaced> work = std::exchange(replaced, std::nullopt))
                                    guarded(desktop, [&] { bringBack(*work); });
                            }}});
    });
    replaceWork(workReplaced);
}

// Work replaced unsaved is kept in a recovery file of its own until it is brought back.
void UnsavedWork::keepReplaced(Replaced &work)
{
    keepAside(work.kept, work.work, work.origin);
}

void UnsavedWork::keepAside(std::shared_ptr<RecoveryFile> &file, const QByteArray &work,
                            const QString &origin)
{
    if (!file)
        file = std::make_shared<RecoveryFile>(programFolder, extension);
    keepIn(*file, work, origin);
}

void UnsavedWork::takeAsSaved(const QByteArray &work, const QString &origin)
{
    savedWork = work;
    savedAs = origin;
    keepNow();
    emit stateChanged();
}

// The work as it was, still unsaved, with what the window showed beside it.
void UnsavedWork::bringBack(const Replaced &work)
{
    // Brought back, it is the work now, kept in the work's own file.
    const auto forget = qScopeGuard([&work] {
        if (work.kept)
            work.kept->remove();
    });
    replace(
        [&](bool &workReplaced) {
            workReplaced = true;
            hooks.putBack(work.work);
            if (work.view)
                work.view();
        },
        work.origin, work.savedWork);
}

void UnsavedWork::offerLeftWork(bool (*readable)(const QByteArray &), const QString &what,
                                const QByteArray &fresh,
                                const std::function<void(const QString &)> &opened)
{
    const LeftWorkFound found = FindLeftWork(recovery, readable);
    if (!found.work) {
        if (!found.setAside.isEmpty())
            notice.showNotice(found.setAside, {{QStringLiteral("閉じる"), {}}});
        return;
    }
    const LeftWork left = *found.work;
    const auto open = [this, left, readable, what, fresh, opened] {
        guarded(desktop, [&] {
            // It comes back unsaved, as a new work's: saving asks for a name.
            const auto putBack = [&](bool &workReplaced) {
                workReplaced = true;
                hooks.putBack(left.work);
            };
            if (leftWorkReplacer)
                leftWorkReplacer(putBack, {}, fresh);
            else
                replace(putBack, {}, fresh);
            opened(left.origin);
        });
        ForgetLeftWork(left);
        offerLeftWork(readable, what, fresh, opened);
    };
    const auto giveUp = [this, left, readable, what, fresh, opened] {
        ForgetLeftWork(left);
        offerLeftWork(readable, what, fresh, opened);
    };
    notice.showNotice(QStringLiteral("前回保存していない%1があります（%2）")
                          .arg(what, QLocale(QLocale::Japanese)
                                         .toString(left.when, QStringLiteral("M月d日 H:mm"))),
                      {{QStringLiteral("開く"), open}, {QStringLiteral("捨てる"), giveUp}});
}
