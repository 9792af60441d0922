#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QLockFile;

// The largest recovery file taken back: far above any page or map (a page these phones show
// is a few kilobytes, a map under one), so a larger one is no work of this program and is set
// aside without being read.
constexpr qint64 MaxRecoveryBytes = 4 * 1024 * 1024;

// Unsaved work kept safe while the program runs: for each running program and each kind of
// work one file in that work's own format ("recovery-3f9c0a1be2d47765.mpk" for the page's
// project, "….map" for a text map), named by a random number drawn for it, so no other program
// has the name whatever process number it runs as. Beside it, written after it, its notes
// ("….mpk.ini": the program's version, the file the work was opened from or saved to, and the
// work's size and SHA-256), and a lock ("….mpk.lock") held while the program runs, telling a
// running program's files from those a closed or ended one left. The work goes to the program
// folder, or to the user's own folder when the program folder cannot be written.
class RecoveryFile {
public:
    // The work of kind `extension` ("mpk", "map") of this program, in `programFolder`, else in
    // `userFolder`.
    RecoveryFile(const QString &programFolder, const QString &extension,
                 const QString &userFolder =
                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    ~RecoveryFile();
    RecoveryFile(const RecoveryFile &) = delete;
    RecoveryFile &operator=(const RecoveryFile &) = delete;

    // Writes the work, then its notes with the file it came from (empty for none), each
    // through the one atomic write path: in the program folder, or in the user's folder from
    // the first time the program folder cannot take it on. Throws IoError when neither can.
    void keep(const QByteArray &work, const QString &origin);

    // Removes the kept work; nothing when there is none.
    void remove();

    QString path() const;

    // Whether the work goes to the user's folder, the program folder being unwritable.
    bool inUserFolder() const;

    QString extension() const { return kind; }

    // The folders work is kept in: the program folder, and the user's folder when it is
    // another.
    QStringList folders() const;

private:
    void keepHere(const QByteArray &work, const QString &origin);

    QString programFolder;
    QString userFolder;
    QString kind;
    QString name;   // "recovery-3f9c0a1be2d47765.mpk"
    QString folder; // where the work goes now
    bool kept = false;
    std::unique_ptr<QLockFile> lock; // held from the first keeping to the end of the run
};

// Work a program left behind: one that was closed, or ended by a fault or a kill, before its
// work was saved.
struct LeftWork {
    QString path;     // the recovery file
    QByteArray work;  // its bytes
    QString origin;   // the file the work came from; empty for none
    QDateTime when;   // when it was kept
};

// What a look for left work found.
struct LeftWorkFound {
    std::optional<LeftWork> work;
    // Recovery files that could not be used, each set aside under a name with the date
    // ("unusable-recovery-3f9c0a1be2d47765-20261207-215000.mpk"): what the user is told of
    // them; empty for none.
    QString setAside;
};

// The newest work of `own`'s kind in its folders that no running program keeps, read and
// checked with `readable` (which says whether the bytes hold such work); `own` and the files
// of programs that run are never touched. A file larger than MaxRecoveryBytes, one that does
// not hold what its notes say (cut short, or written without them), one that cannot be read
// or is not such work, or one from another version of the program, is set aside. The work
// found stays until ForgetLeftWork.
LeftWorkFound FindLeftWork(const RecoveryFile &own, bool (*readable)(const QByteArray &));

// Removes the left work's files, once it was taken back or given up.
void ForgetLeftWork(const LeftWork &work);
