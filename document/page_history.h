#pragma once

#include "page/page_project.h"
#include "settings/recovery_file.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <memory>

// The page at one moment, with what goes with it when a whole page replaces another: where it
// lies, the work as last saved and the file it was saved as, and what the window showed.
struct PageSnapshot {
    PageProject page;
    PageLocation location;
    QByteArray savedWork;
    QString savedAs;
    std::function<void()> view; // puts back what the window showed; may be empty
};

// One change of the page, done already, that can be undone.
struct PageStep {
    enum class Kind {
        Edit,    // the page changed in place: an item, the settings, the pattern, a picture
        Title,   // the title typed; a burst of typing is one step
        Replace, // a whole page took the place of another (新規作成, データ開く)
    };
    QString name; // what the step did, in the user's words ("画像1の変更")
    Kind kind = Kind::Edit;
    PageSnapshot before;
    PageSnapshot after;
    // The replaced page's work, where it was unsaved: kept in a recovery file of its own while the
    // step stands, so that neither a kill nor a close loses it.
    std::shared_ptr<RecoveryFile> keptAside;
    // The page the step brought, where it is unsaved work (work taken back after a crash): kept
    // in a file of its own while the step is undone and could be redone.
    std::shared_ptr<RecoveryFile> keptUndone;
    qint64 lastTyped = 0; // for a title step: when its last key came, in ms since the epoch
    quint64 serial = 0;   // names the step for as long as it is on the stack
};

// Shares the texts `after` has unchanged from `before`, so that a snapshot costs only what
// changed; returns what `after` holds beside `before`, in bytes.
qsizetype ShareUnchangedTexts(PageProject &after, const PageProject &before);

// The page's steps on a QUndoStack, the newest on top, bounded in memory: past the bound the
// oldest steps go. Undoing or redoing a step hands its snapshot to `restore`.
class PageHistory : public QObject {
    Q_OBJECT

public:
    // `restore(step, undone)` puts the page back as it was before the step (undone) or after it.
    using Restore = std::function<void(const PageStep &step, bool undone)>;

    // Title typing that pauses longer than this starts a new step.
    static constexpr qint64 BurstPause = 2000;

    explicit PageHistory(Restore restore, qsizetype bound = qsizetype(64) << 20,
                         QObject *parent = nullptr);

    QUndoStack &stack() { return undoStack; }

    // Puts a step that was done on the stack (a title step joins the title step before it within
    // a burst); returns its serial.
    quint64 record(PageStep step);

    // Whether the step is still on the stack and done, so that it can be undone.
    bool canUndo(quint64 serial) const;
    // Undoes the steps down to and with this one.
    void undoTo(quint64 serial);

    // The memory the steps hold, in bytes.
    qsizetype bytes() const;

private:
    class Command;
    void keepWithinBound();

    Restore restore;
    qsizetype bound;
    quint64 nextSerial = 1;
    bool rebuilding = false; // steps put back on a new stack change nothing
    QUndoStack undoStack;
};
