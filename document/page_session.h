#pragma once

#include "document/page_history.h"
#include "page/page_changes.h"
#include "page/page_project.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class Desktop;
class NoticeBar;
class QUndoStack;
class UnsavedWork;

// The page being made, as one document: the page itself, where its files lie, the project file
// it was last opened from or saved to, whether it holds unsaved changes, its change signal, the
// undoing and redoing of each change, and the keeping of work not saved yet. Windows change the
// page and then say what they did; the session makes a step of it and announces the change.
class PageSession : public QObject {
    Q_OBJECT

public:
    explicit PageSession(const QString &programFolder, QObject *parent = nullptr);
    ~PageSession() override;

    PageProject page;
    PageLocation location;
    // Says each change to whatever shows or measures the page.
    PageChanges changes;

    // What a window shows beside the page (its slots, its summary page), as a way to put it back.
    using ViewNow = std::function<std::function<void()>()>;

    // Keeps the page's work that is not saved yet in the program folder, and offers what replaced
    // it unsaved back on `notice`; the page as it is counts as saved, a new window's.
    void keepUnsavedWork(NoticeBar &notice, Desktop &desktop, ViewNow viewNow);

    // The page changed in place, as `step` says ("画像1の変更"): one step to undo.
    void edited(const QString &step);
    // The title as typed; a burst of typing is one step.
    void titleTyped(const QByteArray &title);
    // A whole page takes the place of this one, as `step` says ("新規作成"): `replace` says
    // whether it did (also when it then stops half-way). The new page counts as saved as
    // `origin`, or, when `unsaved` holds the bytes it counts as saved as, as unsaved work. What
    // was replaced unsaved is kept in a file of its own and offered back on the notice for as
    // long as the step can be undone.
    void replace(const QString &step, const std::function<void(bool &)> &replace,
                 const QString &origin, const std::optional<QByteArray> &unsaved = std::nullopt);
    // The project was written to `file`: the work is as saved, and its folder known.
    void saved(const QString &file);
    // HTML保存 wrote the page to `file`: its pictures are looked for beside it.
    void pageWritten(const QString &file);
    // The project's folder is `folder` from now on (work taken back names the file it came from).
    void projectFolderIs(const QString &folder);

    // The project file the page was last opened from or saved to; empty for none.
    QString projectFile() const;
    // The file HTML保存 last wrote the page to; empty for none.
    QString pageFile() const { return writtenTo; }
    // Whether the page differs from the page as saved.
    bool isUnsaved() const;

    QUndoStack &history();

    // The page as it is now counts as saved, a new window's, with nothing to undo.
    void startAfresh();

    // Keeps the work now, as at the end.
    void keepNow();
    // Offers back work a program left when it ended; `opened` is told the file it came from.
    void offerLeftWork(const std::function<void(const QString &origin)> &opened);

signals:
    // projectFile() or isUnsaved() may say something new.
    void stateChanged();
    // An undo, a redo or work taken back put a page in place: windows show it again, and its
    // pattern when it is another.
    void restored(bool patternChanged);

private:
    void restore(const PageStep &step, bool undone);
    PageSnapshot snapshot() const;
    quint64 record(PageStep step);
    void recordChange(const QString &name, PageStep::Kind kind, PageChanges::Change what);
    void offerBack(quint64 serial);

    PageHistory steps;
    PageProject recorded; // the page as the last step left it
    const QString &programFolder; // known only once the program runs: read when first needed
    QString writtenTo;
    UnsavedWork *unsaved = nullptr;
    QPointer<NoticeBar> notice;
    Desktop *desktop = nullptr;
    ViewNow viewNow;
    quint64 offered = 0; // the step whose page the notice offers back
};
