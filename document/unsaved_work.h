#pragma once

#include "settings/recovery_file.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class NoticeBar;
class Desktop;

// A window's work that is not saved yet: kept in its recovery file two seconds after the last
// change, five at most after the first change not yet kept however the user goes on typing, and
// at once when something replaces it or the window ends; removed when the work is saved or as
// saved. What replaced it is offered back on a notice ("元に戻す"), and so is work a program
// left when it ended ("開く", "捨てる"). Nothing asks a question.
class UnsavedWork : public QObject {
    Q_OBJECT

public:
    struct Hooks {
        std::function<QByteArray()> workNow;             // the work in its file format
        std::function<void(const QByteArray &)> putBack; // the work from those bytes, shown
        // What the window shows beside the work (its slots, its folders), to be put back with it.
        std::function<std::function<void()>()> viewNow;
    };

    // The work of kind `extension` ("mpk", "map"), kept in `programFolder`, else in the user's
    // own folder; notices go to `notice`.
    UnsavedWork(const QString &programFolder, const QString &extension, NoticeBar &notice,
                Desktop &desktop, Hooks hooks, QObject *parent = nullptr);

    // The work now is as saved: a new window's, or one just saved or opened as `origin` (empty
    // for none); its recovery file goes.
    void saved(const QString &origin = {});

    // The user changed the work.
    void changed();

    // Replaces the work by `replace`, which says whether it did (even when it then stops
    // half-way). The new work counts as saved as `origin`, or, when `unsaved` holds the bytes
    // it counts as saved as, as unsaved work. What was replaced unsaved is kept safe and
    // offered back until the next change.
    void replace(const std::function<void(bool &)> &replace, const QString &origin,
                 const std::optional<QByteArray> &unsaved = std::nullopt);

    // Keeps the work now, or removes the recovery file when the work is as saved.
    void keepNow();

    // Offers back work of this kind a program of the folder left when it ended, or replaced
    // and could not bring back: `what` names it ("作業", "地図"); it comes back unsaved, as
    // changes to `fresh` (a new work's bytes), and `opened` is told where it came from. The
    // newest is offered first; once it is opened or given up, the next.
    void offerLeftWork(bool (*readable)(const QByteArray &), const QString &what,
                       const QByteArray &fresh,
                       const std::function<void(const QString &origin)> &opened);

    // Where the work was last saved or opened; empty for none.
    QString origin() const { return savedAs; }

    // The work as saved, in its file format.
    QByteArray savedBytes() const { return savedWork; }

    // The work now counts as saved as `origin` with the bytes `work` (a page put back by an
    // undo); kept, or its recovery file removed, at once.
    void takeAsSaved(const QByteArray &work, const QString &origin);

    // Keeps `work`, replaced unsaved, in `file`, a recovery file of its own made when there is
    // none yet, until the file is removed.
    void keepAside(std::shared_ptr<RecoveryFile> &file, const QByteArray &work,
                   const QString &origin);

    // Who replaces the work when left work is opened: by default this keeping itself, which
    // offers the work it replaced back; a window with an undo stack makes a step of it instead.
    using Replacer = std::function<void(const std::function<void(bool &)> &replace,
                                        const QString &origin, const std::optional<QByteArray> &unsaved)>;
    void setReplacer(Replacer replacer) { leftWorkReplacer = std::move(replacer); }

    // Whether the work now differs from the work as saved.
    bool isUnsaved() const { return hooks.workNow() != savedWork; }

signals:
    // The work may have changed, or been saved, opened or replaced: what origin() and
    // isUnsaved() say may be new.
    void stateChanged();

private:
    struct Replaced {
        QByteArray work;
        QByteArray savedWork;
        QString origin;
        std::function<void()> view;
        // Its own recovery file, which stays after a kill or a close, and once the work can no
        // longer be brought back here, for the next start to offer; gone when it is brought back.
        std::shared_ptr<RecoveryFile> kept;
    };

    std::optional<Replaced> unsaved() const;
    void bringBack(const Replaced &replaced);
    void keepReplaced(Replaced &work);
    // Keeps the work, saying once on the notice when it cannot.
    void keepIn(RecoveryFile &file, const QByteArray &work, const QString &origin);

    NoticeBar &notice;
    Desktop &desktop;
    Hooks hooks;
    QString programFolder;
    QString extension;
    RecoveryFile recovery;
    QTimer quiet;    // two seconds after the last change
    QTimer deadline; // five seconds after the first change not yet kept
    QByteArray savedWork;
    QString savedAs;
    std::optional<Replaced> replaced;
    Replacer leftWorkReplacer;
    bool replacing = false;
    bool keepingFailed = false; // said once
    bool saidWhere = false;     // that the work goes to the user's folder, said once
};
